// Path mapping: an absolute Linux path, shown the Windows way through the
// drive table, maps back to the same path.
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
  if (!back || *back != path) std::abort();
  return 0;
}
