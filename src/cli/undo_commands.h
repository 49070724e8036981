// vorlo-cli's undo: the clean-up runs that can be undone, and the undo of
// one, with the same lock and log as the window's.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vorlo::cli {

struct UndoRequest {
  std::string dataFolder;  // empty: the user's data folder
  uint32_t run = 0;        // 0: the newest run with files left to put back
  bool yes = false;        // answer the question with Yes (else ask on a terminal, or No)
};

// The runs kept, newest first: number, start, files and bytes removed, how
// many can still be restored. 0, or 1 when the data folder is missing.
int ListRuns(const std::string& dataFolder, std::FILE* out, std::FILE* err);

// Exit code: 0 when every restorable file came back, 1 otherwise (a file
// stayed, nothing to undo, declined, refused, stopped).
int UndoRun(const UndoRequest& request, std::FILE* out, std::FILE* err);

}  // namespace vorlo::cli
