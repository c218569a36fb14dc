// format_size: the digits of the number, grouped by three from the right.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "output/format_size.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::uint64_t value = 0;
  std::memcpy(&value, data, size < sizeof value ? size : sizeof value);
  const std::u16string text = format_size(value);
  std::string digits = value == 0 ? "" : std::to_string(value);
  std::string expected;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i != 0 && (digits.size() - i) % 3 == 0) expected += ',';
    expected += digits[i];
  }
  if (text != std::u16string(expected.begin(), expected.end())) std::abort();
  return 0;
}
