// The layer's declarations first, then the system's: <windows.h> defines
// macros (TRUE, MAX_PATH, FILE_END, ...) under the same names.
#pragma once

#include "platform/layer.h"
#include "platform/platform.h"

// clang-format off
#include <windows.h>
// clang-format on

namespace platform {

inline LPCWSTR system_text(const char16_t* text) { return reinterpret_cast<LPCWSTR>(text); }
inline LPWSTR system_text(char16_t* text) { return reinterpret_cast<LPWSTR>(text); }

}  // namespace platform
