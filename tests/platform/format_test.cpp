#include <gtest/gtest.h>

#include "platform/platform.h"
#include "support/capture.h"

namespace {

std::u16string formatted(const char16_t* format, double value) {
  char16_t buffer[64];
  platform::swprintf(buffer, 64, format, value);
  return buffer;
}

TEST(swprintf, rounds_percentages_to_nearest_with_ties_to_even) {
  const struct {
    double value;
    std::u16string text;
  } cases[] = {
      {0.0, u"  0"},
      {12.5, u" 12"},
      {37.5, u" 38"},
      {34.95, u" 35"},
      {69.9, u" 70"},
      {99.5, u"100"},
      {100.0, u"100"},
      {0.5, u"  0"},
      {1.5, u"  2"},
      {1234.4, u"1234"},
      {1e21, u"1000000000000000000000"},
  };
  for (const auto& c : cases) EXPECT_EQ(formatted(u"%3.0f", c.value), c.text) << c.value;
}

TEST(swprintf, formats_the_directives_the_program_uses) {
  char16_t buffer[128];
  platform::swprintf(buffer, 128, u"%s|%c|%I64d|%08X|%u|%03u|%03u|%%", u"k\u00e9", u'D', -9000000000LL, 5u, 7u, 7u,
                     123u);
  EXPECT_EQ(std::u16string(buffer), u"k\u00e9|D|-9000000000|00000005|7|007|123|%");
  platform::swprintf(buffer, 128, u"%08X %I64d", 0xDEADBEEFu, 2147483647LL);
  EXPECT_EQ(std::u16string(buffer), u"DEADBEEF 2147483647");
}

TEST(swprintf, refuses_a_text_longer_than_the_buffer) {
  char16_t buffer[4];
  EXPECT_LT(platform::swprintf(buffer, 4, u"%u", 12345u), 0);
  EXPECT_EQ(platform::swprintf(buffer, 4, u"%u", 123u), 3);
  EXPECT_EQ(std::u16string(buffer), u"123");
}

TEST(wprintf, writes_one_byte_per_character_and_line_feeds_as_crlf) {
  const std::string out = captured_output([] {
    platform::wprintf(u"[%s]\n", u"a\u00e9\u0391\u4e2d\U0001F600b");
    platform::wprintf(u"x\ry\n");
  });
  EXPECT_EQ(out, "[a\xE9???b]\r\nx\ry\r\n");
}

TEST(console_channels, keep_the_order_in_which_they_were_written) {
  const std::string out = captured_output([] {
    platform::wprintf(u"comparing... %3.0f%%\r", 50.0);
    platform::DWORD written = 0;
    const std::u16string text = u"\u00e9\r\n";
    platform::WriteConsoleW(platform::GetStdHandle(platform::STD_OUTPUT_HANDLE), text.c_str(), 3, &written, nullptr);
    platform::wprintf(u"tail\n");
  });
  EXPECT_EQ(out, "comparing...  50%\r\xC3\xA9\r\ntail\r\n");
}

}  // namespace
