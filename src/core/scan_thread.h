// The scan thread: runs the walk of one junk type (scan_walk.h) on a thread
// of its own and hands the outcome to the main thread: the report, when the
// walk ran to its end, then the end notification.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <thread>

#include "core/scan_walk.h"

namespace vorlo {

class TJunkDelThread;

// Report, on the main thread, of a walk that ran to its end.
using TJReptType = std::function<void(const ScanCounts& counts)>;
// End notification, on the main thread, after every walk.
using TJWhenDone = std::function<void(TJunkDelThread& thread)>;

class TJunkDelThread {
 public:
  // Waits for the walk (stop it first to be quick); its report and end
  // notification, if not run yet, are not run any more.
  ~TJunkDelThread();
  TJunkDelThread(const TJunkDelThread&) = delete;
  TJunkDelThread& operator=(const TJunkDelThread&) = delete;

  bool WasStopped() const { return counts_.stopped; }
  // The walk broke off on an error (an exception inside it): what it was.
  const std::string& Error() const { return counts_.error; }
  const ScanCounts& Counts() const { return counts_; }

 private:
  friend std::unique_ptr<TJunkDelThread> ActOnFiles(const TJunkFileObj&, FoundFileSink, TJReptType, TJWhenDone,
                                                    StopEvent&, const std::string&, const ScanContext&,
                                                    ListingStore*, const std::vector<ListedFolder>*);
  TJunkDelThread() = default;

  ScanCounts counts_;
  // Whether the owner still has this object; read and cleared on the main thread.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
  std::jthread thread_;
};

// Starts one scan of `TJ` on a new thread and returns its thread object at
// once; the caller keeps it at least until `WhenDone` has run. Without
// `WhenDone` nothing starts (null). `DoWhat` takes each file that passes, on
// the scan thread; without it the scan only counts. The type, the sink, the
// stop event and the context must outlive the scan. `listings`, when given,
// are the run's kept folder listings: only this scan may use them until
// `WhenDone`. With `listed` (which must outlive the scan too) no folder is
// searched: only the listed files are looked at (listed_walk.h).
[[nodiscard]] std::unique_ptr<TJunkDelThread> ActOnFiles(const TJunkFileObj& TJ, FoundFileSink DoWhat,
                                                         TJReptType DoReport, TJWhenDone WhenDone,
                                                         StopEvent& vStopEvent, const std::string& vMyDir,
                                                         const ScanContext& context, ListingStore* listings = nullptr,
                                                         const std::vector<ListedFolder>* listed = nullptr);

}  // namespace vorlo
