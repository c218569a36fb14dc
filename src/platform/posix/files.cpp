#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <set>
#include <utility>

#include "platform/layer.h"
#include "platform/posix/posix_layer.h"

namespace platform {

namespace {

struct open_file {
  int fd;
  bool held;
  std::pair<dev_t, ino_t> identity;
};

// Files held without sharing by this process. Share mode 0 keeps every other
// open of the same file out, also through another hard link; the flock keeps
// out other processes that honour it.
std::set<std::pair<dev_t, ino_t>>& held_files() {
  static std::set<std::pair<dev_t, ino_t>> held;
  return held;
}

// Windows deletes no file that is open without sharing: neither may we.
bool delete_unless_held(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
  if (fd >= 0) {
    struct stat st;
    const bool held = fstat(fd, &st) == 0 && (held_files().count({st.st_dev, st.st_ino}) != 0 ||
                                              (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK));
    close(fd);
    if (held) {
      set_last_error(ERROR_SHARING_VIOLATION);
      return false;
    }
  }
  if (unlink(path.c_str()) != 0) {
    set_last_error_for_path(errno, path);
    return false;
  }
  return true;
}

HANDLE fail(int fd, DWORD code) {
  if (fd >= 0) close(fd);
  set_last_error(code);
  return INVALID_HANDLE_VALUE;
}

}  // namespace

// Only a regular file is opened, and never through a final symbolic link: a
// FIFO or device put in a file's place must not hang or feed the run.
HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, void*, DWORD disposition, DWORD, HANDLE) {
  if ((access & GENERIC_READ) != 0) run_before_read_open();
  const std::optional<std::string> target = posix_path(path);
  if (!target) return fail(-1, ERROR_PATH_NOT_FOUND);
  int flags = O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY;
  flags |= (access & GENERIC_WRITE) != 0 ? ((access & GENERIC_READ) != 0 ? O_RDWR : O_WRONLY) : O_RDONLY;
  if (disposition == OPEN_ALWAYS) flags |= O_CREAT;
  const int fd = open(target->c_str(), flags, 0666);
  if (fd < 0) {
    set_last_error_for_path(errno, *target);
    return INVALID_HANDLE_VALUE;
  }
  struct stat st;
  if (fstat(fd, &st) != 0) return fail(fd, ERROR_ACCESS_DENIED);
  if (!S_ISREG(st.st_mode)) return fail(fd, ERROR_ACCESS_DENIED);
  if (share_mode == 0) {
    if (held_files().count({st.st_dev, st.st_ino}) != 0) return fail(fd, ERROR_SHARING_VIOLATION);
    if (flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK) return fail(fd, ERROR_SHARING_VIOLATION);
    held_files().insert({st.st_dev, st.st_ino});
  }
  fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
  if ((access & GENERIC_READ) != 0) posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);
  return new open_file{fd, share_mode == 0, {st.st_dev, st.st_ino}};
}

BOOL ReadFile(HANDLE handle, void* buffer, DWORD to_read, DWORD* read_count, void*) {
  const open_file* file = static_cast<open_file*>(handle);
  char* out = static_cast<char*>(buffer);
  DWORD done = 0;
  if (DWORD error = 0; injected_failure(test_seam::operation::read_file, error)) {
    *read_count = 0;
    set_last_error(error);
    return FALSE;
  }
  while (done < to_read) {
    const ssize_t n = read(file->fd, out + done, to_read - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *read_count = done;
      set_last_error_from_errno(errno);
      return FALSE;
    }
    if (n == 0) break;
    done += static_cast<DWORD>(n);
  }
  *read_count = done;
  return TRUE;
}

BOOL WriteFile(HANDLE handle, const void* buffer, DWORD to_write, DWORD* written, void*) {
  const open_file* file = static_cast<open_file*>(handle);
  const char* in = static_cast<const char*>(buffer);
  DWORD done = 0;
  if (DWORD error = 0; injected_failure(test_seam::operation::write_file, error)) {
    // A disk that fills up takes part of the bytes.
    done = to_write / 2;
    if (write(file->fd, in, done) != static_cast<ssize_t>(done)) done = 0;
    *written = done;
    set_last_error(error);
    return FALSE;
  }
  while (done < to_write) {
    const ssize_t n = write(file->fd, in + done, to_write - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      *written = done;
      set_last_error_from_errno(n < 0 ? errno : ENOSPC);
      return FALSE;
    }
    done += static_cast<DWORD>(n);
  }
  *written = done;
  return TRUE;
}

DWORD SetFilePointer(HANDLE handle, LONG distance, LONG* distance_high, DWORD method) {
  const open_file* file = static_cast<open_file*>(handle);
  off_t offset = distance;
  if (distance_high != nullptr) {
    offset =
        static_cast<off_t>((static_cast<std::uint64_t>(*distance_high) << 32) | static_cast<std::uint32_t>(distance));
  }
  const int whence = method == FILE_END ? SEEK_END : method == FILE_BEGIN ? SEEK_SET : SEEK_CUR;
  const off_t position = lseek(file->fd, offset, whence);
  if (position < 0) {
    set_last_error_from_errno(errno);
    return INVALID_SET_FILE_POINTER;
  }
  if (distance_high != nullptr) *distance_high = static_cast<LONG>(static_cast<std::uint64_t>(position) >> 32);
  return static_cast<DWORD>(position);
}

namespace {

// 100-nanosecond units, as Windows counts file times.
FILETIME file_time(const timespec& time) {
  const std::uint64_t units =
      static_cast<std::uint64_t>(time.tv_sec) * 10000000 + static_cast<std::uint64_t>(time.tv_nsec) / 100;
  return FILETIME{static_cast<DWORD>(units), static_cast<DWORD>(units >> 32)};
}

}  // namespace

// The inode's change time stands for the write time: every write moves it,
// and so does anything else that could make the contents another file's.
BOOL GetFileInformationByHandle(HANDLE handle, BY_HANDLE_FILE_INFORMATION* information) {
  const open_file* file = static_cast<open_file*>(handle);
  struct stat st;
  if (fstat(file->fd, &st) != 0) {
    set_last_error_from_errno(errno);
    return FALSE;
  }
  const std::uint64_t device = st.st_dev;
  const std::uint64_t inode = st.st_ino;
  const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
  *information = BY_HANDLE_FILE_INFORMATION{FILE_ATTRIBUTE_NORMAL,
                                            file_time(st.st_ctim),
                                            file_time(st.st_atim),
                                            file_time(st.st_ctim),
                                            static_cast<DWORD>(device ^ (device >> 32)),
                                            static_cast<DWORD>(size >> 32),
                                            static_cast<DWORD>(size),
                                            static_cast<DWORD>(st.st_nlink),
                                            static_cast<DWORD>(inode >> 32),
                                            static_cast<DWORD>(inode)};
  return TRUE;
}

BOOL CloseHandle(HANDLE handle) {
  open_file* file = static_cast<open_file*>(handle);
  if (file->held) held_files().erase(file->identity);
  const int result = close(file->fd);
  delete file;
  return result == 0 ? TRUE : FALSE;
}

BOOL DeleteFileW(const char16_t* path) {
  const std::optional<std::string> target = posix_path(path);
  if (!target) {
    set_last_error(ERROR_PATH_NOT_FOUND);
    return FALSE;
  }
  return delete_unless_held(*target) ? TRUE : FALSE;
}

int remove(const char* name) { return delete_unless_held(name) ? 0 : -1; }

}  // namespace platform
