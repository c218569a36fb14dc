#include "output/print_console.h"

#include "platform/platform.h"

void print_console(std::u16string text) {
  const platform::HANDLE hdl = platform::GetStdHandle(platform::STD_OUTPUT_HANDLE);
  const std::size_t n = std::char_traits<char16_t>::length(text.c_str());
  platform::DWORD wr = 0;
  platform::WriteConsoleW(hdl, text.c_str(), static_cast<platform::DWORD>(n), &wr, nullptr);
}
