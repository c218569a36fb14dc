#include "scanner/scan_dir.h"

#include <gtest/gtest.h>

#include "support/capture.h"
#include "support/fixture.h"

namespace {

std::string utf8(const std::u16string& ascii) { return std::string(ascii.begin(), ascii.end()); }

struct walk {
  size_list sizes;
  size_map files_by_size;
  std::string console;
};

walk scan(std::uint64_t min_size, const std::u16string& path) {
  walk w;
  w.console = captured_output([&] { scan_dir(min_size, path, w.sizes, w.files_by_size); });
  return w;
}

TEST(scan_dir, shows_each_directory_in_63_characters) {
  fixture::temp_dir dir;
  const std::u16string base = fixture::windows_form(dir.path()) + u"\\";
  // One directory per length from 59 to 64, each in its own branch.
  std::vector<std::u16string> paths;
  for (std::size_t length = 59; length <= 64; ++length) {
    const std::string name = std::to_string(length) + std::string(length - base.size() - 3, 'n');
    std::filesystem::create_directory(dir / name);
    paths.push_back(base + std::u16string(name.begin(), name.end()) + u"\\");
    ASSERT_EQ(paths.back().size(), length);
  }
  const walk w = scan(0, base);

  const std::u16string& p61 = paths[2];
  const std::u16string& p64 = paths[5];
  const std::vector<std::string> shown = {
      utf8(paths[0]) + "    ",
      utf8(paths[1]) + "   ",
      utf8(p61.substr(0, 3)) + "..." + utf8(p61.substr(4)),
      utf8(paths[3].substr(0, 3)) + "..." + utf8(paths[3].substr(5)),
      utf8(paths[4].substr(0, 3)) + "..." + utf8(paths[4].substr(6)),
      utf8(p64.substr(0, 3)) + "..." + utf8(p64.substr(7)),
  };
  std::string expected = "phase 1: " + utf8(base) + std::string(63 - base.size(), ' ') + "\r";
  for (const std::string& text : shown) {
    EXPECT_EQ(text.size(), 63u);
    expected += "phase 1: " + text + "\r";
  }
  EXPECT_EQ(w.console, expected);
}

TEST(scan_dir, records_files_of_at_least_min_size_the_one_found_last_first) {
  fixture::temp_dir dir;
  fixture::write_file(dir / "a" / "A.bin", std::string(100, 'a'));
  fixture::write_file(dir / "b" / "B.bin", std::string(100, 'b'));
  fixture::write_file(dir / "b" / "small", std::string(99, 'b'));
  fixture::write_file(dir / ".profile", std::string(100, 'p'));
  fixture::write_file(dir / ".git" / "hidden", std::string(100, 'g'));
  fixture::write_file(dir / "..data" / "hidden", std::string(100, 'g'));
  // Listed after two subdirectories: the parent's listing goes on.
  fixture::write_file(dir / "c.bin", std::string(100, 'c'));
  fixture::write_file(dir / "z" / "big", std::string(200, 'z'));
  const std::u16string base = fixture::windows_form(dir.path()) + u"\\";

  const walk w = scan(100, base);
  EXPECT_EQ(w.sizes, (size_list{200, 100, 100, 100, 100}));
  const size_map expected = {
      {100, {base + u"c.bin", base + u"b\\B.bin", base + u"a\\A.bin", base + u".profile"}},
      {200, {base + u"z\\big"}},
  };
  EXPECT_EQ(w.files_by_size, expected);
  EXPECT_EQ(count_of(w.console, "phase 1: "), 4);
  EXPECT_EQ(count_of(w.console, ".git"), 0);
  // The walk leaves the working directory where it last went.
  EXPECT_EQ(std::filesystem::current_path(), std::filesystem::canonical(dir / "z"));
  std::filesystem::current_path("/");
}

TEST(scan_dir, records_a_file_of_4_gib_or_more_with_its_whole_size) {
  fixture::temp_dir dir;
  fixture::write_file(dir / "huge", "");
  std::filesystem::resize_file(dir / "huge", 0x100000005ULL);  // sparse, takes no space
  fixture::write_file(dir / "small", std::string(5, 's'));
  const walk w = scan(0x100000000ULL, fixture::windows_form(dir.path()) + u"\\");
  EXPECT_EQ(w.sizes, size_list{0x100000005ULL});
  std::filesystem::current_path("/");
}

TEST(scan_dir, with_min_size_0_records_empty_files) {
  fixture::temp_dir dir;
  fixture::write_file(dir / "empty", "");
  const walk w = scan(0, fixture::windows_form(dir.path()) + u"\\");
  EXPECT_EQ(w.sizes, size_list{0});
  std::filesystem::current_path("/");
}

TEST(scan_dir, names_a_directory_it_cannot_enter_and_records_nothing_below) {
  fixture::temp_dir dir;
  const std::u16string missing = fixture::windows_form(dir / "missing") + u"\\";
  const walk w = scan(0, missing);
  EXPECT_EQ(w.console, "cannot change directory to [" + utf8(missing) + "]\n");
  EXPECT_TRUE(w.sizes.empty());
}

}  // namespace
