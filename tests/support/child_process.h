// Runs a check in a child process, killed after a time limit, and when asked
// as the unprivileged user "nobody": a hang fails the test instead of
// blocking it, and a permission check bites even when the tests run as root.
#pragma once

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

namespace vorlo::testing {

inline constexpr uid_t kNobody = 65534;

// True when `check` returned true in the child within `seconds`.
inline bool PassesInChild(const std::function<bool()>& check, bool asNobody = false, unsigned seconds = 10) {
  const pid_t pid = ::fork();
  if (pid == 0) {
    ::alarm(seconds);
    if (asNobody && ::geteuid() == 0 &&
        (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0))
      ::_exit(3);
    ::_exit(check() ? 0 : 1);
  }
  int status = 0;
  if (pid < 0 || ::waitpid(pid, &status, 0) != pid) return false;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace vorlo::testing
