// Real files and directories for the tests, removed again at the end.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace fixture {

// A fresh temporary directory that everyone may enter, removed with all it
// holds when the object goes.
class temp_dir {
 public:
  temp_dir();
  ~temp_dir();
  temp_dir(const temp_dir&) = delete;
  temp_dir& operator=(const temp_dir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& relative) const { return path_ / relative; }

 private:
  std::filesystem::path path_;
};

// Writes a file of the given bytes, creating the directories above it.
void write_file(const std::filesystem::path& path, const std::string& bytes);
// size bytes of a pattern that differs with seed; equal seeds give equal bytes.
std::string pattern(std::uint64_t size, unsigned seed);
std::string read_file(const std::filesystem::path& path);

// The path as the program names it: with backslashes; on Linux drive-less,
// "/tmp/x" is "\tmp\x".
std::u16string windows_form(const std::filesystem::path& path);

}  // namespace fixture
