// Runs the built program as a user would: from a start directory, with
// fixture trees mapped as drives, and collects what it leaves behind.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct run_options {
  std::vector<std::string> args;
  // Drive letter (lower case) to the directory it maps to.
  std::map<char, std::filesystem::path> drives;
  std::filesystem::path start;
  // Run as the unprivileged user 65534, to whom permissions apply.
  bool as_nobody = false;
  // When not empty, the program with planned faults runs instead, with these
  // variables set.
  std::map<std::string, std::string> faults = {};
};

struct run_result {
  std::string out;
  int exit_code = -1;
  // The log in the start directory, if one is left.
  std::optional<std::string> log;
};

run_result run_kelvane(const run_options& options);

// Whether the program under test is the Windows build, run by Wine
// (KELVANE_E2E_EXE names it, KELVANE_E2E_WINE the Wine loader). Drives are
// then mapped in the Wine prefix; C: and Z: stay Wine's own.
bool under_wine();

// Another process that holds a file open without sharing, as long as the
// object lives: the Linux helper, or the Windows one under Wine.
class file_holder {
 public:
  explicit file_holder(const std::filesystem::path& path);
  ~file_holder();
  file_holder(const file_holder&) = delete;
  file_holder& operator=(const file_holder&) = delete;

 private:
  std::filesystem::path marker_;
  int pid_;
};

// Whether this process may run the Linux build as another user.
bool can_run_as_nobody();

}  // namespace e2e
