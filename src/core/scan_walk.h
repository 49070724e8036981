// The walk of one junk type: its folders searched, the files its delete
// specifications name found and tested against its restrictions and
// protections, every outcome counted, and each file that passes handed to a
// sink. A plain, synchronous call that a stop event cancels; the scan thread
// runs it on a thread of its own, tests call it directly.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "core/found_file.h"
#include "core/junk_type.h"
#include "platform/dir_prefetch.h"

namespace vorlo {

class Clock;
class ListingStore;
class LocalDriveSource;
class MainThreadExecutor;
class StopEvent;

// The latest path handed over, for a window title that samples it instead
// of being told about every file, and the folders searched so far.
class ScanProgress {
 public:
  void Publish(const std::string& path);
  std::string Latest() const;
  // One relaxed increment per folder: cheap enough for every walk.
  void FolderSearched(int64_t n = 1) { folders_.fetch_add(n, std::memory_order_relaxed); }
  int64_t FoldersSearched() const { return folders_.load(std::memory_order_relaxed); }

 private:
  mutable std::mutex mutex_;
  std::string latest_;
  std::atomic<int64_t> folders_{0};
};

// What a scan needs of its surroundings.
struct ScanContext {
  MainThreadExecutor& mainThread;
  const Clock& clock;
  const LocalDriveSource& drives;  // Roots() at each scan start
  // Folders never entered wherever a walk meets them (the home trash, the
  // holding folder below the home folder), without trailing "/".
  std::vector<std::string> skipFolders;
  ScanProgress* progress = nullptr;  // may be absent
  ReadAhead readAhead = ReadAhead::Auto;  // folders read ahead of the walk
};

// What one scan found: its report, and how it ended. Every found file is
// counted once in `matched` and at most once more, in `restricted` or in
// `protectedFiles`; the files handed to the sink are the rest, and `bytes`
// is the sum of their sizes.
struct ScanCounts {
  int64_t bytes = 0;            // fSizDel
  int32_t folders = 0;          // fNumDir: folders whose own files were searched
  int32_t matched = 0;          // fNumDel
  int32_t restricted = 0;       // fNumRes
  int32_t protectedFiles = 0;   // fNumProt
  bool stopped = false;         // the stop event ended the walk
  std::string error;            // what broke the walk off, when something did
  // Matched less restricted and protected, never below 0.
  int32_t Actual() const;
};

struct ListedFolder;

struct ScanRequest {
  const StopEvent& stop;
  FoundFileSink sink;          // empty: the walk only counts
  ListingStore* listings;      // the run's kept listings; null walks the disk alone
  const ScanContext& context;
  std::string myDir;           // never searched, nor anything below it
  // With it, no folder is searched: only these files are looked at
  // (listed_walk.h).
  const std::vector<ListedFolder>* listed = nullptr;
};

// The trash folders of a drive root: ".Trash" and ".Trash-<digits>".
bool IsTrashName(std::string_view name);
// The holding folder and the trash folders, never entered directly below a
// drive root.
bool IsDriveRootSkip(std::string_view name);
// `folder` + "/" + `name`, without a second slash after "/".
void JoinPath(std::string_view folder, std::string_view name, std::string& out);

// Walks `TJ`'s folders (or the local drives) in order, depth first. Errors
// of files and folders it cannot look at go to the sink (FoundFile::error);
// an exception of the sink passes through.
ScanCounts WalkJunkType(const TJunkFileObj& TJ, const ScanRequest& request);

}  // namespace vorlo
