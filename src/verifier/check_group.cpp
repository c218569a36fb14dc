#include "verifier/check_group.h"

#include "output/write_log.h"
#include "verifier/compare_files.h"

namespace {

void write_header(const std::u16string& log_path, const std::u16string& size_text, const std::u16string& ref) {
  write_log(log_path, u"\r\n");
  write_log(log_path, u"-- size=");
  write_log(log_path, size_text);
  write_log(log_path, u"\r\n");
  write_log(log_path, ref);
  write_log(log_path, u"\r\n");
}

}  // namespace

bool check_group(std::u16string log_path, path_group& group, std::uint64_t size, std::u16string size_text) {
  if (group.size() < 2) return false;
  const std::u16string ref = group.front();
  group.pop_front();

  bool header_written = false;
  bool found = false;
  bool another_pass = true;
  while (another_pass) {
    another_pass = false;
    for (auto candidate = group.begin(); candidate != group.end(); ++candidate) {
      if (!compare_files(ref, *candidate, size)) continue;
      found = true;
      if (!header_written) {
        write_header(log_path, size_text, ref);
        header_written = true;
      }
      write_log(log_path, *candidate);
      write_log(log_path, u"\r\n");
      group.erase(candidate);
      another_pass = true;
      break;
    }
  }
  return found;
}
