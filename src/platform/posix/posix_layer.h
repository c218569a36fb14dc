// What the POSIX implementation's files share among themselves.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace platform {

// Errors: the system's errno, translated once into a Windows code.
void set_last_error(DWORD code);
void set_last_error_from_errno(int error);
// The same for an operation on path.
void set_last_error_for_path(int error, std::string_view path);

// Names: a file name's bytes as UTF-16 and back, exactly. Bytes that are not
// UTF-8 become U+DC80..U+DCFF; characters a Windows name cannot hold
// (U+0001..U+001F and " * : < > ? \ |) become U+F000 + their code.
std::u16string name_from_bytes(std::string_view bytes);
std::string bytes_from_name(std::u16string_view name);

// Paths: "X:\a\b" is the drive's root followed by "/a/b"; "\a\b" is "/a/b";
// anything else is relative to the working directory. Empty when the path
// names a drive that does not exist.
std::optional<std::string> posix_path(std::u16string_view path);
// The Windows form of an absolute POSIX path, through the drive whose root is
// its longest prefix, or drive-less when no drive holds it.
std::u16string windows_path(std::string_view path);

// Drives: the root directory of a letter's drive ("" for "/"), if any.
std::optional<std::string> drive_root(char16_t letter);
UINT drive_type(char16_t letter);

}  // namespace platform
