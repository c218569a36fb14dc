#include <cstdlib>
#include <cstring>

#include "platform/layer.h"

namespace platform {

void* malloc(std::size_t size) {
  DWORD ignored = 0;
  if (injected_failure(test_seam::operation::malloc, ignored)) return nullptr;
  return std::malloc(size);
}

void free(void* block) { std::free(block); }

int memcmp(const void* a, const void* b, std::size_t size) { return std::memcmp(a, b, size); }

}  // namespace platform
