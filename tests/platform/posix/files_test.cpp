#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "output/write_log.h"
#include "platform/platform.h"
#include "support/capture.h"
#include "support/fixture.h"

namespace {

platform::HANDLE open_read(const std::u16string& path) {
  return platform::CreateFileW(path.c_str(), platform::GENERIC_READ, 0, nullptr, platform::OPEN_EXISTING,
                               platform::FILE_ATTRIBUTE_NORMAL, nullptr);
}

TEST(CreateFileW, without_sharing_keeps_every_other_open_of_the_file_out) {
  fixture::temp_dir dir;
  fixture::write_file(dir / "a", "data");
  std::filesystem::create_hard_link(dir / "a", dir / "hard");
  const std::u16string a = fixture::windows_form(dir / "a");
  const std::u16string hard = fixture::windows_form(dir / "hard");

  const platform::HANDLE first = open_read(a);
  ASSERT_NE(first, platform::INVALID_HANDLE_VALUE);
  EXPECT_EQ(open_read(a), platform::INVALID_HANDLE_VALUE);
  EXPECT_EQ(platform::GetLastError(), platform::ERROR_SHARING_VIOLATION);
  EXPECT_EQ(open_read(hard), platform::INVALID_HANDLE_VALUE);
  EXPECT_EQ(platform::GetLastError(), platform::ERROR_SHARING_VIOLATION);
  platform::CloseHandle(first);

  const platform::HANDLE again = open_read(hard);
  EXPECT_NE(again, platform::INVALID_HANDLE_VALUE);
  platform::CloseHandle(again);
}

TEST(CreateFileW, opens_only_regular_files_and_never_through_a_link) {
  fixture::temp_dir dir;
  fixture::write_file(dir / "file", "data");
  std::filesystem::create_symlink(dir / "file", dir / "link");
  std::filesystem::create_symlink("/dev/zero", dir / "zero");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0644), 0);
  std::filesystem::create_directory(dir / "sub");
  for (const char* name : {"link", "zero", "fifo", "sub", "missing"}) {
    EXPECT_EQ(open_read(fixture::windows_form(dir / name)), platform::INVALID_HANDLE_VALUE) << name;
  }
  EXPECT_EQ(platform::GetLastError(), platform::ERROR_FILE_NOT_FOUND);

  const std::u16string log = fixture::windows_form(dir / "link");
  EXPECT_EQ(platform::CreateFileW(log.c_str(), platform::GENERIC_WRITE, 0, nullptr, platform::OPEN_ALWAYS,
                                  platform::FILE_ATTRIBUTE_NORMAL, nullptr),
            platform::INVALID_HANDLE_VALUE);
  EXPECT_EQ(fixture::read_file(dir / "file"), "data");
}

TEST(WideCharToMultiByte, writes_utf8_with_its_zero_byte_and_replaces_lone_surrogates) {
  const struct {
    std::u16string text;
    std::string bytes;
  } cases[] = {
      {u"", std::string(1, '\0')},
      {u"\u00e9", std::string("\xC3\xA9\0", 3)},
      {u"\U0001F600", std::string("\xF0\x9F\x98\x80\0", 5)},
      {u"a\xD800z", std::string("a\xEF\xBF\xBDz\0", 6)},
      {u"\xDCFF", std::string("\xEF\xBF\xBD\0", 4)},
  };
  for (const auto& c : cases) {
    char out[16];
    const int n = platform::WideCharToMultiByte(platform::CP_UTF8, 0, c.text.c_str(), -1, out, 16, nullptr, nullptr);
    EXPECT_EQ(std::string(out, static_cast<std::size_t>(n)), c.bytes);
  }
  char small[3];
  EXPECT_EQ(platform::WideCharToMultiByte(platform::CP_UTF8, 0, u"\u00e9\u00e9", -1, small, 3, nullptr, nullptr), 0);
  EXPECT_EQ(platform::GetLastError(), platform::ERROR_INSUFFICIENT_BUFFER);
}

TEST(write_log, refuses_a_log_that_is_not_a_regular_file) {
  if (access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  const std::string out = captured_output([] { write_log(u"\\dev\\full", u"x\n"); });
  EXPECT_EQ(out, "x\nunable to create file [\\dev\\full], GetLastError: 00000005\r\n");
}

}  // namespace
