#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <string>

// The size index that the walk fills and the duplicate pass consumes: every
// recorded file's size, and the paths of each size, the one found last first.
using size_list = std::list<std::uint64_t>;
using path_group = std::list<std::u16string>;
using size_map = std::map<std::uint64_t, path_group>;
