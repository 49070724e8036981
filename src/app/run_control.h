// Run control: the clean-up run, the analysis run and the count, each
// scanning junk types on the scan thread and talking to the person through
// the user port. This is the state machine (commands, the Recycle Bin gate,
// the checked rows one after the other, the end); the log's layout is
// RunReport's, the trash batch TrashBatch's, an analysis's findings
// AnalysisFindings'. Everything here runs on the main thread except the
// sinks of found files (DoCleanup, DoCleanTest), which run on the scan
// thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "app/analysis_findings.h"
#include "app/run_log.h"
#include "app/run_report.h"
#include "app/run_tally.h"
#include "app/trash_batch.h"
#include "app/type_count.h"
#include "app/undo_run.h"
#include "core/data_files.h"
#include "core/found_results.h"
#include "core/listed_walk.h"
#include "core/scan_thread.h"
#include "platform/file_lock.h"
#include "platform/locale_info.h"

namespace vorlo {

class Clock;
class FileRemover;
class JunkList;
class ListingStore;
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
  // Undo: where the clean-ups' journals are and the trash and holding
  // folders of the drives as they are now; a run's start as text. Without
  // it there is nothing to undo.
  std::function<UndoSetup()> undoSetup{};
  std::function<std::string(int64_t utc)> dateTimeAt{};
};

// Run state (VeryBusy).
enum class RunState { Idle, Counting, Running };

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
  // "Clean up ticked files" (run_control_found.cpp): a clean-up of exactly
  // the files of `ticked` (the kept results of an analysis, or part of
  // them), each by its type's method, nothing searched. A file that is no
  // longer the one found, or that its type would no longer take, stays
  // with an error line. False when it did not start (and the person was
  // told why).
  bool CleanUpFound(FoundResults ticked);
  // "&Undo last clean-up" (run_control_undo.cpp): puts back what clean-up
  // `number` (0: the newest with files left to put back) removed, asking
  // first unless `confirmed`; the clean-up command stops it. When it does
  // not start, the outcome says failed (no such run) or stopped (declined);
  // neither for a run undone already.
  void UndoExecute(uint32_t number = 0, bool confirmed = false);
  // Whether a clean-up has files left to put back, as the journals said
  // when a run last ended.
  bool CanUndo() const { return canUndo_; }
  void RefreshUndo();

  RunState VeryBusy() const { return VeryBusy_; }
  int32_t CleanIdx() const { return CleanIdx_; }
  // Files removed for the current type, for status panel 0 (sampled).
  int32_t CleanCountOneNow() const { return CleanCountOne_.load(std::memory_order_relaxed); }
  ScanProgress& Progress() { return progress_; }
  // The run's current type is the k-th checked one (main thread).
  int32_t TypesStarted() const { return tally_.types; }

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
  // Called on the main thread for each file an undo did not put back,
  // before `finished`.
  std::function<void(const UndoFile&)> notRestored;
  // Called on the main thread when a run's start unchecked types; the window
  // stores the list, vorlo-cli leaves its list file alone.
  std::function<void()> listChanged;
  // A run reads each folder once and lets its later types walk the kept
  // listing; off, every type walks the disk itself (same results, slower).
  bool reuseListings = true;
  // With kept listings, the names of each folder are matched once for all
  // types of the run; off, each type matches them itself (same results).
  bool shareMatcher = true;

 private:
  bool MayStartRun();
  bool BinCheckAllowsRun();
  bool BinProblemAllows(int disabled, bool anyLeft);
  void StartRun(bool test);
  bool BeginRun(bool test);
  bool NextFoundGroup();
  enum class LogKind { Analysis, CleanUp, Undo };
  bool OpenRunLog(LogKind kind);
  void LogFailed();
  bool NextCheckedRow();
  void StartType(bool first);
  std::vector<std::string> RootsFrom(size_t from) const;
  void PruneListings();
  void StartScan();
  void DoneRunType(TJunkDelThread* thread);
  void EndRun(bool stopped);

  void DoCleanup(const FoundFile& file);
  void Remove(const FoundFile& file);
  void SendBatch();
  void Failed(std::string_view path, int err);
  void Removed(std::string_view path, int64_t size, bool permanent);
  void DoCleanTest(const FoundFile& file);

  void ReptCounting(const CountResult& counted);
  void DoneCounting(bool stopped);

  void UndoFiles();
  void EndUndo();

  RunSetup s_;
  ScanProgress progress_;
  ScanContext context_;
  std::unique_ptr<StopEvent> StopEvent_;  // of a run
  std::unique_ptr<ListingStore> listings_;  // of a run: the folders its scans have read
  std::unique_ptr<TJunkDelThread> scan_;    // of the run's current type
  TypeCount count_;
  RunLog CleanFile_;
  RunReport report_{CleanFile_, s_.separators};
  FileLock runLock_;  // one run at a time per data folder

  RunState VeryBusy_ = RunState::Idle;
  bool TestMode_ = false;
  int32_t CleanIdx_ = -1;
  CleanupMethod CleanMethod_ = CleanupMethod::cuRecycle;
  RunTally tally_;
  std::atomic<int32_t> CleanCountOne_{0};
  TrashBatch batch_;               // the Recycle Bin batch (RecFilesBuff)
  AnalysisFindings findings_;      // TestList and the bins' demand
  // A clean-up of listed files: per type, its row and its files by folder.
  struct FoundGroup {
    int32_t row = -1;
    std::vector<ListedFolder> folders;
  };
  std::vector<FoundGroup> found_;
  size_t foundNext_ = 0;
  std::unique_ptr<RunUndo> undo_;  // of an undo
  std::jthread undoThread_;
  int32_t undoTotal_ = 0;
  bool canUndo_ = false;

  Outcome outcome_;
};

}  // namespace vorlo
