#include "support/fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>

namespace fixture {

namespace {

// KELVANE_TEST_TMP chooses where, for runs whose system temporary
// directory has too long a path for the path-length cases.
std::filesystem::path temp_root() {
  const char* chosen = std::getenv("KELVANE_TEST_TMP");
  return chosen != nullptr ? std::filesystem::path(chosen) : std::filesystem::temp_directory_path();
}

}  // namespace

temp_dir::temp_dir() {
  static std::mt19937 random(std::random_device{}());
  for (int attempt = 0; attempt < 100; ++attempt) {
    char name[32];
    std::snprintf(name, sizeof name, "kelvane-test-%08x", static_cast<unsigned>(random()));
    path_ = temp_root() / name;
    if (std::filesystem::create_directory(path_)) {
      std::filesystem::permissions(path_, std::filesystem::perms(0755));
      return;
    }
  }
  throw std::runtime_error("cannot make a temporary directory");
}

temp_dir::~temp_dir() {
  std::error_code ignored;
  // Anything a test made unreadable must be removable again.
  for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
       it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
    if (!it->is_symlink()) std::filesystem::permissions(it->path(), std::filesystem::perms(0755), ignored);
  }
  std::filesystem::remove_all(path_, ignored);
  // Trees deeper than a path can name are left to rm, which walks by handle.
  if (std::filesystem::exists(path_, ignored)) {
    const std::string command = "rm -rf '" + path_.string() + "'";
    if (std::system(command.c_str()) != 0) std::fprintf(stderr, "cannot remove %s\n", path_.string().c_str());
  }
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
  std::u16string out = path.u16string();
  for (char16_t& c : out) {
    if (c == u'/') c = u'\\';
  }
  return out;
}

}  // namespace fixture
