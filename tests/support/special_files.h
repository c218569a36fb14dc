// Files that are neither regular files nor directories, for the Linux tests.
#pragma once

#include <filesystem>

namespace fixture {

// A listening-less Unix socket bound at path.
void make_socket(const std::filesystem::path& path);

}  // namespace fixture
