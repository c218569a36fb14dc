// Test helper: holds a file open without sharing, as another program would
// hold the log, until told to let go.
//   hold_file PATH   opens PATH for writing (share mode 0), writes PATH.held
//                    and waits until PATH.held is removed, then closes PATH.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/platform.h"

int main(int, char* argv[]) {
  if (argv[1] == nullptr) return 2;
  const std::string path = argv[1];
  const std::u16string wide(path.begin(), path.end());
  const platform::HANDLE held = platform::CreateFileW(wide.c_str(), platform::GENERIC_WRITE, 0, nullptr,
                                                      platform::OPEN_ALWAYS, platform::FILE_ATTRIBUTE_NORMAL, nullptr);
  if (held == platform::INVALID_HANDLE_VALUE) return 1;
  const std::string marker = path + ".held";
  std::ofstream(marker).put('1');
  while (std::filesystem::exists(marker)) std::this_thread::sleep_for(std::chrono::milliseconds(10));
  platform::CloseHandle(held);
  return 0;
}
