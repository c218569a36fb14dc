#include "output/format_size.h"

#include "platform/platform.h"

std::u16string format_size(std::uint64_t size) {
  std::u16string result;
  std::uint64_t rest = size;
  bool first = true;
  char16_t buffer[128];
  for (std::uint64_t divisor = 1000000000000000000ULL;; divisor /= 1000) {
    const std::uint64_t q = rest / divisor;
    if (q != 0 || !first) {
      platform::swprintf(buffer, 128, first ? u"%u" : u"%03u", static_cast<unsigned int>(q));
      result += buffer;
      if (divisor != 1) result += u",";
      rest -= q * divisor;
      first = false;
    }
    if (divisor == 1) return result;
  }
}
