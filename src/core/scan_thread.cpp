#include "core/scan_thread.h"

#include <exception>
#include <system_error>
#include <utility>

#include "core/main_thread.h"

namespace vorlo {

TJunkDelThread::~TJunkDelThread() { *alive_ = false; }

std::unique_ptr<TJunkDelThread> ActOnFiles(const TJunkFileObj& TJ, FoundFileSink DoWhat, TJReptType DoReport,
                                           TJWhenDone WhenDone, StopEvent& vStopEvent, const std::string& vMyDir,
                                           const ScanContext& context, ListingStore* listings,
                                           const std::vector<ListedFolder>* listed) {
  if (!WhenDone) return nullptr;
  std::unique_ptr<TJunkDelThread> scan(new TJunkDelThread());
  // The end reaches the main thread with its callbacks, so that the owner
  // may let the thread object go from within them.
  const auto end = [self = scan.get(), alive = scan->alive_, report = std::move(DoReport),
                    whenDone = std::move(WhenDone)] {
    if (!*alive) return;
    if (report && !self->counts_.stopped && self->counts_.error.empty()) report(self->counts_);
    if (*alive) whenDone(*self);
  };
  ScanRequest request{vStopEvent, DoWhat, listings, context, vMyDir, listed};
  try {
    scan->thread_ = std::jthread([self = scan.get(), request = std::move(request), &TJ, end]() mutable {
      try {
        self->counts_ = WalkJunkType(TJ, request);
      } catch (const std::exception& e) {
        self->counts_ = {};
        self->counts_.error = e.what();
      } catch (...) {
        self->counts_ = {};
        self->counts_.error = "unknown error";
      }
      request.context.mainThread.Post(end);
    });
  } catch (const std::system_error& e) {
    // No thread to be had: the scan ends as a failed one, and still ends.
    scan->counts_.error = e.what();
    context.mainThread.Post(end);
  }
  return scan;
}

}  // namespace vorlo
