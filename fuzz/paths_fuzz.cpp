// Path mapping: an absolute Linux path, shown the Windows way through the
// drive table, maps back to the same path; the root of a drive comes back
// with its trailing slash ("D:\\" is "/mnt/d/").
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/posix/posix_layer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string path = "/" + std::string(reinterpret_cast<const char*>(data), size);
  for (char& c : path) {
    if (c == '\0') c = 'x';
  }
  const std::u16string shown = platform::windows_path(path);
  const std::optional<std::string> back = platform::posix_path(shown);
  const bool drive_root = shown.size() == 3 && shown[1] == u':';
  if (!back || (*back != path && !(drive_root && *back == path + "/"))) std::abort();
  return 0;
}
