#include "support/special_files.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <stdexcept>

namespace fixture {

void make_socket(const std::filesystem::path& path) {
  const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  path.string().copy(address.sun_path, sizeof address.sun_path - 1);
  const bool bound = bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
  close(sock);
  if (!bound) throw std::runtime_error("cannot bind a socket at " + path.string());
}

}  // namespace fixture
