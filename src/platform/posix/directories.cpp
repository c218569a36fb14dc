#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/posix/posix_layer.h"

namespace platform {

namespace {

struct entry {
  std::u16string name;
  DWORD attributes;
  std::uint64_t size;
};

struct search {
  std::vector<entry> entries;
  std::size_t next = 0;
};

// The upper case an NTFS directory sorts by: ASCII, Latin-1, Greek and
// Cyrillic small letters.
char16_t upper(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
  if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
  return c;
}

bool listed_before(const entry& a, const entry& b) {
  const std::size_t common = std::min(a.name.size(), b.name.size());
  for (std::size_t i = 0; i < common; ++i) {
    const char16_t x = upper(a.name[i]);
    const char16_t y = upper(b.name[i]);
    if (x != y) return x < y;
  }
  if (a.name.size() != b.name.size()) return a.name.size() < b.name.size();
  return a.name < b.name;
}

void fill(WIN32_FIND_DATAW* data, const entry& e) {
  data->dwFileAttributes = e.attributes;
  data->nFileSizeHigh = static_cast<DWORD>(e.size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(e.size);
  const std::size_t length = std::min<std::size_t>(e.name.size(), MAX_PATH - 1);
  e.name.copy(data->cFileName, length);
  data->cFileName[length] = 0;
}

// Only directories and regular files are listed. Links, mount points, FIFOs,
// sockets and devices are left out: none is a file to compare or a directory
// to enter, and leaving them out keeps the walk free of cycles and hangs.
bool read_entries(const std::string& directory, std::vector<entry>& entries) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) {
    set_last_error_from_errno(errno);
    return false;
  }
  struct statx own;
  DIR* listing = nullptr;
  if (statx(fd, "", AT_EMPTY_PATH, STATX_TYPE | STATX_MNT_ID, &own) != 0 || (listing = fdopendir(fd)) == nullptr) {
    set_last_error_from_errno(errno);
    close(fd);
    return false;
  }
  while (const dirent* d = readdir(listing)) {
    const std::string_view name = d->d_name;
    if (name == "." || name == "..") continue;
    if (d->d_type != DT_UNKNOWN && d->d_type != DT_DIR && d->d_type != DT_REG) continue;
    struct statx st;
    if (statx(fd, d->d_name, AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_TYPE | STATX_SIZE | STATX_MNT_ID, &st) != 0) {
      continue;
    }
    const bool other_mount = st.stx_dev_major != own.stx_dev_major || st.stx_dev_minor != own.stx_dev_minor ||
                             ((st.stx_mask & own.stx_mask & STATX_MNT_ID) != 0 && st.stx_mnt_id != own.stx_mnt_id);
    if (other_mount) continue;
    if (S_ISDIR(st.stx_mode)) {
      entries.push_back(entry{name_from_bytes(name), FILE_ATTRIBUTE_DIRECTORY, 0});
    } else if (S_ISREG(st.stx_mode)) {
      entries.push_back(entry{name_from_bytes(name), FILE_ATTRIBUTE_NORMAL, st.stx_size});
    }
  }
  closedir(listing);
  return true;
}

// The working directory's path; for one removed while this process stood in
// it, the path it had (with the system's " (deleted)" mark), which names
// nothing, so that the log goes nowhere else.
std::optional<std::string> working_directory() {
  if (char* cwd = getcwd(nullptr, 0)) {
    std::string path = cwd;
    std::free(cwd);
    return path;
  }
  const int error = errno;
  char link[4096];
  const ssize_t n = readlink("/proc/self/cwd", link, sizeof link);
  if (n > 0 && link[0] == '/') return std::string(link, static_cast<std::size_t>(n));
  set_last_error_from_errno(error);
  return std::nullopt;
}

}  // namespace

DWORD GetCurrentDirectoryW(DWORD buffer_length, char16_t* buffer) {
  const std::optional<std::string> cwd = working_directory();
  if (!cwd) return 0;
  const std::u16string path = windows_path(*cwd);
  if (buffer == nullptr || buffer_length < path.size() + 1) return static_cast<DWORD>(path.size() + 1);
  path.copy(buffer, path.size());
  buffer[path.size()] = 0;
  return static_cast<DWORD>(path.size());
}

BOOL SetCurrentDirectoryW(const char16_t* path) {
  const std::optional<std::string> target = posix_path(path);
  if (!target) {
    set_last_error(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  if (chdir(target->c_str()) != 0) {
    set_last_error_for_path(errno, *target);
    return FALSE;
  }
  return TRUE;
}

// The directory is read whole at once and closed again, so a deep walk holds
// no descriptor open. The pattern is "*" or a directory followed by "\*".
HANDLE FindFirstFileW(const char16_t* pattern, WIN32_FIND_DATAW* data) {
  std::u16string_view directory(pattern);
  if (directory.empty() || directory.back() != u'*') {
    set_last_error(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  directory.remove_suffix(1);
  const std::optional<std::string> target = directory.empty() ? std::optional<std::string>(".") : posix_path(directory);
  auto found = std::make_unique<search>();
  if (!target) {
    set_last_error(ERROR_PATH_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  if (!read_entries(target->empty() ? "/" : *target, found->entries)) return INVALID_HANDLE_VALUE;
  if (found->entries.empty()) {
    set_last_error(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  std::sort(found->entries.begin(), found->entries.end(), listed_before);
  fill(data, found->entries[0]);
  found->next = 1;
  return found.release();
}

BOOL FindNextFileW(HANDLE handle, WIN32_FIND_DATAW* data) {
  search* s = static_cast<search*>(handle);
  if (s->next >= s->entries.size()) {
    set_last_error(18);  // ERROR_NO_MORE_FILES
    return FALSE;
  }
  fill(data, s->entries[s->next++]);
  return TRUE;
}

BOOL FindClose(HANDLE handle) {
  delete static_cast<search*>(handle);
  return TRUE;
}

}  // namespace platform
