#include <new>
#include <vector>

#include "output/print_console.h"
#include "platform/platform.h"
#include "run_control/arguments.h"
#include "run_control/duplicate_pass.h"
#include "run_control/release.h"
#include "scanner/scan_dir.h"

namespace {

constexpr const char16_t* PROGRAM_NAME = u"kelvane";
constexpr const char16_t* CONTACT = u"kelvane@kelvane.dev";

void write_banner_and_usage() {
  platform::wprintf(u"%s / <%s> / %s\n", PROGRAM_NAME, CONTACT, RELEASE_DATE);
  platform::wprintf(u"\n");
  platform::wprintf(u"usage:\n");
  platform::wprintf(u"  %s <list of drives to scan> <minimal file size in bytes>\n", PROGRAM_NAME);
  platform::wprintf(u"\n");
  platform::wprintf(u"if drives list is not mentioned, only local fixed disks will be scanned\n");
  platform::wprintf(u"default minimal file size (if not mentioned) is one megabyte\n");
  platform::wprintf(u"\n");
  platform::wprintf(u"examples:\n");
  platform::wprintf(u"  %s\n", PROGRAM_NAME);
  platform::wprintf(u"  %s C\n", PROGRAM_NAME);
  platform::wprintf(u"  %s CDE\n", PROGRAM_NAME);
  platform::wprintf(u"  %s F 100000\n", PROGRAM_NAME);
  platform::wprintf(u"\n");
}

std::u16string read_cur_dir() {
  const platform::DWORD length = platform::GetCurrentDirectoryW(0, nullptr);
  // One more than asked for, so that a directory the system cannot name
  // (length 0) still leaves a terminated, empty text.
  std::vector<char16_t> buffer(length + 1, u'\0');
  platform::GetCurrentDirectoryW(length, buffer.data());
  return std::u16string(buffer.data());
}

int run(char* argv[]) {
  size_list sizes;
  size_map files_by_size;
  std::uint64_t min_size = 1000000;
  drive_flags drives{};

  platform::remove("kelvane.log");
  write_banner_and_usage();

  if (argv[1] != nullptr && argv[2] != nullptr) {
    min_size = static_cast<std::uint64_t>(static_cast<std::int64_t>(argument_to_int(argv[2])));
  }
  if (static_cast<std::int64_t>(min_size) < 0) min_size = 0;
  platform::wprintf(u"assuming minimal file size: %I64d bytes\n", static_cast<long long>(min_size));

  if (argv[1] != nullptr) {
    select_drives(argv[1], drives);
  } else {
    probe_fixed_drives(drives);
  }
  platform::wprintf(u"we will scan these drives: ");
  for (int code = 0; code < 256; ++code) {
    if (drives[code] != 0) platform::wprintf(u"%c: ", code);
  }
  platform::wprintf(u"\n");

  const std::u16string cur_dir = read_cur_dir();
  const std::u16string log_path = cur_dir + u"\\kelvane.log";

  for (int code = 0; code < 256; ++code) {
    if (drives[code] != 1) continue;
    std::u16string root = u"X:\\";
    root[0] = static_cast<char16_t>(code);
    scan_dir(min_size, root, sizes, files_by_size);
    print_console(std::u16string(78, u' ') + u"\n");
  }

  if (sizes.empty()) {
    platform::wprintf(u"no files at all\n");
    return 0;
  }
  return duplicate_pass(sizes, files_by_size, log_path, cur_dir);
}

}  // namespace

int main(int, char* argv[]) {
  try {
    return run(argv);
  } catch (const std::bad_alloc&) {
    print_console(u"not enough memory to go on, the run is stopped\n");
    return 1;
  }
}
