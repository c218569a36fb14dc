#include "platform/windows/windows_layer.h"

namespace platform {

int WideCharToMultiByte(UINT code_page, DWORD flags, const char16_t* text, int length, char* out, int out_size,
                        const char* default_char, BOOL* used_default) {
  return ::WideCharToMultiByte(code_page, flags, system_text(text), length, out, out_size, default_char, used_default);
}

}  // namespace platform
