#pragma once

#include <cstdint>
#include <string>

#include "scanner/size_index.h"

// Walks one directory and everything below it, depth first, recording every
// file of at least min_size bytes; path ends with a backslash.
void scan_dir(std::uint64_t min_size, std::u16string path, size_list& sizes, size_map& files_by_size);
