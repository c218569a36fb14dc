#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/layer.h"
#include "platform/posix/posix_layer.h"

namespace platform {

namespace {

// Standard output needs no state of its own: any non-null value names it.
int standard_output_token;

}  // namespace

HANDLE GetStdHandle(DWORD which) { return which == STD_OUTPUT_HANDLE ? &standard_output_token : INVALID_HANDLE_VALUE; }

// The console, or whatever standard output was redirected to, receives the
// text's UTF-8 bytes, in order with the formatted channel.
BOOL WriteConsoleW(HANDLE, const char16_t* text, DWORD length, DWORD* written, void*) {
  std::string bytes;
  append_utf8(bytes, std::u16string_view(text, length));
  put_console_bytes(bytes);
  if (written != nullptr) *written = length;
  return TRUE;
}

void write_standard_output(const char* data, std::size_t size) {
  // A reader that has gone away must not end the run: the log still needs
  // every record.
  static const bool pipe_ignored = signal(SIGPIPE, SIG_IGN) != SIG_ERR;
  (void)pipe_ignored;
  while (size > 0) {
    const ssize_t n = write(STDOUT_FILENO, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
}

}  // namespace platform
