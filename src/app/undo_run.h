// Undoing a clean-up: every file the run sent to the trash or moved to the
// holding folder that is still there, and still the same file, renamed back
// to where it was; never overwriting, never copying. What each file's undo
// came to is recorded in the run's journal, so that an undo cut short
// finishes when run again and a second undo restores nothing twice.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "app/undo_journal.h"
#include "platform/removal.h"
#include "platform/trash.h"

namespace vorlo {

struct UndoSetup {
  std::string journalFolder;
  TrashSetup trash;      // its trash folders, of the drives as they are now
  HoldingSetup holding;  // its holding folders
};

// A run as `vorlo-cli runs` and the window show it.
struct RunSummary {
  uint32_t number = 0;
  int64_t startUtc = 0;
  int32_t files = 0;       // removed: sent, moved or deleted
  int64_t bytes = 0;
  int32_t restorable = 0;  // still in the trash or the holding folder
  int32_t pending = 0;     // removed, not deleted, not restored yet
};

// Every run kept, newest first.
std::vector<RunSummary> SummarizeRuns(const UndoSetup& setup);

enum class UndoState {
  Restored,     // back where it was
  InTheWay,     // a file is in the way at its path
  NotInTrash,   // no longer in the trash
  NotInHolding, // no longer in the holding folder
  Deleted,      // deleted permanently: cannot come back
  Failed,       // the system's error
};

struct UndoFile {
  std::string original;
  UndoState state = UndoState::Failed;
  int error = 0;  // with Failed
};

// The reason an undone file did not come back, as logs and vorlo-cli say it.
std::string UndoReason(const UndoFile& file);

class RunUndo {
 public:
  explicit RunUndo(UndoSetup setup) : setup_(std::move(setup)) {}

  // Takes run `number`, or with 0 the newest run that removed files and
  // has not been undone, or still has files to put back. False when there
  // is no such run.
  bool Load(uint32_t number);
  const JournalRun& Run() const { return run_; }
  // The files of the run left to undo, deleted ones included (they are
  // reported); a second undo of a finished run has none.
  size_t Files() const { return todo_.size(); }
  // Puts file `i` back (or says why not) and records it.
  UndoFile Restore(size_t i);
  // The journal learns what came back: 0 or the errno.
  int Finish();

 private:
  UndoFile RestoreFromTrash(const JournalEntry& e);
  UndoFile RestoreFromHolding(const JournalEntry& e);

  UndoSetup setup_;
  JournalRun run_;
  std::vector<size_t> todo_;       // indexes into run_.entries
  std::vector<uint32_t> restored_, gone_;  // entry numbers
};

}  // namespace vorlo
