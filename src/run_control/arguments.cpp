#include "run_control/arguments.h"

#include "platform/platform.h"

namespace {

bool is_space(unsigned char c) { return c == ' ' || (c >= 9 && c <= 13); }
bool is_digit(unsigned char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::int32_t argument_to_int(const char* argument) {
  const unsigned char* p = reinterpret_cast<const unsigned char*>(argument);
  while (is_space(*p)) ++p;
  bool negative = false;
  if (*p == '-' || *p == '+') negative = *p++ == '-';
  const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
  std::int64_t value = 0;
  for (; is_digit(*p); ++p) {
    value = value * 10 + (*p - '0');
    if (value > limit) value = limit;
  }
  return static_cast<std::int32_t>(negative ? -value : value);
}

void select_drives(const char* list, drive_flags& drives) {
  for (const unsigned char* p = reinterpret_cast<const unsigned char*>(list); *p != 0; ++p) {
    if (*p >= 'a' && *p <= 'z') {
      drives[*p - 'a' + 'A'] = 1;
    } else if (*p >= 'A' && *p <= 'Z') {
      drives[*p] = 1;
    }
  }
}

void probe_fixed_drives(drive_flags& drives) {
  for (char16_t letter = u'A'; letter <= u'Z'; ++letter) {
    char16_t root[8];
    platform::swprintf(root, 8, u"%c:\\", letter);
    if (platform::GetDriveTypeW(root) == platform::DRIVE_FIXED) drives[letter] = 1;
  }
}
