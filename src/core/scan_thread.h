// The scan thread: walks the folders of one junk type, finds the files its
// delete specifications name, tests each against the restrictions and
// protections, counts every outcome, hands each file that passes to a sink
// and at the end reports the counts on the main thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
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
class TJunkDelThread;

// Report, on the main thread while the scan waits.
using TJReptType =
    std::function<void(int64_t vSizDel, int32_t vNumDir, int32_t vNumDel, int32_t vNumRes, int32_t vNumProt)>;
// End notification, on the main thread, after the walk has ended.
using TJWhenDone = std::function<void(TJunkDelThread& thread)>;

// The latest path handed over, for a window title that samples it instead
// of being told about every file, and the folders searched so far.
class ScanProgress {
 public:
  void Publish(const std::string& path);
  std::string Latest() const;
  // One relaxed increment per folder: cheap enough for every walk.
  void FolderSearched() { folders_.fetch_add(1, std::memory_order_relaxed); }
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

class TJunkDelThread {
 public:
  bool WasStopped() const { return fStopped; }
  int32_t NumDir() const { return fNumDir; }
  int32_t NumDel() const { return fNumDel; }
  int32_t NumRes() const { return fNumRes; }
  int32_t NumProt() const { return fNumProt; }
  int64_t SizDel() const { return fSizDel; }

  ~TJunkDelThread();

 private:
  friend void ActOnFiles(const TJunkFileObj&, FoundFileSink, TJReptType, TJWhenDone, StopEvent&,
                         const std::string&, const ScanContext&, ListingStore*);
  class Walker;  // the folder walk of one scan (scan_thread.cpp)

  TJunkDelThread(const TJunkFileObj& vTJ, FoundFileSink vDoWhat, TJReptType vReport, TJWhenDone vWhenDone,
                 StopEvent& vStopEvent, std::string vMyDir, const ScanContext& context, ListingStore* listings);
  void Execute();
  // Runs `method` on the main thread and waits until it has returned; an
  // exception it throws comes back here.
  void Synchronize(const std::function<void()>& method);
  // Posts the end notification; the object is destroyed after it.
  void PostEnd();

  int32_t fNumDir = 0, fNumDel = 0, fNumRes = 0, fNumProt = 0;
  int64_t fSizDel = 0;
  ListingStore* fListings;  // the run's kept listings; null walks the disk alone
  std::string fMyDir;
  FoundFileSink fDoWhat;
  TJReptType fReport;
  TJWhenDone fWhenDone;
  const TJunkFileObj& fTJ;
  StopEvent& fStopEvent;
  bool fStopped = false;
  const ScanContext& fContext;
  std::thread thread_;
};

// Starts one scan of `TJ` on a new thread and returns at once. Without
// `WhenDone` nothing starts. `DoWhat` takes each file that passes, on the
// scan thread; without it the scan only counts. The type, the sink, the stop
// event and the context must outlive the scan (until `WhenDone` has
// returned); the thread object is destroyed right after `WhenDone`.
// `listings`, when given, are the run's kept folder listings: the scan walks
// what they hold and adds what it reads; only this scan may use them until
// `WhenDone`.
void ActOnFiles(const TJunkFileObj& TJ, FoundFileSink DoWhat, TJReptType DoReport, TJWhenDone WhenDone,
                StopEvent& vStopEvent, const std::string& vMyDir, const ScanContext& context,
                ListingStore* listings = nullptr);

}  // namespace vorlo
