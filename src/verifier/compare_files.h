#pragma once

#include <cstdint>
#include <string>

inline constexpr std::uint32_t BUF_SIZE = 1048576;

// True when both files open and hold the same bytes, read block by block.
bool compare_files(std::u16string path1, std::u16string path2, std::uint64_t size);
