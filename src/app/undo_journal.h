// The undo journal: one file per clean-up in the data folder's folder
// "Vorlo.undo", "run-<number>.undo", holding the run's number and start
// and, as the run goes, each file it sends to the trash, moves to the
// holding folder or deletes: its original path (bytes), what identifies it
// (device, inode, size, modification time), the mode of its folder, and
// where it went. A file's entry reaches the disk before the file goes (one
// flush per trash batch, per holding move), so a crash loses no removed
// file's entry; where it went is added after the move and is only a
// shortcut (undo finds the file by its identity without it). Undo appends
// what it put back. The 20 newest runs are kept.
//
// Lines of text: "VORLO-UNDO 1 <run> <start>", then per file an intention
// "T|H <n> <path> <dev> <ino> <size> <mtime-ns> <folder-mode>" or a deletion
// "D <n> <path> <size>", its place "S <n> <trash> <name>" or "M <n> <held>",
// and "R <n>" once restored, "X <n>" once an undo found it gone from there,
// "U" once an undo has run; paths percent-encoded.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dir_listing.h"
#include "platform/output_file.h"
#include "platform/trash.h"

namespace vorlo {

enum class JournalMethod : char { Trash = 'T', Holding = 'H', Deleted = 'D' };

struct JournalEntry {
  uint32_t number = 0;
  JournalMethod method = JournalMethod::Trash;
  std::string original;
  FileIdentity identity;  // as the file went
  uint32_t folderMode = 0;
  bool placed = false;    // the run recorded where it went
  TrashPlace trash;       // in the trash, when placed
  std::string held;       // in the holding folder, when placed
  bool restored = false;
  bool gone = false;      // an undo found it no longer where the run put it
};

struct JournalRun {
  uint32_t number = 0;
  int64_t startUtc = 0;
  std::string file;  // the journal file
  std::vector<JournalEntry> entries;
  bool undone = false;  // an undo of it has run (to its end or not)
};

// A file about to go.
struct JournalIntent {
  std::string original;
  FileIdentity identity;
  uint32_t folderMode = 0;
};

class UndoJournal {
 public:
  // Runs kept, the new one included.
  static constexpr size_t kRunsKept = 20;

  // `folder`: the journal folder (data folder + "Vorlo.undo").
  explicit UndoJournal(std::string folder) : folder_(std::move(folder)) {}

  // A clean-up starts: its journal is made, runs beyond the newest ones
  // kept are removed. 0, or the errno (the run must not start).
  [[nodiscard]] int Begin(int64_t startUtc);
  // Records files about to go and flushes them to disk; returns the number
  // of the first entry (the others follow), 0 when the record failed (the
  // files must stay).
  [[nodiscard]] uint32_t Intend(JournalMethod method, const std::vector<JournalIntent>& files);
  void Sent(uint32_t entry, const TrashPlace& place);
  void Moved(uint32_t entry, const std::string& held);
  // A file deleted permanently (it cannot come back; undo says so).
  void Deleted(const std::string& original, int64_t size);
  // What Sent, Moved and Deleted recorded, to disk.
  void Flush();
  void End();
  // The first failure, 0 if none.
  int Error() const { return error_; }
  bool Active() const { return file_.IsOpen(); }

  // Every run kept, newest first.
  static std::vector<JournalRun> ReadRuns(const std::string& folder);
  // Undo's record that it ran on the run in `file`, which entries are back
  // and which it found gone; 0 or errno.
  static int RecordUndo(const std::string& file, const std::vector<uint32_t>& restored,
                        const std::vector<uint32_t>& gone);

 private:
  void Write(const std::string& lines, bool sync);

  std::string folder_;
  OutputFile file_;
  std::string pending_;  // written, not yet flushed
  uint32_t next_ = 1;
  int error_ = 0;
};

}  // namespace vorlo
