#include "platform/layer.h"
#include "platform/test_seam.h"

namespace platform {

namespace {

struct console_buffer {
  std::string pending;
  std::string* captured = nullptr;

  void flush() {
    if (pending.empty()) return;
    if (captured != nullptr) {
      *captured += pending;
    } else {
      write_standard_output(pending.data(), pending.size());
    }
    pending.clear();
  }

  ~console_buffer() { flush(); }
};

console_buffer& buffer() {
  static console_buffer instance;
  return instance;
}

}  // namespace

void flush_console_bytes() { buffer().flush(); }

bool console_is_captured() { return buffer().captured != nullptr; }

void put_console_bytes(std::string_view bytes) {
  console_buffer& out = buffer();
  out.pending += bytes;
  if (!bytes.empty() && (bytes.back() == '\n' || bytes.back() == '\r')) {
    out.flush();
  }
}

namespace test_seam {

void capture_console(std::string* into) {
  buffer().flush();
  buffer().captured = into;
}

}  // namespace test_seam

}  // namespace platform
