#pragma once

#include <cstdint>
#include <string>

// A byte count in groups of three digits separated by commas; 0 gives "".
std::u16string format_size(std::uint64_t size);
