#include "output/format_size.h"

#include <gtest/gtest.h>

namespace {

struct size_case {
  std::uint64_t size;
  std::u16string text;
};

TEST(format_size, groups_digits_in_threes) {
  const size_case cases[] = {
      {0, u""},
      {7, u"7"},
      {999, u"999"},
      {1000, u"1,000"},
      {1001, u"1,001"},
      {100000, u"100,000"},
      {999999, u"999,999"},
      {1000000, u"1,000,000"},
      {1000005, u"1,000,005"},
      {1000048, u"1,000,048"},
      {1048576, u"1,048,576"},
      {1000000000, u"1,000,000,000"},
      {123456789012, u"123,456,789,012"},
      {1000000000000000000ULL, u"1,000,000,000,000,000,000"},
      {18446744073709551615ULL, u"18,446,744,073,709,551,615"},
  };
  for (const size_case& c : cases) EXPECT_EQ(format_size(c.size), c.text) << c.size;
}

}  // namespace
