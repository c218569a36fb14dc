#include "e2e/runner.h"

#include <sys/wait.h>
#include <unistd.h>

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

}  // namespace

bool can_run_as_nobody() { return geteuid() == 0 && access("/usr/bin/setpriv", X_OK) == 0; }

run_result run_kelvane(const run_options& options) {
  fixture::temp_dir table;
  for (const auto& [letter, target] : options.drives) {
    std::filesystem::create_directory_symlink(target, table / (std::string(1, letter) + ":"));
  }
  std::vector<std::string> command;
  if (options.as_nobody) {
    command = {"/usr/bin/setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  }
  command.push_back(shared_binary().string());
  command.insert(command.end(), options.args.begin(), options.args.end());

  int pipe_fds[2];
  if (pipe(pipe_fds) != 0) throw std::runtime_error("pipe failed");
  const pid_t child = fork();
  if (child == 0) {
    dup2(pipe_fds[1], STDOUT_FILENO);
    close(pipe_fds[0]);
    close(pipe_fds[1]);
    if (chdir(options.start.c_str()) != 0) _exit(126);
    setenv("KELVANE_DRIVES", table.path().c_str(), 1);
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
  const std::filesystem::path log = options.start / "kelvane.log";
  if (std::filesystem::exists(std::filesystem::symlink_status(log))) result.log = fixture::read_file(log);
  return result;
}

}  // namespace e2e
