// Pieces of the platform layer shared by its implementations.
#pragma once

#include <cstdarg>
#include <cstddef>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "platform/test_seam.h"

namespace platform {

// Expands the format directives that wprintf and swprintf understand.
std::u16string format_text(const char16_t* format, std::va_list args);

// Whether text[at] and text[at + 1] are one character's surrogate pair.
inline bool is_surrogate_pair(std::u16string_view text, std::size_t at) {
  return at + 1 < text.size() && text[at] >= 0xD800 && text[at] <= 0xDBFF && text[at + 1] >= 0xDC00 &&
         text[at + 1] <= 0xDFFF;
}

// UTF-8 form of UTF-16 code units; a lone surrogate becomes U+FFFD.
void append_utf8(std::string& out, std::u16string_view text);

// The one buffer both console channels write through, so that their texts
// keep the order in which they were written. It is written out when a text
// ends with a carriage return or a line feed, and at exit.
void put_console_bytes(std::string_view bytes);
// Writes out what the buffer holds, before a text that bypasses it.
void flush_console_bytes();
// Whether the tests have taken the console's bytes for themselves.
bool console_is_captured();

// Writes bytes to the process's standard output (one per implementation).
void write_standard_output(const char* data, std::size_t size);

// The test seam, where the hooked operations ask it. True when this call of
// the operation is to fail, with error set to the code to report.
bool injected_failure(test_seam::operation which, DWORD& error);
void run_before_read_open();

}  // namespace platform
