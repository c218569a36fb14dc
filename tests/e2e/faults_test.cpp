// Runs on bad input and under faults: every one says what happened, goes on,
// and never loses or invents a result.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include "e2e/expected.h"
#include "e2e/runner.h"
#include "support/fixture.h"

namespace {

using namespace e2e;

const std::string FOUND = "See kelvane.log file for log (UTF8)\n";

// The cases that change files from a shell, or count allocations, which
// differ between the C++ runtimes, are the Linux build's alone.
#define SKIP_UNDER_WINE(why) \
  if (under_wine()) GTEST_SKIP() << why

class faulty_run : public testing::Test {
 protected:
  run_result run(std::vector<std::string> args, std::map<std::string, std::string> faults = {}) {
    return run_kelvane(run_options{std::move(args), {{'d', d_.path()}}, start_.path(), false, std::move(faults)});
  }

  // Two identical files found in the order x, then y: y is the reference.
  void make_pair(std::uint64_t size) {
    const std::string content = fixture::pattern(size, 9);
    fixture::write_file(d_ / "a" / "x.bin", content);
    fixture::write_file(d_ / "b" / "y.bin", content);
  }

  std::string walk_of_pair() const {
    return progress("D:\\") + progress("D:\\a\\") + progress("D:\\b\\") + BLANK_LINE + "\n";
  }

  fixture::temp_dir start_;
  fixture::temp_dir d_;
};

const std::string PAIR_RECORD_2000 = "\r\n-- size=2,000\r\nD:\\b\\y.bin\r\nD:\\a\\x.bin\r\n";

TEST_F(faulty_run, a_read_error_is_named_and_the_pair_is_not_called_identical) {
  make_pair(3000000);
  const run_result r = run({"D", "1000"}, {{"KELVANE_TEST_FAULTS", "read_file:3:1117"}});
  EXPECT_EQ(after_banner(r), USAGE + settings("1000", "D: ") + walk_of_pair() + comparing(" 35") +
                                 "cannot read file D:\\b\\y.bin\nnothing found\n");
  EXPECT_FALSE(r.log);
  EXPECT_EQ(r.exit_code, 0);
}

TEST_F(faulty_run, buffers_that_cannot_be_had_are_named) {
  make_pair(2000);
  const run_result r = run({"D", "1000"}, {{"KELVANE_TEST_FAULTS", "malloc:2:0"}});
  EXPECT_EQ(after_banner(r),
            USAGE + settings("1000", "D: ") + walk_of_pair() + "not enough memory to compare files\nnothing found\n");
  EXPECT_EQ(r.exit_code, 0);
}

TEST_F(faulty_run, a_full_disk_under_the_log_is_reported_for_the_text_it_cut) {
  make_pair(2000);
  const run_result r = run({"D", "1000"}, {{"KELVANE_TEST_FAULTS", "write_file:5:112"}});
  const std::string failure =
      "unable to write file [" + shown(start_ / "kelvane.log") + "], GetLastError: 00000070\r\n";
  EXPECT_EQ(after_banner(r), USAGE + settings("1000", "D: ") + walk_of_pair() + comparing("100") +
                                 "\r\n-- size=2,000\r\nD:\\b\\y.bin" + failure + "\r\nD:\\a\\x.bin\r\n" + FOUND);
  // Half of the reference's path reached the disk before it filled up.
  EXPECT_EQ(r.log, "\r\n-- size=2,000\r\nD:\\b\\\r\nD:\\a\\x.bin\r\n");
}

TEST_F(faulty_run, memory_running_out_in_the_walk_stops_the_run_with_one_line) {
  SKIP_UNDER_WINE("allocations are counted in the Linux build");
  for (int i = 0; i < 1500; ++i) fixture::write_file(d_ / std::to_string(i), "same");
  const run_result r = run({"D", "1"}, {{"KELVANE_TEST_FAULTS", "new:3000:0"}});
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_TRUE(r.out.ends_with(progress("D:\\") + "not enough memory to go on, the run is stopped\n")) << r.out;
  EXPECT_FALSE(r.log);
}

TEST_F(faulty_run, files_changed_between_the_walk_and_the_comparison) {
  SKIP_UNDER_WINE("the files are changed from a Linux shell");
  const std::string start_of_pass = USAGE + settings("2000", "D: ") + walk_of_pair();
  const struct {
    const char* what;
    std::string command;
    std::string console;
    std::optional<std::string> log;
  } cases[] = {
      {"the reference removed", "rm b/y.bin", "cannot open file D:\\b\\y.bin\nnothing found\n", std::nullopt},
      {"the copy truncated", "truncate -s 1000 a/x.bin", "nothing found\n", std::nullopt},
      {"both grown alike", "for f in a/x.bin b/y.bin; do head -c 1000 /dev/zero >> $f; done",
       comparing("150") + PAIR_RECORD_2000 + FOUND, PAIR_RECORD_2000},
      {"the copy replaced by a FIFO", "rm a/x.bin && mkfifo a/x.bin", "cannot open file D:\\a\\x.bin\nnothing found\n",
       std::nullopt},
      {"the copy replaced by a link to /dev/zero", "rm a/x.bin && ln -s /dev/zero a/x.bin",
       "cannot open file D:\\a\\x.bin\nnothing found\n", std::nullopt},
      {"the copy replaced by a link to the reference", "rm a/x.bin && ln -s ../b/y.bin a/x.bin",
       "cannot open file D:\\a\\x.bin\nnothing found\n", std::nullopt},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(d_ / "a");
    std::filesystem::remove_all(d_ / "b");
    std::filesystem::remove(start_ / "kelvane.log");
    make_pair(2000);
    const std::string command = "cd '" + d_.path().string() + "' && " + c.command;
    const run_result r = run({"D", "2000"}, {{"KELVANE_TEST_BEFORE_COMPARE", command}});
    EXPECT_EQ(after_banner(r), start_of_pass + c.console) << c.what;
    EXPECT_EQ(r.log, c.log) << c.what;
    EXPECT_EQ(r.exit_code, 0) << c.what;
  }
}

TEST_F(faulty_run, a_start_directory_that_is_gone_at_the_end_is_named) {
  SKIP_UNDER_WINE("the directory is removed from a Linux shell");
  fixture::temp_dir outer;
  const std::filesystem::path start = outer / "start";
  std::filesystem::create_directory(start);
  fixture::write_file(d_ / "a" / "x.bin", fixture::pattern(2000, 1));
  fixture::write_file(d_ / "b" / "y.bin", fixture::pattern(2000, 2));
  const run_result r = run_kelvane(run_options{{"D", "2000"},
                                               {{'d', d_.path()}},
                                               start,
                                               false,
                                               {{"KELVANE_TEST_BEFORE_COMPARE", "rmdir '" + start.string() + "'"}}});
  EXPECT_EQ(after_banner(r), USAGE + settings("2000", "D: ") + walk_of_pair() + comparing("100") +
                                 "cannot change directory to [" + shown(start) + "]\nnothing found\n");
  EXPECT_EQ(r.exit_code, 0);
}

}  // namespace
