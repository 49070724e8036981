// Running another program and taking what it prints: the service manager's
// command line (systemctl) for the schedule. The program is looked up on
// PATH, reads nothing (its input is /dev/null) and is killed when it takes
// longer than it is given.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace vorlo {

struct ProgramRun {
  int startError = 0;  // errno when it could not be started (ENOENT: not on PATH)
  int exitCode = -1;   // -1 when a signal ended it (or it was killed for taking too long)
  std::string out;
  std::string err;

  bool Succeeded() const { return startError == 0 && exitCode == 0; }
};

// 0 when `path` is a regular file this user may run; else the errno
// (EACCES, ENOENT, EISDIR for a folder).
[[nodiscard]] int ProgramFileError(const std::string& path);

// Runs argv[0] with the arguments that follow and waits for it to end.
ProgramRun RunProgram(const std::vector<std::string>& argv,
                      std::chrono::milliseconds limit = std::chrono::seconds(90));

}  // namespace vorlo
