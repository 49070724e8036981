#include "app/undo_run.h"

#include "app/texts.h"
#include "platform/file_ops.h"
#include "platform/restore.h"

namespace vorlo {

namespace {

// Where a removed file is now, if it is still where the run put it.
struct Place {
  TrashPlace trash;  // for the trash
  std::string held;  // for the holding folder
};

bool IsFileThere(const std::string& path, const FileIdentity& identity) {
  const std::optional<FileIdentity> there = IdentityAt(path);
  return there && SameFile(*there, identity);
}

std::optional<Place> Locate(const JournalEntry& e, const UndoSetup& setup) {
  if (e.method == JournalMethod::Trash) {
    if (e.placed && IsFileThere(e.trash.trash + "/files/" + e.trash.name, e.identity)) return Place{e.trash, {}};
    // Where it went was not recorded (a crash), or another program renamed
    // it inside the trash: its identity and its info file's path tell.
    for (const std::string& trash : TrashFolders(setup.trash))
      if (std::string name = FindInTrash(trash, e.original, e.identity, setup.trash.uid); !name.empty())
        return Place{{trash, std::move(name)}, {}};
    return std::nullopt;
  }
  if (e.method == JournalMethod::Holding) {
    if (e.placed) return IsFileThere(e.held, e.identity) ? std::optional<Place>(Place{{}, e.held}) : std::nullopt;
    for (const std::string& held : HoldingPlaces(e.original, setup.holding))
      if (IsFileThere(held, e.identity)) return Place{{}, held};
  }
  return std::nullopt;
}

// Whether the entry's file left its place at all: recorded as placed, or
// found where it went.
bool Removed(const JournalEntry& e, const UndoSetup& setup) {
  return e.placed || e.method == JournalMethod::Deleted || Locate(e, setup).has_value();
}

}  // namespace

std::vector<RunSummary> SummarizeRuns(const UndoSetup& setup) {
  std::vector<RunSummary> runs;
  for (const JournalRun& run : UndoJournal::ReadRuns(setup.journalFolder)) {
    RunSummary s{run.number, run.startUtc};
    for (const JournalEntry& e : run.entries) {
      if (!Removed(e, setup)) continue;
      ++s.files;
      s.bytes += e.identity.size;
      if (e.method == JournalMethod::Deleted || e.restored || e.gone) continue;
      ++s.pending;
      if (Locate(e, setup)) ++s.restorable;
    }
    runs.push_back(s);
  }
  return runs;
}

std::string UndoReason(const UndoFile& file) {
  switch (file.state) {
    case UndoState::Restored: return {};
    case UndoState::InTheWay: return std::string(texts::kUndoInTheWay);
    case UndoState::NotInTrash: return std::string(texts::kUndoNotInTrash);
    case UndoState::NotInHolding: return std::string(texts::kUndoNotInHolding);
    case UndoState::Deleted: return std::string(texts::kUndoDeleted);
    case UndoState::Failed: break;
  }
  return ErrorText(file.error);
}

bool RunUndo::Load(uint32_t number) {
  todo_.clear();
  restored_.clear();
  for (JournalRun& run : UndoJournal::ReadRuns(setup_.journalFolder)) {
    if (number != 0 && run.number != number) continue;
    std::vector<size_t> todo;
    bool pending = false;
    for (size_t i = 0; i < run.entries.size(); ++i) {
      const JournalEntry& e = run.entries[i];
      if (e.restored || e.gone || !Removed(e, setup_)) continue;
      // Deleted files are named by the first undo only.
      if (e.method == JournalMethod::Deleted && run.undone) continue;
      pending = pending || e.method != JournalMethod::Deleted;
      todo.push_back(i);
    }
    // Without a number: the newest run not undone yet, or with a file left
    // to put back (one that was in the way).
    if (number == 0 && (todo.empty() || (run.undone && !pending))) continue;
    run_ = std::move(run);
    todo_ = std::move(todo);
    return true;
  }
  return false;
}

UndoFile RunUndo::Restore(size_t i) {
  const JournalEntry& e = run_.entries[todo_[i]];
  UndoFile result;
  if (e.method == JournalMethod::Deleted) {
    result = {e.original, UndoState::Deleted, 0};
  } else if (IsFileThere(e.original, e.identity)) {
    // Back already: an undo cut short after the move. The trash entry it
    // left goes too.
    if (e.method == JournalMethod::Trash && e.placed) RemoveTrashInfo(e.trash.trash, e.trash.name, setup_.trash.uid);
    result = {e.original, UndoState::Restored, 0};
  } else {
    result = e.method == JournalMethod::Trash ? RestoreFromTrash(e) : RestoreFromHolding(e);
  }
  if (result.state == UndoState::Restored) restored_.push_back(e.number);
  if (result.state == UndoState::NotInTrash || result.state == UndoState::NotInHolding) gone_.push_back(e.number);
  return result;
}

UndoFile RunUndo::RestoreFromTrash(const JournalEntry& e) {
  const std::optional<Place> place = Locate(e, setup_);
  if (!place) return {e.original, UndoState::NotInTrash, 0};
  const RemovalResult r = vorlo::RestoreFromTrash(place->trash.trash, place->trash.name, e.original, e.identity,
                                                  e.folderMode, setup_.trash.uid);
  if (r.Done()) return {e.original, UndoState::Restored, 0};
  if (r.error == EEXIST) return {e.original, UndoState::InTheWay, 0};
  if (r.Gone() || r.error == kFileChanged) return {e.original, UndoState::NotInTrash, 0};
  return {e.original, UndoState::Failed, r.error};
}

UndoFile RunUndo::RestoreFromHolding(const JournalEntry& e) {
  const std::optional<Place> place = Locate(e, setup_);
  if (!place) return {e.original, UndoState::NotInHolding, 0};
  const RemovalResult r = vorlo::RestoreFromHolding(place->held, e.original, e.identity, e.folderMode);
  if (r.Done()) return {e.original, UndoState::Restored, 0};
  if (r.error == EEXIST) return {e.original, UndoState::InTheWay, 0};
  if (r.Gone() || r.error == kFileChanged) return {e.original, UndoState::NotInHolding, 0};
  return {e.original, UndoState::Failed, r.error};
}

int RunUndo::Finish() {
  if (run_.file.empty()) return 0;
  const int err = UndoJournal::RecordUndo(run_.file, restored_, gone_);
  run_.undone = true;
  return err;
}

}  // namespace vorlo
