#pragma once

#include <array>
#include <cstdint>

// One flag per character code; only "A" to "Z" are ever set.
using drive_flags = std::array<unsigned char, 256>;

// The minimal-size argument read as atoi reads it, saturated to 32 bits.
std::int32_t argument_to_int(const char* argument);

// Every ASCII letter anywhere in the list selects its drive, in upper case.
void select_drives(const char* list, drive_flags& drives);

// Selects every letter whose drive is a fixed disk.
void probe_fixed_drives(drive_flags& drives);
