#include "e2e/expected.h"

#include <gtest/gtest.h>

#include <regex>

#include "support/fixture.h"

namespace e2e {

const std::string USAGE =
    "\r\n"
    "usage:\r\n"
    "  kelvane <list of drives to scan> <minimal file size in bytes>\r\n"
    "\r\n"
    "if drives list is not mentioned, only local fixed disks will be scanned\r\n"
    "default minimal file size (if not mentioned) is one megabyte\r\n"
    "\r\n"
    "examples:\r\n"
    "  kelvane\r\n"
    "  kelvane C\r\n"
    "  kelvane CDE\r\n"
    "  kelvane F 100000\r\n"
    "\r\n";

const std::string BLANK_LINE = std::string(78, ' ') + "\n";

std::string settings(const std::string& min_size, const std::string& drives) {
  return "assuming minimal file size: " + min_size + " bytes\r\nwe will scan these drives: " + drives + "\r\n";
}

std::string progress(const std::string& path) { return "phase 1: " + path + std::string(63 - path.size(), ' ') + "\r"; }

std::string comparing(const char* percent) { return std::string("comparing... ") + percent + "%\r"; }

std::string after_banner(const run_result& result) {
  static const std::regex banner("kelvane / <[^<>\r\n]+@[^<>\r\n]+> / [^\r\n]+\r\n");
  const std::size_t end = result.out.find("\r\n");
  EXPECT_NE(end, std::string::npos);
  const std::string first_line = result.out.substr(0, end + 2);
  EXPECT_TRUE(std::regex_match(first_line, banner)) << first_line;
  return result.out.substr(end + 2);
}

std::string shown(const std::filesystem::path& path) {
  const std::u16string form = fixture::windows_form(path);
  return (e2e::under_wine() ? "Z:" : "") + std::string(form.begin(), form.end());
}

std::string every_text_unlogged(const std::vector<std::string>& texts, const std::string& failure) {
  std::string out;
  for (const std::string& text : texts) out += text + failure;
  return out;
}

}  // namespace e2e
