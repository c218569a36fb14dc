#include "support/fixture.h"

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fixture {

temp_dir::temp_dir() {
  std::string name = "/tmp/kelvane-test-XXXXXX";
  if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
  path_ = name;
  std::filesystem::permissions(path_, std::filesystem::perms(0755));
}

temp_dir::~temp_dir() {
  std::error_code ignored;
  // Anything a test made unreadable must be removable again.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (!it->is_symlink()) std::filesystem::permissions(it->path(), std::filesystem::perms(0755), ignored);
  }
  std::filesystem::remove_all(path_, ignored);
}

void write_file(const std::filesystem::path& path, const std::string& bytes) {
  std::filesystem::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

std::string pattern(std::uint64_t size, unsigned seed) {
  std::string bytes(size, '\0');
  std::uint32_t state = 2463534242u ^ (seed * 2654435761u);
  for (char& b : bytes) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    b = static_cast<char>(state);
  }
  return bytes;
}

std::string read_file(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::u16string windows_form(const std::filesystem::path& path) {
  std::u16string out;
  for (char c : path.string()) out += c == '/' ? u'\\' : static_cast<char16_t>(static_cast<unsigned char>(c));
  return out;
}

}  // namespace fixture
