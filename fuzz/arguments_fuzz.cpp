// The minimal-size conversion against an independent reading of the same
// rules, and the drive selection: only the letters of the list, in upper case.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "run_control/arguments.h"

namespace {

std::int64_t expected_value(const std::string& text) {
  std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
  if (i == std::string::npos) return 0;
  const bool negative = text[i] == '-';
  if (text[i] == '-' || text[i] == '+') ++i;
  const std::size_t digits_end = text.find_first_not_of("0123456789", i);
  std::string digits = text.substr(i, digits_end == std::string::npos ? std::string::npos : digits_end - i);
  digits.erase(0, std::min(digits.find_first_not_of('0'), digits.size()));
  if (digits.empty()) return 0;
  if (digits.size() > 10 || std::stoll(digits) > (negative ? 2147483648LL : 2147483647LL)) {
    return negative ? -2147483648LL : 2147483647LL;
  }
  return negative ? -std::stoll(digits) : std::stoll(digits);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::string argument = text.substr(0, text.find('\0'));
  if (argument_to_int(argument.c_str()) != expected_value(argument)) std::abort();

  drive_flags drives{};
  select_drives(argument.c_str(), drives);
  for (int code = 0; code < 256; ++code) {
    const bool letter = code >= 'A' && code <= 'Z';
    const bool listed = letter && (argument.find(static_cast<char>(code)) != std::string::npos ||
                                   argument.find(static_cast<char>(code - 'A' + 'a')) != std::string::npos);
    if (drives[code] != (listed ? 1 : 0)) std::abort();
  }
  return 0;
}
