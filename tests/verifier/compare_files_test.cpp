#include "verifier/compare_files.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/test_seam.h"
#include "support/capture.h"
#include "support/fixture.h"

namespace {

struct compare_case {
  const char* what;
  std::string first;
  std::string second;
  std::uint64_t size;  // as the walk recorded it
  bool identical;
  std::string console;
};

std::string progress(const char* percent) { return std::string("comparing... ") + percent + "%\r"; }

TEST(compare_files, reads_in_step_and_shows_each_block_pair) {
  const std::string half = fixture::pattern(1500000, 1);
  std::string last_byte_differs = half;
  last_byte_differs.back() ^= 1;
  std::string first_byte_differs = half;
  first_byte_differs.front() ^= 1;
  const std::string mib = fixture::pattern(BUF_SIZE, 2);
  const std::string two_mib = fixture::pattern(2 * BUF_SIZE, 3);
  const std::string small = fixture::pattern(1000, 4);

  const compare_case cases[] = {
      {"shorter than a block", small, small, 1000, true, progress("100")},
      {"one block exactly", mib, mib, BUF_SIZE, true, progress("100") + progress("100")},
      {"two blocks exactly", two_mib, two_mib, 2 * BUF_SIZE, true, progress(" 50") + progress("100") + progress("100")},
      {"differ in the first block", first_byte_differs, half, 1500000, false, progress(" 70")},
      {"differ in the last byte", last_byte_differs, half, 1500000, false, progress(" 70") + progress("100")},
      {"both grew", small + "x", small + "x", 100, true, progress("1001")},
      {"both shrank", small, small, 4000, true, progress(" 25")},
      {"both emptied", "", "", 1000, true, progress("  0")},
      {"empty files of size 0", "", "", 0, true, progress("100")},
      {"one file shrank", small, small.substr(0, 999), 1000, false, ""},
      {"one file grew past a block", mib + "x", mib, BUF_SIZE, false, progress("100")},
  };
  for (const compare_case& c : cases) {
    fixture::temp_dir dir;
    fixture::write_file(dir / "one", c.first);
    fixture::write_file(dir / "two", c.second);
    bool result = !c.identical;
    const std::string out = captured_output([&] {
      result = compare_files(fixture::windows_form(dir / "one"), fixture::windows_form(dir / "two"), c.size);
    });
    EXPECT_EQ(result, c.identical) << c.what;
    EXPECT_EQ(out, c.console) << c.what;
  }
}

TEST(compare_files, names_the_first_file_that_cannot_be_opened_and_closes_the_other) {
  fixture::temp_dir dir;
  fixture::write_file(dir / "here", "same");
  fixture::write_file(dir / "also", "same");
  std::filesystem::create_hard_link(dir / "here", dir / "link");
  const std::u16string here = fixture::windows_form(dir / "here");
  const std::u16string also = fixture::windows_form(dir / "also");
  const std::u16string gone = fixture::windows_form(dir / "gone");
  const std::u16string link = fixture::windows_form(dir / "link");
  const auto utf8 = [](const std::u16string& path) { return std::string(path.begin(), path.end()); };

  const struct {
    std::u16string path1, path2;
    std::string console;
  } cases[] = {
      {gone, here, "cannot open file " + utf8(gone) + "\n"},
      {here, gone, "cannot open file " + utf8(gone) + "\n"},
      {gone, gone, "cannot open file " + utf8(gone) + "\n"},
      {here, link, "cannot open file " + utf8(link) + "\n"},
  };
  for (const auto& c : cases) {
    bool result = true;
    EXPECT_EQ(captured_output([&] { result = compare_files(c.path1, c.path2, 4); }), c.console);
    EXPECT_FALSE(result);
    // Nothing stays open: the files can be compared again at once.
    bool again = false;
    captured_output([&] { again = compare_files(here, also, 4); });
    EXPECT_TRUE(again);
  }
}

// A group whose files differ early is compared with itself again and again;
// blocks that earlier comparisons found to differ are not read again, with
// the same result and progress text.
TEST(compare_files, does_not_read_again_what_it_knows_to_differ) {
  fixture::temp_dir dir;
  std::u16string paths[3];
  for (unsigned i = 0; i < 3; ++i) {
    const std::string name = std::to_string(i);
    fixture::write_file(dir / name, fixture::pattern(1500000, i));
    paths[i] = fixture::windows_form(dir / name);
  }
  bool result = true;
  EXPECT_EQ(captured_output([&] { result = compare_files(paths[0], paths[1], 1500000); }), progress(" 70"));
  captured_output([&] { result = compare_files(paths[0], paths[2], 1500000); });

  // Any read from now on would fail and be named.
  platform::test_seam::fail_call(platform::test_seam::operation::read_file, 1, 1117);
  EXPECT_EQ(captured_output([&] { result = compare_files(paths[1], paths[2], 1500000); }), progress(" 70"));
  EXPECT_FALSE(result);
  platform::test_seam::fail_call(platform::test_seam::operation::read_file, 0, 0);

  // A file that has changed since is read again: now it is a copy. File
  // times move in clock ticks, so the change waits for the next one.
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  fixture::write_file(dir / "2", fixture::pattern(1500000, 1));
  EXPECT_EQ(captured_output([&] { result = compare_files(paths[1], paths[2], 1500000); }),
            progress(" 70") + progress("100"));
  EXPECT_TRUE(result);
}

}  // namespace
