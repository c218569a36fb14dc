#include "platform/layer.h"

namespace platform {

namespace {

struct console_buffer {
  std::string pending;

  void flush() {
    if (!pending.empty()) {
      write_standard_output(pending.data(), pending.size());
      pending.clear();
    }
  }

  ~console_buffer() { flush(); }
};

console_buffer& buffer() {
  static console_buffer instance;
  return instance;
}

}  // namespace

void put_console_bytes(std::string_view bytes) {
  console_buffer& out = buffer();
  out.pending += bytes;
  if (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) {
    out.flush();
  }
}

}  // namespace platform
