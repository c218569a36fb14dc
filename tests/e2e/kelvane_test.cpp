// The whole program, run as a user runs it, compared byte for byte.
#include <gtest/gtest.h>

#include "e2e/expected.h"
#include "e2e/runner.h"
#include "support/fixture.h"

namespace {

using e2e::run_kelvane;
using e2e::run_options;
using e2e::run_result;
using namespace e2e;

class kelvane_run : public testing::Test {
 protected:
  run_result run(std::vector<std::string> args, std::map<char, std::filesystem::path> drives, bool as_nobody = false) {
    run_options options{std::move(args), std::move(drives), start_.path(), as_nobody};
    run_result result = run_kelvane(options);
    EXPECT_EQ(result.exit_code, 0);
    return result;
  }

  fixture::temp_dir start_;
  fixture::temp_dir d_, e_, f_;
};

TEST_F(kelvane_run, walks_the_listed_drives_in_alphabetical_order) {
  std::filesystem::create_directory(d_ / "sub");
  const run_result r = run({"fEd", "0"}, {{'d', d_.path()}, {'e', e_.path()}, {'f', f_.path()}});
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(after_banner(r), USAGE + settings("0", "D: E: F: ") + progress("D:\\") + progress("D:\\sub\\") +
                                 BLANK_LINE + progress("E:\\") + BLANK_LINE + progress("F:\\") + BLANK_LINE +
                                 "no files at all\r\n");
  EXPECT_FALSE(r.log);
}

TEST_F(kelvane_run, without_arguments_walks_every_fixed_drive_for_files_of_a_megabyte) {
  if (e2e::under_wine()) GTEST_SKIP() << "Wine's own drives C: and Z: are fixed drives too";
  fixture::write_file(d_ / "small.bin", std::string(999999, 's'));
  const run_result r = run({}, {{'d', d_.path()}, {'q', d_ / "small.bin"}});
  EXPECT_EQ(after_banner(r),
            USAGE + settings("1000000", "D: ") + progress("D:\\") + BLANK_LINE + "no files at all\r\n");
  EXPECT_EQ(r.exit_code, 0);
}

TEST_F(kelvane_run, names_a_drive_that_does_not_exist_and_goes_on) {
  const run_result r = run({"MD"}, {{'d', d_.path()}});
  EXPECT_EQ(after_banner(r), USAGE + settings("1000000", "D: M: ") + progress("D:\\") + BLANK_LINE +
                                 "cannot change directory to [M:\\]\n" + BLANK_LINE + "no files at all\r\n");
  EXPECT_EQ(r.exit_code, 0);
}

TEST_F(kelvane_run, a_list_without_letters_selects_no_drive) {
  for (const char* list : {"", "123", "\xC3\xA9\xFF"}) {
    const run_result r = run({list, "-5"}, {{'d', d_.path()}});
    EXPECT_EQ(after_banner(r), USAGE + settings("0", "") + "no files at all\r\n") << list;
    EXPECT_EQ(r.exit_code, 0);
  }
}

TEST_F(kelvane_run, reads_the_minimal_size_only_with_a_drive_list_before_it) {
  const struct {
    std::vector<std::string> args;
    std::string shown;
  } cases[] = {
      {{"D"}, "1000000"},
      {{"D", "  42abc"}, "42"},
      {{"D", "+7", "ignored", "too"}, "7"},
      {{"D", "2147483648"}, "2147483647"},
      {{"D", "99999999999999999999999"}, "2147483647"},
      {{"D", "-99999999999"}, "0"},
      {{"D", "- 3"}, "0"},
      {{"D", "size"}, "0"},
  };
  for (const auto& c : cases) {
    const run_result r = run(c.args, {{'d', d_.path()}});
    EXPECT_EQ(after_banner(r), USAGE + settings(c.shown, "D: ") + progress("D:\\") + BLANK_LINE + "no files at all\r\n")
        << c.args[c.args.size() > 1 ? 1 : 0];
  }
}

TEST_F(kelvane_run, records_files_of_exactly_the_minimal_size_and_skips_dot_directories) {
  const std::string at_min = fixture::pattern(5000, 1);
  const std::string below = fixture::pattern(4999, 2);
  fixture::write_file(d_ / "a" / "min1", at_min);
  fixture::write_file(d_ / "b" / ".min2", at_min);
  fixture::write_file(d_ / "a" / "below1", below);
  fixture::write_file(d_ / "b" / "below2", below);
  fixture::write_file(d_ / ".git" / "min3", at_min);
  fixture::write_file(d_ / "..data" / "min4", at_min);

  const run_result r = run({"d", "5000"}, {{'d', d_.path()}});
  const std::string record = "\r\n-- size=5,000\r\nD:\\b\\.min2\r\nD:\\a\\min1\r\n";
  EXPECT_EQ(after_banner(r), USAGE + settings("5000", "D: ") + progress("D:\\") + progress("D:\\a\\") +
                                 progress("D:\\b\\") + BLANK_LINE + "\n" + comparing("100") + record +
                                 "See kelvane.log file for log (UTF8)\n");
  EXPECT_EQ(r.log, record);
}

TEST_F(kelvane_run, finds_the_road_of_one_duplicate) {
  const std::string content = fixture::pattern(3000000, 7);
  fixture::write_file(d_ / "a" / "x.bin", content);
  fixture::write_file(d_ / "b" / "y.bin", content);
  const run_result r = run({"D", "100000"}, {{'d', d_.path()}});
  const std::string record = "\r\n-- size=3,000,000\r\nD:\\b\\y.bin\r\nD:\\a\\x.bin\r\n";
  EXPECT_EQ(after_banner(r), USAGE + settings("100000", "D: ") + progress("D:\\") + progress("D:\\a\\") +
                                 progress("D:\\b\\") + BLANK_LINE + "\n" + comparing(" 35") + comparing(" 70") +
                                 comparing("100") + record + "See kelvane.log file for log (UTF8)\n");
  EXPECT_EQ(r.log, record);
  EXPECT_EQ(r.exit_code, 0);
}

TEST_F(kelvane_run, a_group_without_copies_leaves_no_log) {
  for (unsigned i = 0; i < 4; ++i)
    fixture::write_file(d_ / std::string{'f', static_cast<char>('0' + i)}, fixture::pattern(2000, i));
  fixture::write_file(start_ / "kelvane.log", "from an earlier run");
  const run_result r = run({"D", "2000"}, {{'d', d_.path()}});
  EXPECT_EQ(after_banner(r), USAGE + settings("2000", "D: ") + progress("D:\\") + BLANK_LINE + "\n" + comparing("100") +
                                 comparing("100") + comparing("100") + comparing("100") + comparing("100") +
                                 comparing("100") + "nothing found\n");
  EXPECT_FALSE(r.log);
}

TEST_F(kelvane_run, logs_the_sizes_from_the_largest_down_across_drives) {
  const std::string small = fixture::pattern(1000, 1);
  const std::string large = fixture::pattern(2000, 2);
  fixture::write_file(d_ / "s1", small);
  fixture::write_file(e_ / "l1", large);
  fixture::write_file(e_ / "s2", small);
  fixture::write_file(e_ / "s3", small);
  fixture::write_file(d_ / "l2", large);
  fixture::write_file(d_ / "other", fixture::pattern(2000, 3));
  const run_result r = run({"DE", "1000"}, {{'d', d_.path()}, {'e', e_.path()}});
  const std::string log =
      "\r\n-- size=2,000\r\nE:\\l1\r\nD:\\l2\r\n"
      "\r\n-- size=1,000\r\nE:\\s3\r\nE:\\s2\r\nD:\\s1\r\n";
  EXPECT_EQ(r.log, log);
  EXPECT_TRUE(after_banner(r).ends_with("See kelvane.log file for log (UTF8)\n"));
}

TEST_F(kelvane_run, with_minimal_size_0_logs_empty_files_under_an_empty_size) {
  fixture::write_file(d_ / "e1", "");
  fixture::write_file(d_ / "e2", "");
  const run_result r = run({"D", "0"}, {{'d', d_.path()}});
  const std::string record = "\r\n-- size=\r\nD:\\e2\r\nD:\\e1\r\n";
  EXPECT_EQ(after_banner(r), USAGE + settings("0", "D: ") + progress("D:\\") + BLANK_LINE + "\n" + comparing("100") +
                                 record + "See kelvane.log file for log (UTF8)\n");
  EXPECT_EQ(r.log, record);
}

TEST_F(kelvane_run, shortens_long_paths_and_shows_names_unchanged_on_the_console) {
  const std::string name = "\xCE\xB1\xCE\xB2\xE4\xB8\xAD";  // Greek and Chinese letters
  const std::string deep = std::string(40, 'd') + "/" + std::string(30, 'e');
  fixture::write_file(d_ / deep / name, fixture::pattern(100, 1));
  fixture::write_file(d_ / deep / (name + "2"), fixture::pattern(100, 1));
  const run_result r = run({"D", "100"}, {{'d', d_.path()}});
  const std::string dir = "D:\\" + std::string(40, 'd') + "\\" + std::string(30, 'e') + "\\";
  const std::string shown = "D:\\..." + dir.substr(dir.size() - 57);
  const std::string record = "\r\n-- size=100\r\n" + dir + name + "2\r\n" + dir + name + "\r\n";
  EXPECT_EQ(after_banner(r), USAGE + settings("100", "D: ") + progress("D:\\") +
                                 progress("D:\\" + std::string(40, 'd') + "\\") + "phase 1: " + shown + "\r" +
                                 BLANK_LINE + "\n" + comparing("100") + record +
                                 "See kelvane.log file for log (UTF8)\n");
  EXPECT_EQ(r.log, record);
}

TEST_F(kelvane_run, names_a_reference_it_cannot_open_for_every_other_path) {
  if (!e2e::can_run_as_nobody()) GTEST_SKIP() << "needs root and setpriv, and the Linux build";
  std::filesystem::permissions(start_.path(), std::filesystem::perms(0777));
  const std::string content = fixture::pattern(1000, 1);
  fixture::write_file(d_ / "a", content);
  fixture::write_file(d_ / "b", content);
  fixture::write_file(d_ / "c", content);
  std::filesystem::permissions(d_ / "c", std::filesystem::perms::none);
  const run_result r = run({"D", "1000"}, {{'d', d_.path()}}, true);
  const std::string record = "\r\n-- size=1,000\r\nD:\\b\r\nD:\\a\r\n";
  EXPECT_EQ(after_banner(r), USAGE + settings("1000", "D: ") + progress("D:\\") + BLANK_LINE + "\n" +
                                 "cannot open file D:\\c\ncannot open file D:\\c\n" + comparing("100") + record +
                                 "See kelvane.log file for log (UTF8)\n");
  EXPECT_EQ(r.log, record);
}

TEST_F(kelvane_run, echoes_every_text_when_the_log_cannot_be_created) {
  if (!e2e::can_run_as_nobody()) GTEST_SKIP() << "needs root and setpriv, and the Linux build";
  const std::string content = fixture::pattern(1000, 1);
  fixture::write_file(d_ / "a", content);
  fixture::write_file(d_ / "b", content);
  const run_result r = run({"D", "1000"}, {{'d', d_.path()}}, true);
  const std::u16string log_path = fixture::windows_form(start_ / "kelvane.log");
  const std::string failure =
      "unable to create file [" + std::string(log_path.begin(), log_path.end()) + "], GetLastError: 00000005\r\n";
  std::string echoed;
  for (const char* text : {"\r\n", "-- size=", "1,000", "\r\n", "D:\\b", "\r\n", "D:\\a", "\r\n"}) {
    echoed += text + failure;
  }
  EXPECT_EQ(after_banner(r), USAGE + settings("1000", "D: ") + progress("D:\\") + BLANK_LINE + "\n" + comparing("100") +
                                 echoed + "See kelvane.log file for log (UTF8)\n");
  EXPECT_FALSE(r.log);
  EXPECT_EQ(r.exit_code, 0);
}

TEST_F(kelvane_run, a_directory_that_cannot_be_entered_or_listed) {
  if (!e2e::can_run_as_nobody()) GTEST_SKIP() << "needs root and setpriv, and the Linux build";
  std::filesystem::permissions(start_.path(), std::filesystem::perms(0777));
  fixture::write_file(d_ / "closed" / "x", "x");
  fixture::write_file(d_ / "unlisted" / "y", "y");
  fixture::write_file(d_ / "z" / "z", "z");
  std::filesystem::permissions(d_ / "closed", std::filesystem::perms::none);
  std::filesystem::permissions(d_ / "unlisted", std::filesystem::perms(0111));
  const run_result r = run({"D", "0"}, {{'d', d_.path()}}, true);
  EXPECT_EQ(after_banner(r), USAGE + settings("0", "D: ") + progress("D:\\") +
                                 "cannot change directory to [D:\\closed\\]\n" + progress("D:\\unlisted\\") +
                                 progress("D:\\z\\") + BLANK_LINE + "\n" + "nothing found\n");
  EXPECT_FALSE(r.log);
}

// A directory in the log's place cannot be opened as the log, on either
// platform (access denied); the message shows the log's full path.
TEST_F(kelvane_run, a_start_directory_at_a_drive_root_doubles_the_backslash) {
  std::filesystem::create_directory(start_ / "kelvane.log");
  const std::string content = fixture::pattern(1000, 1);
  fixture::write_file(d_ / "a", content);
  fixture::write_file(d_ / "b", content);
  const run_result r = run({"D", "1000"}, {{'d', d_.path()}, {'s', start_.path()}});
  const std::string failure = "unable to create file [S:\\\\kelvane.log], GetLastError: 00000005\r\n";
  EXPECT_EQ(after_banner(r),
            USAGE + settings("1000", "D: ") + progress("D:\\") + BLANK_LINE + "\n" + comparing("100") +
                every_text_unlogged({"\r\n", "-- size=", "1,000", "\r\n", "D:\\b", "\r\n", "D:\\a", "\r\n"}, failure) +
                "See kelvane.log file for log (UTF8)\n");
  EXPECT_TRUE(std::filesystem::is_directory(start_ / "kelvane.log"));
}

TEST_F(kelvane_run, shows_characters_above_u00ff_as_question_marks_in_formatted_text_only) {
  const std::filesystem::path greek = start_ / std::filesystem::u8path("\xCE\xB1\xCE\xB2\xE4\xB8\xAD");
  std::filesystem::create_directories(greek / "kelvane.log");
  const std::string content = fixture::pattern(1000, 1);
  fixture::write_file(d_ / "\xCE\xB1", content);
  fixture::write_file(d_ / "\xCE\xB2", content);
  const run_result r = run_kelvane(run_options{{"D", "1000"}, {{'d', d_.path()}}, greek, false});
  const std::string failure =
      "unable to create file [" + shown(start_.path()) + "\\???\\kelvane.log], GetLastError: 00000005\r\n";
  EXPECT_EQ(after_banner(r),
            USAGE + settings("1000", "D: ") + progress("D:\\") + BLANK_LINE + "\n" + comparing("100") +
                every_text_unlogged(
                    {"\r\n", "-- size=", "1,000", "\r\n", "D:\\\xCE\xB2", "\r\n", "D:\\\xCE\xB1", "\r\n"}, failure) +
                "See kelvane.log file for log (UTF8)\n");
}

TEST_F(kelvane_run, a_log_held_by_another_process_is_a_sharing_violation) {
  const std::string content = fixture::pattern(1000, 1);
  fixture::write_file(d_ / "a", content);
  fixture::write_file(d_ / "b", content);
  fixture::write_file(start_ / "kelvane.log", "held");
  run_result r;
  {
    const e2e::file_holder holder(start_ / "kelvane.log");
    r = run({"D", "1000"}, {{'d', d_.path()}});
  }
  const std::string failure =
      "unable to create file [" + shown(start_ / "kelvane.log") + "], GetLastError: 00000020\r\n";
  EXPECT_EQ(after_banner(r),
            USAGE + settings("1000", "D: ") + progress("D:\\") + BLANK_LINE + "\n" + comparing("100") +
                every_text_unlogged({"\r\n", "-- size=", "1,000", "\r\n", "D:\\b", "\r\n", "D:\\a", "\r\n"}, failure) +
                "See kelvane.log file for log (UTF8)\n");
  EXPECT_EQ(r.log, "held");
}

}  // namespace
