#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "platform/platform.h"
#include "platform/posix/posix_layer.h"
#include "support/fixture.h"
#include "support/special_files.h"

namespace {

std::vector<std::u16string> listing(const std::filesystem::path& directory) {
  std::vector<std::u16string> names;
  platform::WIN32_FIND_DATAW entry;
  const std::u16string pattern = fixture::windows_form(directory) + u"\\*";
  const platform::HANDLE search = platform::FindFirstFileW(pattern.c_str(), &entry);
  if (search == platform::INVALID_HANDLE_VALUE) return names;
  do {
    const bool is_directory = (entry.dwFileAttributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0;
    names.push_back(std::u16string(entry.cFileName) + (is_directory ? u"\\" : u""));
  } while (platform::FindNextFileW(search, &entry) != platform::FALSE);
  platform::FindClose(search);
  return names;
}

TEST(FindFirstFileW, lists_in_case_insensitive_order_with_ties_by_code_unit) {
  fixture::temp_dir dir;
  for (const char* name : {"b", "B", "a", "_x", "Zeta", "alpha", "Alpha", "a1", "\xC3\xA9t\xC3\xA9", "E"}) {
    fixture::write_file(dir / name, "");
  }
  std::filesystem::create_directory(dir / "Mid");
  const std::vector<std::u16string> expected = {u"a",     u"a1",   u"Alpha", u"alpha",        u"B", u"b", u"E",
                                                u"Mid\\", u"Zeta", u"_x",    u"\u00e9t\u00e9"};
  EXPECT_EQ(listing(dir.path()), expected);
}

TEST(FindFirstFileW, lists_only_directories_and_regular_files) {
  fixture::temp_dir dir;
  fixture::write_file(dir / "file", "12345");
  std::filesystem::create_directory(dir / "sub");
  std::filesystem::create_symlink("file", dir / "link_to_file");
  std::filesystem::create_directory_symlink(".", dir / "link_to_dir");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0644), 0);
  fixture::make_socket(dir / "sock");

  EXPECT_EQ(listing(dir.path()), (std::vector<std::u16string>{u"file", u"sub\\"}));
}

TEST(FindFirstFileW, gives_the_full_64_bit_size) {
  fixture::temp_dir dir;
  fixture::write_file(dir / "big", "");
  std::filesystem::resize_file(dir / "big", 0x123456789ULL);  // sparse, takes no space
  platform::WIN32_FIND_DATAW entry;
  const std::u16string pattern = fixture::windows_form(dir.path()) + u"\\*";
  const platform::HANDLE search = platform::FindFirstFileW(pattern.c_str(), &entry);
  ASSERT_NE(search, platform::INVALID_HANDLE_VALUE);
  EXPECT_EQ(entry.nFileSizeHigh, 1u);
  EXPECT_EQ(entry.nFileSizeLow, 0x23456789u);
  platform::FindClose(search);
}

TEST(FindFirstFileW, an_empty_directory_has_nothing_to_list) {
  fixture::temp_dir dir;
  platform::WIN32_FIND_DATAW entry;
  const std::u16string pattern = fixture::windows_form(dir.path()) + u"\\*";
  EXPECT_EQ(platform::FindFirstFileW(pattern.c_str(), &entry), platform::INVALID_HANDLE_VALUE);
}

TEST(SetCurrentDirectoryW, enters_a_directory_and_reports_it_back) {
  fixture::temp_dir dir;
  std::filesystem::create_directory(dir / "inner");
  const std::u16string inner = fixture::windows_form(dir / "inner");
  ASSERT_NE(platform::SetCurrentDirectoryW((inner + u"\\").c_str()), platform::FALSE);
  const platform::DWORD length = platform::GetCurrentDirectoryW(0, nullptr);
  std::vector<char16_t> buffer(length);
  EXPECT_EQ(platform::GetCurrentDirectoryW(length, buffer.data()), length - 1);
  const std::u16string reported(buffer.data());
  EXPECT_EQ(reported.substr(1, 2), u":\\");
  EXPECT_EQ(platform::posix_path(reported), std::filesystem::canonical(dir / "inner").string());

  EXPECT_EQ(platform::SetCurrentDirectoryW((inner + u"\\missing\\").c_str()), platform::FALSE);
  EXPECT_EQ(platform::GetLastError(), platform::ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(platform::SetCurrentDirectoryW((inner + u"\\missing\\deeper\\").c_str()), platform::FALSE);
  EXPECT_EQ(platform::GetLastError(), platform::ERROR_PATH_NOT_FOUND);
  std::filesystem::current_path("/");
}

TEST(GetCurrentDirectoryW, names_a_removed_start_directory_by_a_path_that_leads_nowhere) {
  fixture::temp_dir dir;
  std::filesystem::create_directory(dir / "gone");
  std::filesystem::current_path(dir / "gone");
  std::filesystem::remove(dir / "gone");
  const platform::DWORD length = platform::GetCurrentDirectoryW(0, nullptr);
  ASSERT_GT(length, 1u);
  std::vector<char16_t> buffer(length);
  platform::GetCurrentDirectoryW(length, buffer.data());
  const std::u16string reported(buffer.data());
  std::filesystem::current_path("/");
  EXPECT_TRUE(reported.ends_with(u"\\gone (deleted)")) << std::string(reported.begin(), reported.end());
  EXPECT_EQ(platform::SetCurrentDirectoryW(reported.c_str()), platform::FALSE);
}

}  // namespace
