// The operating-system operations the program uses, under their Windows
// names and with the Windows behaviour it relies on. posix/ implements them
// on Linux; every text is UTF-16 (char16_t).
#pragma once

#include <cstddef>
#include <cstdint>

namespace platform {

using BOOL = int;
using DWORD = std::uint32_t;
using LONG = std::int32_t;
using UINT = unsigned int;
using HANDLE = void*;

inline constexpr BOOL TRUE = 1;
inline constexpr BOOL FALSE = 0;

inline const HANDLE INVALID_HANDLE_VALUE = reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(-1));
inline constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
inline constexpr DWORD STD_OUTPUT_HANDLE = static_cast<DWORD>(-11);

inline constexpr UINT DRIVE_UNKNOWN = 0;
inline constexpr UINT DRIVE_NO_ROOT_DIR = 1;
inline constexpr UINT DRIVE_REMOVABLE = 2;
inline constexpr UINT DRIVE_FIXED = 3;
inline constexpr UINT DRIVE_REMOTE = 4;
inline constexpr UINT DRIVE_CDROM = 5;
inline constexpr UINT DRIVE_RAMDISK = 6;

inline constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
inline constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

inline constexpr DWORD GENERIC_READ = 0x80000000;
inline constexpr DWORD GENERIC_WRITE = 0x40000000;
inline constexpr DWORD OPEN_EXISTING = 3;
inline constexpr DWORD OPEN_ALWAYS = 4;
inline constexpr DWORD FILE_BEGIN = 0;
inline constexpr DWORD FILE_END = 2;

inline constexpr UINT CP_UTF8 = 65001;

inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_SHARING_VIOLATION = 32;
inline constexpr DWORD ERROR_DISK_FULL = 112;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_FILENAME_EXCED_RANGE = 206;

inline constexpr int MAX_PATH = 260;

struct FILETIME {
  DWORD dwLowDateTime;
  DWORD dwHighDateTime;
};

// What identifies an open file and tells whether it changed: on Linux the
// device and inode, and the last change of the inode as the write time.
struct BY_HANDLE_FILE_INFORMATION {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD dwVolumeSerialNumber;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD nNumberOfLinks;
  DWORD nFileIndexHigh;
  DWORD nFileIndexLow;
};

struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  char16_t cFileName[MAX_PATH];
};

// Drives and directories.
UINT GetDriveTypeW(const char16_t* root_path);
DWORD GetCurrentDirectoryW(DWORD buffer_length, char16_t* buffer);
BOOL SetCurrentDirectoryW(const char16_t* path);
HANDLE FindFirstFileW(const char16_t* pattern, WIN32_FIND_DATAW* data);
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE search);

// Files.
HANDLE CreateFileW(const char16_t* path, DWORD access, DWORD share_mode, void* security, DWORD disposition, DWORD flags,
                   HANDLE template_file);
BOOL ReadFile(HANDLE file, void* buffer, DWORD to_read, DWORD* read, void* overlapped);
BOOL WriteFile(HANDLE file, const void* buffer, DWORD to_write, DWORD* written, void* overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distance_high, DWORD method);
BOOL CloseHandle(HANDLE handle);
BOOL GetFileInformationByHandle(HANDLE file, BY_HANDLE_FILE_INFORMATION* information);
BOOL DeleteFileW(const char16_t* path);
DWORD GetLastError();
int WideCharToMultiByte(UINT code_page, DWORD flags, const char16_t* text, int length, char* out, int out_size,
                        const char* default_char, BOOL* used_default);

// Console.
HANDLE GetStdHandle(DWORD which);
BOOL WriteConsoleW(HANDLE console, const char16_t* text, DWORD length, DWORD* written, void* reserved);

// The C library pieces whose behaviour differs between the platforms.
// wprintf and swprintf understand the directives %s (a UTF-16 text), %c,
// %I64d, %3.0f, %%, %08X, %u and %03u. wprintf writes to standard output as
// a text stream in the "C" locale: one byte per character, "?" above U+00FF,
// each line feed as carriage return and line feed.
int wprintf(const char16_t* format, ...);
int swprintf(char16_t* buffer, std::size_t count, const char16_t* format, ...);
void* malloc(std::size_t size);
void free(void* block);
int memcmp(const void* a, const void* b, std::size_t size);
// Removes a file by its narrow name relative to the working directory; it
// never removes a directory.
int remove(const char* name);

}  // namespace platform
