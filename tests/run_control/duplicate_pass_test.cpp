#include "run_control/duplicate_pass.h"

#include <gtest/gtest.h>

#include "scanner/scan_dir.h"
#include "support/capture.h"
#include "support/fixture.h"

namespace {

std::size_t open_descriptors() {
  std::size_t count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

// Every search, file handle and buffer is given back: a run over many groups
// ends with the descriptors it started with.
TEST(duplicate_pass, leaves_no_descriptor_open_after_many_groups) {
  fixture::temp_dir tree;
  fixture::temp_dir start;
  for (unsigned size = 1; size <= 40; ++size) {
    for (const char* copy : {"one", "two", "three"}) {
      fixture::write_file(tree / copy / std::to_string(size), fixture::pattern(size, size));
    }
    fixture::write_file(tree / "different" / std::to_string(size), fixture::pattern(size, size + 1000));
  }
  fixture::write_file(tree / "one" / "same_inode_0", "hard links cannot be opened together");
  std::filesystem::create_hard_link(tree / "one" / "same_inode_0", tree / "two" / "same_inode_1");

  const std::size_t before = open_descriptors();
  size_list sizes;
  size_map files_by_size;
  const std::u16string cur_dir = fixture::windows_form(start.path());
  int exit_code = -1;
  const std::string out = captured_output([&] {
    scan_dir(1, fixture::windows_form(tree.path()) + u"\\", sizes, files_by_size);
    exit_code = duplicate_pass(sizes, files_by_size, cur_dir + u"\\kelvane.log", cur_dir);
  });
  EXPECT_EQ(open_descriptors(), before);
  EXPECT_EQ(exit_code, 0);
  EXPECT_EQ(count_of(fixture::read_file(start / "kelvane.log"), "-- size="), 40);
  EXPECT_EQ(count_of(out, "cannot open file"), 1);
  EXPECT_EQ(std::filesystem::current_path(), start.path());
  std::filesystem::current_path("/");
}

}  // namespace
