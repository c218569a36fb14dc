#include "scanner/scan_dir.h"

#include "output/print_console.h"
#include "platform/platform.h"

namespace {

constexpr std::size_t SHOWN_LENGTH = 63;
constexpr std::size_t KEPT_TAIL = 57;

// "phase 1: " and the directory in 63 characters, ending with a carriage
// return so that the next line is written over it.
void write_progress(const std::u16string& path) {
  print_console(u"phase 1: ");
  const std::size_t length = path.size();
  if (length <= 60) {
    print_console(path);
    for (std::size_t i = length; i < SHOWN_LENGTH; ++i) print_console(u" ");
  } else {
    std::u16string shortened = u"XXX..." + path.substr(length - KEPT_TAIL);
    shortened.replace(0, 3, path, 0, 3);
    print_console(shortened);
  }
  print_console(u"\r");
}

// Closes the search on every way out, also when memory runs out below.
struct open_search {
  platform::HANDLE handle;
  ~open_search() { platform::FindClose(handle); }
};

void record_file(std::uint64_t size, std::u16string file_path, size_list& sizes, size_map& files_by_size) {
  sizes.push_front(size);
  files_by_size[size].push_front(std::move(file_path));
}

}  // namespace

void scan_dir(std::uint64_t min_size, std::u16string path, size_list& sizes, size_map& files_by_size) {
  if (platform::SetCurrentDirectoryW(path.c_str()) == platform::FALSE) {
    print_console(u"cannot change directory to [" + path + u"]\n");
    return;
  }
  write_progress(path);

  platform::WIN32_FIND_DATAW entry;
  const platform::HANDLE search = platform::FindFirstFileW(u"*", &entry);
  if (search == platform::INVALID_HANDLE_VALUE) return;
  const open_search closer{search};
  do {
    if ((entry.dwFileAttributes & platform::FILE_ATTRIBUTE_DIRECTORY) != 0) {
      if (entry.cFileName[0] != u'.') scan_dir(min_size, path + entry.cFileName + u"\\", sizes, files_by_size);
    } else {
      const std::uint64_t size = (std::uint64_t{entry.nFileSizeHigh} << 32) | entry.nFileSizeLow;
      if (size >= min_size) record_file(size, path + entry.cFileName, sizes, files_by_size);
    }
  } while (platform::FindNextFileW(search, &entry) != platform::FALSE);
}
