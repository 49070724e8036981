// Runs a program with extra environment and captures its output and exit code.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace vorlo::testing {

struct CommandResult {
  int exitCode = -1;
  std::string out;
  std::string err;
};

inline std::string ShellQuoted(const std::string& s) {
  std::string q = "'";
  for (char c : s) q += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return q + "'";
}

inline CommandResult RunCommand(const std::vector<std::string>& argv, const std::vector<std::string>& env = {}) {
  TempDir capture;
  std::string line = "env";
  for (const auto& e : env) line += " " + ShellQuoted(e);
  for (const auto& a : argv) line += " " + ShellQuoted(a);
  line += " >" + ShellQuoted(capture / "out") + " 2>" + ShellQuoted(capture / "err") + " </dev/null";
  const int status = std::system(line.c_str());
  CommandResult r;
  r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
  r.out = ReadFile(capture / "out");
  r.err = ReadFile(capture / "err");
  return r;
}

}  // namespace vorlo::testing
