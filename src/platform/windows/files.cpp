#include "platform/windows/windows_layer.h"

namespace platform {

HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, void*, DWORD disposition, DWORD flags,
                   HANDLE template_file) {
  if ((access & GENERIC_READ) != 0) run_before_read_open();
  return ::CreateFileW(system_text(path), access, share_mode, nullptr, disposition, flags, template_file);
}

BOOL ReadFile(HANDLE file, void* buffer, DWORD to_read, DWORD* read, void*) {
  if (DWORD error = 0; injected_failure(test_seam::operation::read_file, error)) {
    *read = 0;
    ::SetLastError(error);
    return FALSE;
  }
  ::DWORD count = 0;
  const BOOL ok = ::ReadFile(file, buffer, to_read, &count, nullptr);
  *read = count;
  return ok;
}

BOOL WriteFile(HANDLE file, const void* buffer, DWORD to_write, DWORD* written, void*) {
  if (DWORD error = 0; injected_failure(test_seam::operation::write_file, error)) {
    ::DWORD part = 0;
    ::WriteFile(file, buffer, to_write / 2, &part, nullptr);
    *written = part;
    ::SetLastError(error);
    return FALSE;
  }
  ::DWORD count = 0;
  const BOOL ok = ::WriteFile(file, buffer, to_write, &count, nullptr);
  *written = count;
  return ok;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distance_high, DWORD method) {
  ::LONG high = distance_high != nullptr ? *distance_high : 0;
  const DWORD position = ::SetFilePointer(file, distance, distance_high != nullptr ? &high : nullptr, method);
  if (distance_high != nullptr) *distance_high = high;
  return position;
}

BOOL CloseHandle(HANDLE handle) { return ::CloseHandle(handle); }

BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information) {
  ::BY_HANDLE_FILE_INFORMATION found;
  if (::GetFileInformationByHandle(file, &found) == 0) return FALSE;
  const auto time = [](const ::FILETIME& t) { return FILETIME{t.dwLowDateTime, t.dwHighDateTime}; };
  *information = BY_HANDLE_FILE_INFORMATION{
      found.dwFileAttributes,     time(found.ftCreationTime), time(found.ftLastAccessTime), time(found.ftLastWriteTime),
      found.dwVolumeSerialNumber, found.nFileSizeHigh,        found.nFileSizeLow,           found.nNumberOfLinks,
      found.nFileIndexHigh,       found.nFileIndexLow};
  return TRUE;
}

BOOL DeleteFileW(const char16_t* path) { return ::DeleteFileW(system_text(path)); }

int remove(const char* name) { return ::DeleteFileA(name) != 0 ? 0 : -1; }

}  // namespace platform
