// The one place where the system's errors become Windows error codes.
#include <sys/stat.h>

#include <cerrno>

#include "platform/posix/posix_layer.h"

namespace platform {

namespace {

DWORD last_error = 0;

DWORD windows_error(int error) {
  switch (error) {
    case 0:
      return 0;
    case ENOENT:
      return ERROR_FILE_NOT_FOUND;
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EACCES:
    case EPERM:
    case EISDIR:
      return ERROR_ACCESS_DENIED;
    case EMFILE:
    case ENFILE:
      return 4;  // ERROR_TOO_MANY_OPEN_FILES
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    case EROFS:
      return 19;  // ERROR_WRITE_PROTECT
    case ENXIO:
    case ENODEV:
      return 21;  // ERROR_NOT_READY
    case EWOULDBLOCK:
      return ERROR_SHARING_VIOLATION;
    case EEXIST:
      return 80;  // ERROR_FILE_EXISTS
    case EINVAL:
      return 87;  // ERROR_INVALID_PARAMETER
    case ENOSPC:
      return ERROR_DISK_FULL;
    case EBUSY:
      return 170;  // ERROR_BUSY
    case ENAMETOOLONG:
      return ERROR_FILENAME_EXCED_RANGE;
    case EDQUOT:
      return 1295;  // ERROR_DISK_QUOTA_EXCEEDED
    case EIO:
      return 1117;  // ERROR_IO_DEVICE
    case ELOOP:
      return 1921;  // ERROR_CANT_RESOLVE_FILENAME
    default:
      return 31;  // ERROR_GEN_FAILURE
  }
}

}  // namespace

void set_last_error(DWORD code) { last_error = code; }

void set_last_error_from_errno(int error) { last_error = windows_error(error); }

// Windows tells a missing file (2) from a missing directory above it (3).
void set_last_error_for_path(int error, std::string_view path) {
  set_last_error_from_errno(error);
  if (error != ENOENT) return;
  while (path.size() > 1 && path.back() == '/') path.remove_suffix(1);
  const std::size_t cut = path.rfind('/');
  const std::string parent = cut == std::string_view::npos ? "." : cut == 0 ? "/" : std::string(path.substr(0, cut));
  struct stat st;
  if (stat(parent.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) set_last_error(ERROR_PATH_NOT_FOUND);
}

DWORD GetLastError() { return last_error; }

}  // namespace platform
