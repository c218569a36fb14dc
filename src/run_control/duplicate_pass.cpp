#include "run_control/duplicate_pass.h"

#include "output/format_size.h"
#include "output/print_console.h"
#include "platform/platform.h"
#include "verifier/check_group.h"

int duplicate_pass(size_list& sizes, size_map& files_by_size, const std::u16string& log_path,
                   const std::u16string& cur_dir) {
  sizes.sort();
  sizes.unique();
  sizes.reverse();
  bool found_any = false;

  print_console(u"\n");
  for (const std::uint64_t s : sizes) {
    path_group& group = files_by_size[s];
    while (group.size() > 1) {
      while (check_group(log_path, group, s, format_size(s))) found_any = true;
    }
  }

  const bool home = platform::SetCurrentDirectoryW(cur_dir.c_str()) != platform::FALSE;
  if (!home) print_console(u"cannot change directory to [" + cur_dir + u"]\n");
  if (!found_any) {
    print_console(u"nothing found\n");
    // Away from the start directory, the bare name would miss the log.
    if (home) {
      platform::remove("kelvane.log");
    } else {
      platform::DeleteFileW(log_path.c_str());
    }
  } else {
    print_console(u"See kelvane.log file for log (UTF8)\n");
  }
  return 0;
}
