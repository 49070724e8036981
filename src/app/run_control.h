// Run control: the clean-up run, the analysis run and the count, each
// scanning junk types on the scan thread and talking to the person through
// the user port. Everything here runs on the main thread except the sinks
// of found files (DoCleanup, DoCleanTest), which run on the scan thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "app/run_log.h"
#include "app/type_count.h"
#include "core/data_files.h"
#include "core/path_set.h"
#include "core/scan_thread.h"
#include "platform/file_lock.h"
#include "platform/locale_info.h"
#include "platform/trash.h"

namespace vorlo {

class Clock;
class FileRemover;
class JunkList;
class ListingStore;
struct RemovalResult;
class LocalDriveSource;
class MainThreadExecutor;
class RecycleBinCheck;
class StopEvent;
class UserPort;

struct RunSetup {
  UserPort& port;
  JunkList& list;
  MainThreadExecutor& mainThread;
  const Clock& clock;
  const LocalDriveSource& drives;
  RecycleBinCheck& bins;
  FileRemover& remover;
  NumberSeparators separators;
  DataFiles files;                          // the logs
  std::string programFolder;                // never searched
  std::vector<std::string> skipFolders;     // never entered (home trash, home holding folder)
  std::function<std::string()> dateTimeStamp;  // long date, two blanks, hh:mm:ss am/pm
  std::function<std::string()> timeStamp;      // hh:mm:ss am/pm
};

// Run state (VeryBusy).
enum class RunState { Idle, Counting, Running };

// The Recycle Bin batch holds at most this many characters of paths (each
// path counts its terminator), leaving room for the list's end.
inline constexpr size_t rbSize = 16384;
inline constexpr size_t rbMax = rbSize - 2;
// Folders a batch holds open at most (fewer when the process may open fewer
// files); a batch that would need more is sent early, so that a batch of
// short paths stays within the descriptor limit.
inline constexpr size_t rbMaxFolders = 256;

class RunControl {
 public:
  explicit RunControl(RunSetup setup);
  ~RunControl();
  RunControl(const RunControl&) = delete;
  RunControl& operator=(const RunControl&) = delete;

  // "&Clean up": starts a clean-up run, or stops the active run.
  void aCleanupExecute();
  // "&Analyze only": starts an analysis run, or stops the active run.
  void act10Execute();
  // "Coun&t": counts the selected row's type, or stops the active count.
  void aCountExecute(int selectedRow);

  RunState VeryBusy() const { return VeryBusy_; }
  int32_t CleanIdx() const { return CleanIdx_; }
  // Files removed for the current type, for status panel 0 (sampled).
  int32_t CleanCountOneNow() const { return CleanCountOne_.load(std::memory_order_relaxed); }
  ScanProgress& Progress() { return progress_; }
  // The run's current type is the k-th checked one (main thread).
  int32_t TypesStarted() const { return CleanedTypes_; }

  // How the last run or count ended.
  struct Outcome {
    bool stopped = false;
    int32_t types = 0;
    int32_t files = 0;
    int32_t errors = 0;
    int64_t bytes = 0;
    bool failed = false;  // refused, or its log could not be written
  };
  const Outcome& LastOutcome() const { return outcome_; }
  // Called on the main thread after a run or count has ended.
  std::function<void()> finished;
  // Called on the main thread when a run's start unchecked types; the window
  // stores the list, vorlo-cli leaves its list file alone.
  std::function<void()> listChanged;
  // A run reads each folder once and lets its later types walk the kept
  // listing; off, every type walks the disk itself (same results, slower).
  bool reuseListings = true;

 private:
  // No run while a count is active or with no checked type; the status
  // bar says which.
  bool MayStartRun();
  bool BinCheckAllowsRun();
  void StartRun(bool test);
  bool OpenRunLog(bool test);
  void LogFailed();
  void StartType(bool first);
  void LogOne(size_t row, bool isTest);
  void StartScan();
  std::vector<std::string> RootsFrom(size_t from) const;
  void PruneListings();
  bool NextCheckedRow();
  void EndRun(bool stopped);
  void WriteClosingLines(bool test);
  bool WriteBinStatistics();
  std::string ClosingMessage(bool stopped, bool binWarning, int logError) const;

  void DoCleanup(const FoundFile& file);
  void DoRecycle(const FoundFile& file);
  void DoHolding(const FoundFile& file);
  void DoDelete(const FoundFile& file);
  void SendBatch();
  int BatchFolder(const FoundFile& file);
  void ClearBatch();
  void UncountRecycled(size_t i);
  void CountRemoved(int64_t fSize, bool permanent);
  void LogRemovalError(std::string_view S, int err);
  void DoCleanTest(const FoundFile& file);
  void DoneRunType(bool stopped);

  void ReptCounting(const CountResult& counted);
  void DoneCounting(bool stopped);

  std::string Bytes(int64_t n) const;

  RunSetup s_;
  ScanProgress progress_;
  ScanContext context_;
  std::unique_ptr<StopEvent> StopEvent_;  // of a run
  std::unique_ptr<ListingStore> listings_;  // of a run: the folders its scans have read
  TypeCount count_;
  RunLog CleanFile_;
  FileLock runLock_;  // one run at a time per data folder

  RunState VeryBusy_ = RunState::Idle;
  bool TestMode_ = false;
  int32_t CleanIdx_ = -1;
  int32_t CleanedTypes_ = 0;
  std::atomic<int32_t> CleanCountOne_{0};
  int32_t CleanSum_ = 0;
  int32_t NonPermSum_ = 0;
  int32_t CleanErr_ = 0;
  int64_t CleanSize_ = 0;
  CleanupMethod CleanMethod_ = CleanupMethod::cuRecycle;

  std::vector<TrashItem> RecFiles_;  // the Recycle Bin batch, each file anchored to its folder
  std::vector<int64_t> RecSizes_;    // their sizes as the scan saw them
  size_t RecFilesChars_ = 0;
  HeldFolders RecFolders_;           // the batch's folders, one descriptor each
  size_t RecFolderBudget_ = rbMaxFolders;  // how many it may hold in this run
  int RecScanFolder_ = -1;           // the scan's descriptor of the last one held
  std::string RecFolderPath_;        // and its path

  PathSet TestList_;                   // paths found in this analysis
  std::vector<std::string> binRoots_;  // drives of the statistics

  Outcome outcome_;
};

}  // namespace vorlo
