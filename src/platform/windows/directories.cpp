#include <cstring>

#include "platform/windows/windows_layer.h"

namespace platform {

namespace {

// Newer than this toolchain's headers: files kept in the cloud.
constexpr ::DWORD RECALL_ON_OPEN = 0x00040000;
constexpr ::DWORD RECALL_ON_DATA_ACCESS = 0x00400000;

// Links, junctions and mount points are not entered, and files that reading
// would first download are not listed: the same as links on Linux.
bool is_listed(const ::WIN32_FIND_DATAW& found) {
  if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) return false;
  if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return true;
  return (found.dwFileAttributes & (FILE_ATTRIBUTE_OFFLINE | RECALL_ON_OPEN | RECALL_ON_DATA_ACCESS)) == 0;
}

void fill(WIN32_FIND_DATAW* data, const ::WIN32_FIND_DATAW& found) {
  data->dwFileAttributes = found.dwFileAttributes;
  data->nFileSizeHigh = found.nFileSizeHigh;
  data->nFileSizeLow = found.nFileSizeLow;
  static_assert(sizeof data->cFileName == sizeof found.cFileName);
  std::memcpy(data->cFileName, found.cFileName, sizeof data->cFileName);
}

// The next entry that is listed, from the one the search holds on.
bool next_listed(::HANDLE search, ::WIN32_FIND_DATAW& found, bool have_one) {
  for (;;) {
    if (have_one && is_listed(found)) return true;
    if (::FindNextFileW(search, &found) == 0) return false;
    have_one = true;
  }
}

}  // namespace

DWORD GetCurrentDirectoryW(DWORD buffer_length, char16_t* buffer) {
  return ::GetCurrentDirectoryW(buffer_length, system_text(buffer));
}

BOOL SetCurrentDirectoryW(const char16_t* path) { return ::SetCurrentDirectoryW(system_text(path)); }

HANDLE FindFirstFileW(const char16_t* pattern, WIN32_FIND_DATAW* data) {
  ::WIN32_FIND_DATAW found;
  const ::HANDLE search = ::FindFirstFileW(system_text(pattern), &found);
  if (search == INVALID_HANDLE_VALUE) return INVALID_HANDLE_VALUE;
  if (!next_listed(search, found, true)) {
    ::FindClose(search);
    ::SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  fill(data, found);
  return search;
}

BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data) {
  ::WIN32_FIND_DATAW found;
  if (!next_listed(search, found, false)) return FALSE;
  fill(data, found);
  return TRUE;
}

BOOL FindClose(HANDLE search) { return ::FindClose(search); }

}  // namespace platform
