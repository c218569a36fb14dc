#include "verifier/check_group.h"

#include <gtest/gtest.h>

#include "support/capture.h"
#include "support/fixture.h"

namespace {

std::string utf8(const std::u16string& ascii) { return std::string(ascii.begin(), ascii.end()); }

class check_group_test : public testing::Test {
 protected:
  std::u16string file(const std::string& name, unsigned seed) {
    fixture::write_file(dir_ / name, fixture::pattern(4096, seed));
    return fixture::windows_form(dir_ / name);
  }
  std::u16string log_path() const { return fixture::windows_form(dir_ / "kelvane.log"); }
  std::string log() const { return fixture::read_file(dir_ / "kelvane.log"); }

  bool check(path_group& group, std::string& out) {
    bool result = false;
    out = captured_output([&] { result = check_group(log_path(), group, 4096, u"4,096"); });
    return result;
  }

  fixture::temp_dir dir_;
};

TEST_F(check_group_test, logs_the_reference_and_its_copies_in_group_order) {
  const std::u16string x = file("x.bin", 1), y = file("y.bin", 2), z = file("z.bin", 1), w = file("w.bin", 1);
  path_group group = {x, y, z, w};
  std::string out;
  EXPECT_TRUE(check(group, out));
  EXPECT_EQ(count_of(out, "comparing..."), 5);
  EXPECT_EQ(group, path_group{y});
  const std::string record = "\r\n-- size=4,096\r\n" + utf8(x) + "\r\n" + utf8(z) + "\r\n" + utf8(w) + "\r\n";
  EXPECT_EQ(log(), record);

  EXPECT_FALSE(check(group, out));
  EXPECT_EQ(out, "");
  EXPECT_EQ(group, path_group{y});
}

TEST_F(check_group_test, a_reference_without_copies_leaves_the_others_in_order) {
  const std::u16string a = file("a", 1), b = file("b", 2), c = file("c", 2);
  path_group group = {a, b, c};
  std::string out;
  EXPECT_FALSE(check(group, out));
  EXPECT_EQ(count_of(out, "comparing..."), 2);
  EXPECT_EQ(group, (path_group{b, c}));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "kelvane.log"));

  EXPECT_TRUE(check(group, out));
  EXPECT_TRUE(group.empty());
  EXPECT_EQ(log(), "\r\n-- size=4,096\r\n" + utf8(b) + "\r\n" + utf8(c) + "\r\n");
}

TEST_F(check_group_test, groups_of_fewer_than_two_paths_are_left_alone) {
  for (path_group group : {path_group{}, path_group{file("only", 1)}}) {
    const path_group before = group;
    std::string out;
    EXPECT_FALSE(check(group, out));
    EXPECT_EQ(out, "");
    EXPECT_EQ(group, before);
  }
  EXPECT_FALSE(std::filesystem::exists(dir_ / "kelvane.log"));
}

TEST_F(check_group_test, an_unopenable_reference_is_named_for_every_other_path) {
  const std::u16string gone = fixture::windows_form(dir_ / "gone");
  const std::u16string a = file("a", 1), b = file("b", 1);
  path_group group = {gone, a, b};
  std::string out;
  EXPECT_FALSE(check(group, out));
  EXPECT_EQ(out, "cannot open file " + utf8(gone) + "\ncannot open file " + utf8(gone) + "\n");
  EXPECT_EQ(group, (path_group{a, b}));
}

}  // namespace
