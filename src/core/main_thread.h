// Work that must run on the main thread (a scan's report and end
// notification) is posted to an executor: the Qt event loop in the program,
// a plain queue in tests and in vorlo-cli.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

namespace vorlo {

class MainThreadExecutor {
 public:
  virtual ~MainThreadExecutor() = default;
  // Thread-safe; the task runs later on the main thread.
  virtual void Post(std::function<void()> task) = 0;
};

// A queue that the main thread drains itself.
class QueueExecutor final : public MainThreadExecutor {
 public:
  void Post(std::function<void()> task) override;
  // Runs queued tasks until `done()` is true, waiting for new ones.
  void RunUntil(const std::function<bool()>& done);
  // Runs what is queued now, without waiting.
  void RunPending();

 private:
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::function<void()>> tasks_;
};

}  // namespace vorlo
