// vorlo-cli's runs: analyze, clean and count on the stored list, with the
// same logs as the window; Ctrl+C stops a run as the stop command does.
#pragma once

#include <cstdio>
#include <optional>
#include <string>

namespace vorlo::cli {

enum class RunKind { Analyze, Clean, Count };

struct RunRequest {
  RunKind kind = RunKind::Analyze;
  std::string dataFolder;  // empty: the user's data folder
  size_t countIndex = 0;   // 1-based, for Count
  bool yes = false;        // answer questions with Yes (else No)
  // For Clean: only the kept results' files this list file names, each by
  // its type's method, nothing searched; `nul`: its entries end with NUL.
  std::optional<std::string> found{};
  bool nul = false;
  // The clean-up was started by the schedule's timer, not by a person: it
  // skips the junk types that delete files permanently, waits for the next
  // period when another run or the window holds the data folder, and ends
  // with a desktop notification instead of a question.
  bool scheduled = false;
};

// Exit code: 0 a completed run, 1 a stopped run, removal errors, a listed
// file that is not in the kept results, or a run that could not start.
int RunOnStoredList(const RunRequest& request, std::FILE* out, std::FILE* err);

}  // namespace vorlo::cli
