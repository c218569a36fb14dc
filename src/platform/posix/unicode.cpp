#include <cstring>

#include "platform/layer.h"
#include "platform/posix/posix_layer.h"

namespace platform {

// Only UTF-8 is known; a lone surrogate becomes U+FFFD, as the Windows
// conversion does without flags.
int WideCharToMultiByte(UINT code_page, DWORD, const char16_t* text, int length, char* out, int out_size, const char*,
                        BOOL*) {
  if (code_page != CP_UTF8 || text == nullptr || out_size < 0) {
    set_last_error(87);  // ERROR_INVALID_PARAMETER
    return 0;
  }
  const std::size_t units =
      length < 0 ? std::char_traits<char16_t>::length(text) + 1 : static_cast<std::size_t>(length);
  std::string bytes;
  append_utf8(bytes, std::u16string_view(text, units));
  if (out_size == 0) return static_cast<int>(bytes.size());
  if (bytes.size() > static_cast<std::size_t>(out_size)) {
    set_last_error(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::memcpy(out, bytes.data(), bytes.size());
  return static_cast<int>(bytes.size());
}

}  // namespace platform
