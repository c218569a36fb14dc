#include "run_control/arguments.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(argument_to_int, reads_like_atoi_saturated_to_32_bits) {
  const struct {
    const char* argument;
    std::int32_t value;
  } cases[] = {
      {"100000", 100000},
      {"0", 0},
      {"-5", -5},
      {"  42abc", 42},
      {"\t\n\v\f\r 9", 9},
      {"+7", 7},
      {"abc", 0},
      {"", 0},
      {"- 3", 0},
      {"+-3", 0},
      {"--3", 0},
      {"2147483647", 2147483647},
      {"2147483648", 2147483647},
      {"99999999999999999999999999", 2147483647},
      {"-2147483648", -2147483647 - 1},
      {"-99999999999999999999", -2147483647 - 1},
      {"0000000000000000000000012", 12},
      {"12 34", 12},
      {"\xB2", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(argument_to_int(c.argument), c.value) << '"' << c.argument << '"';
}

std::string selected(const char* list) {
  drive_flags drives{};
  select_drives(list, drives);
  std::string letters;
  for (int code = 0; code < 256; ++code) {
    EXPECT_LE(drives[code], 1);
    if (drives[code] != 0) {
      EXPECT_TRUE(code >= 'A' && code <= 'Z') << code;
      letters += static_cast<char>(code);
    }
  }
  return letters;
}

TEST(select_drives, every_letter_anywhere_selects_its_drive_once) {
  const struct {
    const char* list;
    const char* letters;
  } cases[] = {
      {"cde", "CDE"}, {"EDC", "CDE"},       {"c:", "C"}, {"CCC", "C"},       {"CD-ROM", "CDMOR"},
      {"0123", ""},   {"\xC3\xA9\xFF", ""}, {"", ""},    {"c:\\d e", "CDE"}, {"zZa", "AZ"},
  };
  for (const auto& c : cases) EXPECT_EQ(selected(c.list), c.letters) << '"' << c.list << '"';
}

}  // namespace

namespace {

// C: is the system's drive on both platforms (on Linux the filesystem at /);
// A: and B: are never assigned.
TEST(probe_fixed_drives, selects_fixed_drives_and_no_letter_without_a_drive) {
  drive_flags drives{};
  probe_fixed_drives(drives);
  EXPECT_EQ(drives['C'], 1);
  EXPECT_EQ(drives['A'], 0);
  EXPECT_EQ(drives['B'], 0);
  for (int code = 0; code < 256; ++code) {
    if (code < 'A' || code > 'Z') {
      EXPECT_EQ(drives[code], 0) << code;
    }
  }
}

}  // namespace
