// The stop signal of a run or count: a manual-reset event that the main
// thread sets and resets and the scan thread tests without waiting.
#pragma once

#include <atomic>
#include <string>

namespace vorlo {

class StopEvent {
 public:
  explicit StopEvent(std::string name) : name_(std::move(name)) {}
  void Set() { set_.store(true, std::memory_order_release); }
  void Reset() { set_.store(false, std::memory_order_release); }
  bool IsSet() const { return set_.load(std::memory_order_acquire); }
  const std::string& Name() const { return name_; }

 private:
  std::string name_;
  std::atomic<bool> set_{false};
};

}  // namespace vorlo
