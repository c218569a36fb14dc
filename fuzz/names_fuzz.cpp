// Name mapping: every name a Linux directory can hold comes back to its
// exact bytes, and its UTF-16 form can never break a path or a log line.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/posix/posix_layer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  for (char& c : bytes) {
    if (c == '\0' || c == '/') c = 'x';
  }
  const std::u16string name = platform::name_from_bytes(bytes);
  if (platform::bytes_from_name(name) != bytes) std::abort();
  for (char16_t c : name) {
    if (c < 0x20 || c == u'\\' || c == u'/' || c == u':' || c == u'*' || c == u'?' || c == u'"' || c == u'<' ||
        c == u'>' || c == u'|') {
      std::abort();
    }
  }
  return 0;
}
