#include "output/write_log.h"

#include <gtest/gtest.h>

#include "support/capture.h"
#include "support/fixture.h"

namespace {

TEST(write_log, appends_each_text_as_utf8_and_echoes_it) {
  const struct {
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {u"-- size=", "-- size="},
      {u"1,048,576", "1,048,576"},
      {u"\r\n", "\r\n"},
      {u"", ""},
      {u"\u00e9", "\xC3\xA9"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {u"lone\xDC80", "lone\xEF\xBF\xBD"},
  };
  fixture::temp_dir dir;
  const std::u16string log_path = fixture::windows_form(dir / "kelvane.log");
  std::string expected;
  for (const auto& c : cases) {
    // The echo is flushed with the next line end; the last case shows it.
    const std::string out = captured_output([&] {
      write_log(log_path, c.text);
      write_log(log_path, u"\n");
    });
    expected += c.bytes + "\n";
    EXPECT_EQ(out, c.bytes + "\n");
    EXPECT_EQ(fixture::read_file(dir / "kelvane.log"), expected);
  }
}

TEST(write_log, an_empty_text_still_creates_the_log) {
  fixture::temp_dir dir;
  EXPECT_EQ(captured_output([&] { write_log(fixture::windows_form(dir / "kelvane.log"), u""); }), "");
  EXPECT_TRUE(std::filesystem::exists(dir / "kelvane.log"));
  EXPECT_EQ(fixture::read_file(dir / "kelvane.log"), "");
}

TEST(write_log, keeps_what_the_log_held_before) {
  fixture::temp_dir dir;
  fixture::write_file(dir / "kelvane.log", "earlier\r\n");
  captured_output([&] { write_log(fixture::windows_form(dir / "kelvane.log"), u"later\r\n"); });
  EXPECT_EQ(fixture::read_file(dir / "kelvane.log"), "earlier\r\nlater\r\n");
}

TEST(write_log, reports_a_log_that_cannot_be_created_after_the_echo) {
  fixture::temp_dir dir;
  const std::u16string log_path = fixture::windows_form(dir / "missing" / "kelvane.log");
  const std::string out = captured_output([&] { write_log(log_path, u"text\r\n"); });
  EXPECT_EQ(out, "text\r\nunable to create file [" + std::string(log_path.begin(), log_path.end()) +
                     "], GetLastError: 00000003\r\n");
}

}  // namespace
