#include "platform/windows/windows_layer.h"

namespace platform {

DWORD GetLastError() { return ::GetLastError(); }

}  // namespace platform
