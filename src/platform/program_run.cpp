#include "platform/program_run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace vorlo {

namespace {

struct Pipe {
  int fd[2] = {-1, -1};
  ~Pipe() {
    for (int& f : fd) CloseEnd(f);
  }
  static void CloseEnd(int& f) {
    if (f >= 0) ::close(f);
    f = -1;
  }
};

}  // namespace

int ProgramFileError(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return errno;
  if (S_ISDIR(st.st_mode)) return EISDIR;
  if (!S_ISREG(st.st_mode)) return EACCES;
  return ::access(path.c_str(), X_OK) == 0 ? 0 : errno;
}

ProgramRun RunProgram(const std::vector<std::string>& argv, std::chrono::milliseconds limit) {
  ProgramRun run;
  if (argv.empty()) {
    run.startError = EINVAL;
    return run;
  }
  Pipe out, err;
  if (::pipe2(out.fd, O_CLOEXEC) != 0 || ::pipe2(err.fd, O_CLOEXEC) != 0) {
    run.startError = errno;
    return run;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, out.fd[1], 1);
  posix_spawn_file_actions_adddup2(&actions, err.fd[1], 2);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = -1;
  const int spawned = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) {
    run.startError = spawned;
    return run;
  }
  Pipe::CloseEnd(out.fd[1]);
  Pipe::CloseEnd(err.fd[1]);

  // Both streams are read as they come, so that neither fills its pipe and
  // blocks the program.
  const auto deadline = std::chrono::steady_clock::now() + limit;
  pollfd fds[2] = {{out.fd[0], POLLIN, 0}, {err.fd[0], POLLIN, 0}};
  std::string* into[2] = {&run.out, &run.err};
  bool killed = false;
  while (fds[0].fd >= 0 || fds[1].fd >= 0) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
      ::kill(pid, SIGKILL);
      killed = true;
      break;
    }
    const int ready = ::poll(fds, 2, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready < 0) break;
    for (int i = 0; i < 2; ++i) {
      if (fds[i].fd < 0 || fds[i].revents == 0) continue;
      char buffer[4096];
      const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
      if (n > 0) {
        into[i]->append(buffer, static_cast<size_t>(n));
      } else if (n == 0 || errno != EINTR) {
        fds[i].fd = -1;  // the end is closed with its Pipe
      }
    }
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
  }
  if (!killed && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
  return run;
}

}  // namespace vorlo
