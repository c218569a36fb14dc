#include "platform/windows/windows_layer.h"

namespace platform {

namespace {

bool is_console(::HANDLE handle) {
  ::DWORD mode = 0;
  return ::GetConsoleMode(handle, &mode) != 0;
}

// On a console the formatted channel's bytes are characters U+0000 to U+00FF.
void write_bytes(const char* data, std::size_t size) {
  const ::HANDLE out = ::GetStdHandle(STD_OUTPUT_HANDLE);
  if (is_console(out)) {
    const std::u16string text(reinterpret_cast<const unsigned char*>(data),
                              reinterpret_cast<const unsigned char*>(data) + size);
    ::DWORD count = 0;
    ::WriteConsoleW(out, system_text(text.c_str()), static_cast<::DWORD>(text.size()), &count, nullptr);
    return;
  }
  while (size > 0) {
    ::DWORD count = 0;
    if (::WriteFile(out, data, static_cast<::DWORD>(size), &count, nullptr) == 0 || count == 0) return;
    data += count;
    size -= count;
  }
}

}  // namespace

HANDLE GetStdHandle(DWORD which) { return ::GetStdHandle(which); }

// A console gets the text itself; redirected output gets its UTF-8 bytes
// through the shared buffer, the same bytes as on Linux. Either way the
// error code of the caller's previous operation survives: the log writer
// reads it after the echo.
BOOL WriteConsoleW(HANDLE console, const char16_t* text, DWORD length, DWORD* written, void*) {
  const ::DWORD error = ::GetLastError();
  BOOL ok = TRUE;
  ::DWORD count = length;
  if (!console_is_captured() && is_console(console)) {
    flush_console_bytes();
    ok = ::WriteConsoleW(console, system_text(text), length, &count, nullptr);
  } else {
    std::string bytes;
    append_utf8(bytes, std::u16string_view(text, length));
    put_console_bytes(bytes);
  }
  if (written != nullptr) *written = count;
  ::SetLastError(error);
  return ok;
}

void write_standard_output(const char* data, std::size_t size) {
  const ::DWORD error = ::GetLastError();
  write_bytes(data, size);
  ::SetLastError(error);
}

}  // namespace platform
