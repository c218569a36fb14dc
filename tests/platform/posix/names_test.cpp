#include <gtest/gtest.h>

#include "platform/posix/posix_layer.h"

namespace {

TEST(name_from_bytes, maps_what_a_windows_name_cannot_hold) {
  const struct {
    std::string bytes;
    std::u16string name;
  } cases[] = {
      {"plain.bin", u"plain.bin"},
      {"caf\xC3\xA9", u"caf\u00e9"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"a\\b", u"a\uF05Cb"},
      {"line\nfeed", u"line\uF00Afeed"},
      {"q?\"*:<>|", u"q\uF03F\uF022\uF02A\uF03A\uF03C\uF03E\uF07C"},
      {"bad\xFF", u"bad\xDCFF"},
      {"\xC3", u"\xDCC3"},
      {"\xC0\xAF", u"\xDCC0\xDCAF"},
      {"\xED\xA0\x80", u"\xDCED\xDCA0\xDC80"},
      // A name that already holds a character standing for an escaped one
      // keeps its bytes raw, so that it cannot turn into a backslash.
      {"\xEF\x81\x9C", u"\xDCEF\xDC81\xDC9C"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::name_from_bytes(c.bytes), c.name) << c.bytes;
    EXPECT_EQ(platform::bytes_from_name(c.name), c.bytes) << c.bytes;
  }
}

TEST(name_from_bytes, every_byte_pair_goes_back_to_its_exact_bytes) {
  for (int first = 1; first < 256; ++first) {
    for (int second = 0; second < 256; second += 7) {
      // A name holds any byte but NUL and "/".
      if (first == '/' || second == '/') continue;
      std::string bytes{static_cast<char>(first), static_cast<char>(second), '\xA9', 'z'};
      if (second == 0) bytes.erase(1, 1);
      const std::u16string name = platform::name_from_bytes(bytes);
      EXPECT_EQ(platform::bytes_from_name(name), bytes);
      EXPECT_EQ(name.find_first_of(u"\\/\n\r:"), std::u16string::npos);
    }
  }
}

TEST(posix_path, maps_drive_less_and_relative_paths) {
  EXPECT_EQ(platform::posix_path(u"\\tmp\\a b\\c.bin"), "/tmp/a b/c.bin");
  EXPECT_EQ(platform::posix_path(u"\\tmp\\x\uF05Cy\\"), "/tmp/x\\y/");
  EXPECT_EQ(platform::posix_path(u"kelvane.log"), "kelvane.log");
  EXPECT_EQ(platform::posix_path(u"\\"), "/");
}

}  // namespace
