#pragma once

#include <cstdint>
#include <string>

#include "scanner/size_index.h"

// Takes the group's first path as reference, logs it with every identical
// path as one record and removes them from the group. True when a copy was
// found.
bool check_group(std::u16string log_path, path_group& group, std::uint64_t size, std::u16string size_text);
