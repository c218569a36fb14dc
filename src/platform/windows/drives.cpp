#include "platform/windows/windows_layer.h"

namespace platform {

UINT GetDriveTypeW(const char16_t* root_path) { return ::GetDriveTypeW(system_text(root_path)); }

}  // namespace platform
