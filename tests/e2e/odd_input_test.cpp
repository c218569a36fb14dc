// Trees and command lines that have hung, looped or crashed programs of this
// kind: each run ends normally with the right result.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "e2e/expected.h"
#include "e2e/runner.h"
#include "support/fixture.h"
#include "support/special_files.h"

namespace {

using namespace e2e;

const std::string FOUND = "See kelvane.log file for log (UTF8)\n";

class odd_input : public testing::Test {
 protected:
  void SetUp() override {
    // Wine lists links and FIFOs as files, maps names and arguments through
    // its code page, and makes no mounts.
    if (under_wine()) GTEST_SKIP() << "Linux file system and command line only";
  }

  run_result run(std::vector<std::string> args) {
    run_result r = run_kelvane(run_options{std::move(args), {{'d', d_.path()}}, start_.path()});
    EXPECT_EQ(r.exit_code, 0);
    return r;
  }

  fixture::temp_dir start_;
  fixture::temp_dir d_;
};

TEST_F(odd_input, a_command_line_of_any_bytes_is_read_and_never_rejected) {
  const struct {
    std::vector<std::string> args;
    std::string settings_lines;
  } cases[] = {
      {{"", ""}, settings("0", "")},
      {{"\xFF\xFE\x80",
        "\xE2\x82\xAC"
        "9"},
       settings("0", "")},
      {{std::string(100000, '7'), std::string(100000, '9')}, settings("2147483647", "")},
      {{"\xC3\xA9\x01\x7F", "\t\n-0"}, settings("0", "")},
  };
  for (const auto& c : cases) {
    const run_result r = run(c.args);
    EXPECT_EQ(after_banner(r), USAGE + c.settings_lines + "no files at all\r\n");
  }
  // Letters among other bytes still select their drive.
  const run_result r =
      run({"\xC3\xA9"
           "d\xFF",
           "5"});
  EXPECT_EQ(after_banner(r), USAGE + settings("5", "D: ") + progress("D:\\") + BLANK_LINE + "no files at all\r\n");
}

TEST_F(odd_input, names_that_no_windows_path_can_hold_are_logged_as_valid_utf8) {
  const struct {
    std::string name;
    std::string logged;
  } names[] = {
      {"bad\xFF", "bad\xEF\xBF\xBD"},
      {"a\\b",
       "a\xEF\x81\x9C"
       "b"},
      {"line\nfeed",
       "line\xEF\x80\x8A"
       "feed"},
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},
  };
  std::string log;
  std::string console;
  // Every name has a size of its own; the largest size is logged first.
  for (std::size_t i = 0; i < std::size(names); ++i) {
    const std::string content = fixture::pattern(100 + i, static_cast<unsigned>(i));
    fixture::write_file(d_ / "one" / names[i].name, content);
    fixture::write_file(d_ / "two" / names[i].name, content);
    const std::string record = "\r\n-- size=" + std::to_string(100 + i) + "\r\nD:\\two\\" + names[i].logged +
                               "\r\nD:\\one\\" + names[i].logged + "\r\n";
    log = record + log;
    console = comparing("100") + record + console;
  }
  const run_result r = run({"D", "100"});
  EXPECT_EQ(r.log, log);
  EXPECT_TRUE(r.out.ends_with(BLANK_LINE + "\n" + console + FOUND)) << r.out;
}

TEST_F(odd_input, links_fifos_sockets_and_cycles_are_not_followed) {
  const std::string content = fixture::pattern(1000, 3);
  fixture::write_file(d_ / "sub" / "copy1", content);
  fixture::write_file(d_ / "copy2", content);
  std::filesystem::create_directory_symlink("..", d_ / "sub" / "up");
  std::filesystem::create_directory_symlink(d_.path(), d_ / "sub" / "root");
  std::filesystem::create_symlink("/dev/zero", d_ / "zero");
  std::filesystem::create_symlink("copy2", d_ / "link_to_copy");
  ASSERT_EQ(mkfifo((d_ / "fifo").c_str(), 0644), 0);
  fixture::make_socket(d_ / "sock");

  const run_result r = run({"D", "0"});
  const std::string record = "\r\n-- size=1,000\r\nD:\\sub\\copy1\r\nD:\\copy2\r\n";
  EXPECT_EQ(after_banner(r), USAGE + settings("0", "D: ") + progress("D:\\") + progress("D:\\sub\\") + BLANK_LINE +
                                 "\n" + comparing("100") + record + FOUND);
  EXPECT_EQ(r.log, record);
}

TEST_F(odd_input, a_mount_inside_a_drive_is_not_entered) {
  std::filesystem::create_directories(d_ / "sub" / "loop");
  fixture::write_file(d_ / "file", "x");
  if (mount(d_.path().c_str(), (d_ / "sub" / "loop").c_str(), nullptr, MS_BIND, nullptr) != 0) {
    GTEST_SKIP() << "no bind mounts here";
  }
  const run_result r = run({"D", "0"});
  umount2((d_ / "sub" / "loop").c_str(), MNT_DETACH);
  EXPECT_EQ(after_banner(r),
            USAGE + settings("0", "D: ") + progress("D:\\") + progress("D:\\sub\\") + BLANK_LINE + "\nnothing found\n");
}

TEST_F(odd_input, a_tree_deeper_than_a_working_directory_can_be) {
  // 3000 levels of "d"; the walk stops where the path grows too long to be
  // made the working directory, and names that directory.
  int fd = open(d_.path().c_str(), O_RDONLY | O_DIRECTORY);
  for (int level = 0; level < 3000; ++level) {
    ASSERT_EQ(mkdirat(fd, "d", 0755), 0);
    const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY);
    close(fd);
    fd = next;
  }
  close(fd);
  const std::size_t root = std::filesystem::canonical(d_.path()).string().size();
  std::size_t entered = 0;  // levels below the root that can be entered
  while (root + 2 * (entered + 1) < 4096) ++entered;

  const run_result r = run({"D", "1"});
  std::string too_long = "D:\\";
  for (std::size_t i = 0; i <= entered; ++i) too_long += "d\\";
  std::size_t progress_lines = 0;
  for (std::size_t at = r.out.find("phase 1: "); at != std::string::npos; at = r.out.find("phase 1: ", at + 1)) {
    ++progress_lines;
  }
  EXPECT_EQ(progress_lines, entered + 1);
  EXPECT_TRUE(
      r.out.ends_with("\rcannot change directory to [" + too_long + "]\n" + BLANK_LINE + "no files at all\r\n"));
}

TEST_F(odd_input, a_directory_of_100000_files) {
  for (int i = 0; i < 100000; ++i) {
    const int fd = open((d_ / std::to_string(i)).c_str(), O_WRONLY | O_CREAT, 0644);
    ASSERT_GE(fd, 0);
    close(fd);
  }
  fixture::write_file(d_ / "50000", "twin");
  fixture::write_file(d_ / "7", "twin");
  const run_result r = run({"D", "1"});
  const std::string record = "\r\n-- size=4\r\nD:\\7\r\nD:\\50000\r\n";
  EXPECT_EQ(after_banner(r),
            USAGE + settings("1", "D: ") + progress("D:\\") + BLANK_LINE + "\n" + comparing("100") + record + FOUND);
}

TEST_F(odd_input, a_link_in_the_logs_place_is_removed_and_never_written_through) {
  fixture::temp_dir elsewhere;
  fixture::write_file(elsewhere / "precious", "keep me");
  std::filesystem::create_symlink(elsewhere / "precious", start_ / "kelvane.log");
  const std::string content = fixture::pattern(1000, 4);
  fixture::write_file(d_ / "a", content);
  fixture::write_file(d_ / "b", content);
  const run_result r = run({"D", "1000"});
  EXPECT_EQ(fixture::read_file(elsewhere / "precious"), "keep me");
  EXPECT_FALSE(std::filesystem::is_symlink(start_ / "kelvane.log"));
  EXPECT_EQ(r.log, "\r\n-- size=1,000\r\nD:\\b\r\nD:\\a\r\n");
}

}  // namespace
