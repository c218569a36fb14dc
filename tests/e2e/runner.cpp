#include "e2e/runner.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <stdexcept>

#include "support/fixture.h"

namespace e2e {

namespace {

// A copy of the binary that every user may run, wherever the build lies.
const std::filesystem::path& shared_binary() {
  static fixture::temp_dir dir;
  static const std::filesystem::path binary = [] {
    const std::filesystem::path copy = dir / "kelvane";
    std::filesystem::copy_file(KELVANE_BINARY, copy);
    std::filesystem::permissions(copy, std::filesystem::perms(0755));
    return copy;
  }();
  return binary;
}

using environment = std::map<std::string, std::string>;

std::string read_all(int fd) {
  std::string out;
  char buffer[65536];
  for (ssize_t n; (n = read(fd, buffer, sizeof buffer)) != 0;) {
    if (n < 0) {
      if (errno == EINTR) continue;
      break;
    }
    out.append(buffer, static_cast<std::size_t>(n));
  }
  return out;
}

void map_drives(const std::filesystem::path& table, const std::map<char, std::filesystem::path>& drives) {
  for (const auto& [letter, target] : drives) {
    std::filesystem::create_directory_symlink(target, table / (std::string(1, letter) + ":"));
  }
}

run_result run_command(std::vector<std::string> command, const std::filesystem::path& start,
                       const environment& variables) {
  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipe_fds[1], STDOUT_FILENO);
    close(pipe_fds[0]);
    close(pipe_fds[1]);
    if (chdir(start.c_str()) != 0) _exit(126);
    for (const auto& [name, value] : variables) setenv(name.c_str(), value.c_str(), 1);
    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(pipe_fds[1]);
  run_result result;
  result.out = read_all(pipe_fds[0]);
  close(pipe_fds[0]);
  int status = 0;
  waitpid(child, &status, 0);
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  const std::filesystem::path log = start / "kelvane.log";
  if (std::filesystem::exists(std::filesystem::symlink_status(log))) result.log = fixture::read_file(log);
  return result;
}

// Wine takes its drives from the links in the prefix's dosdevices folder.
run_result run_under_wine(const run_options& options) {
  const char* prefix = std::getenv("WINEPREFIX");
  const char* loader = std::getenv("KELVANE_E2E_WINE");
  if (prefix == nullptr || loader == nullptr) throw std::runtime_error("WINEPREFIX or KELVANE_E2E_WINE is not set");
  const std::vector<std::string> launch = {loader, std::getenv("KELVANE_E2E_EXE")};
  const char* with_faults = std::getenv("KELVANE_E2E_FAULTS_EXE");
  const std::filesystem::path devices = std::filesystem::path(prefix) / "dosdevices";
  if (!std::filesystem::exists(devices)) {
    // The first run makes the prefix; with an empty drive list it scans nothing.
    fixture::temp_dir scratch;
    std::vector<std::string> first = launch;
    first.push_back("");
    run_command(first, scratch.path(), {});
  }
  for (const auto& entry : std::filesystem::directory_iterator(devices)) {
    const std::string name = entry.path().filename().string();
    if (name.size() == 2 && name[1] == ':' && name != "c:" && name != "z:") std::filesystem::remove(entry.path());
  }
  map_drives(devices, options.drives);
  std::vector<std::string> command = launch;
  if (!options.faults.empty()) {
    if (with_faults == nullptr) throw std::runtime_error("KELVANE_E2E_FAULTS_EXE is not set");
    command[1] = with_faults;
  }
  command.insert(command.end(), options.args.begin(), options.args.end());
  return run_command(command, options.start, options.faults);
}

}  // namespace

bool under_wine() { return std::getenv("KELVANE_E2E_EXE") != nullptr; }

file_holder::file_holder(const std::filesystem::path& path) : marker_(path.string() + ".held") {
  std::vector<std::string> command = {KELVANE_HOLD_FILE, path.string()};
  if (under_wine()) {
    // Under Wine the path goes through its drive Z:, which maps "/".
    std::string dos = "Z:" + path.string();
    for (char& c : dos) c = c == '/' ? '\\' : c;
    command = {std::getenv("KELVANE_E2E_WINE"), std::getenv("KELVANE_E2E_HOLD_EXE"), dos};
  }
  pid_ = fork();
  if (pid_ == 0) {
    std::vector<char*> argv;
    for (std::string& word : command) argv.push_back(word.data());
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  for (int waited = 0; !std::filesystem::exists(marker_) && waited < 3000; ++waited) usleep(10000);
  if (!std::filesystem::exists(marker_)) throw std::runtime_error("the helper did not take " + path.string());
}

file_holder::~file_holder() {
  std::error_code ignored;
  std::filesystem::remove(marker_, ignored);
  int status = 0;
  waitpid(pid_, &status, 0);
}

bool can_run_as_nobody() { return !under_wine() && geteuid() == 0 && access("/usr/bin/setpriv", X_OK) == 0; }

run_result run_kelvane(const run_options& options) {
  if (under_wine()) return run_under_wine(options);
  fixture::temp_dir table;
  map_drives(table.path(), options.drives);
  std::vector<std::string> command;
  if (options.as_nobody) {
    command = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  }
  command.push_back(options.faults.empty() ? shared_binary().string() : KELVANE_WITH_FAULTS);
  command.insert(command.end(), options.args.begin(), options.args.end());
  environment variables = options.faults;
  variables["KELVANE_DRIVES"] = table.path().string();
  return run_command(command, options.start, variables);
}

}  // namespace e2e
