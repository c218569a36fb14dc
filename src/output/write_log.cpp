#include "output/write_log.h"

#include <cstring>

#include "output/print_console.h"
#include "platform/platform.h"

namespace {

constexpr int OUT_SIZE = 10240;

// The file is closed first, so the error code is taken before the close.
void close_after_failed_write(platform::HANDLE f_h, const std::u16string& log_path) {
  const platform::DWORD code = platform::GetLastError();
  platform::CloseHandle(f_h);
  platform::wprintf(u"unable to write file [%s], GetLastError: %08X\n", log_path.c_str(), code);
}

}  // namespace

void write_log(std::u16string log_path, std::u16string text) {
  const platform::HANDLE f_h = platform::CreateFileW(log_path.c_str(), platform::GENERIC_WRITE, 0, nullptr,
                                                     platform::OPEN_ALWAYS, platform::FILE_ATTRIBUTE_NORMAL, nullptr);
  print_console(text);
  if (f_h == platform::INVALID_HANDLE_VALUE) {
    platform::wprintf(u"unable to create file [%s], GetLastError: %08X\n", log_path.c_str(), platform::GetLastError());
    return;
  }
  platform::SetFilePointer(f_h, 0, nullptr, platform::FILE_END);

  char out_UTF8[OUT_SIZE];
  if (platform::WideCharToMultiByte(platform::CP_UTF8, 0, text.c_str(), -1, out_UTF8, OUT_SIZE, nullptr, nullptr) ==
      0) {
    close_after_failed_write(f_h, log_path);
    return;
  }
  const platform::DWORD count = static_cast<platform::DWORD>(std::strlen(out_UTF8));
  platform::DWORD wr = 0;
  if (platform::WriteFile(f_h, out_UTF8, count, &wr, nullptr) == platform::FALSE || wr != count) {
    close_after_failed_write(f_h, log_path);
    return;
  }
  platform::CloseHandle(f_h);
}
