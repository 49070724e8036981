#include "platform/priority.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <thread>
#include <utility>

namespace vorlo {
namespace {

// Linux keeps the nice value per thread; a thread that already runs must
// change with the process.
void SetAndCheckBothThreads() {
  std::atomic<pid_t> tid{0};
  std::atomic<bool> done{false};
  std::thread other([&] {
    tid = static_cast<pid_t>(syscall(SYS_gettid));
    while (!done) std::this_thread::yield();
  });
  while (tid == 0) std::this_thread::yield();
  bool ok = true;
  const std::pair<PriorityClass, int> steps[] = {
      {PriorityClass::High, -10}, {PriorityClass::AboveNormal, -5}, {PriorityClass::Realtime, -20},
      {PriorityClass::Normal, 0}};
  for (const auto& [c, nice] : steps) {
    SetOwnPriority(c);
    ok = ok && getpriority(PRIO_PROCESS, 0) == nice &&
         getpriority(PRIO_PROCESS, static_cast<id_t>(tid.load())) == nice;
  }
  done = true;
  other.join();
  std::_Exit(ok ? 0 : 1);
}

TEST(Priority, AppliesToEveryThread) {
  if (geteuid() != 0) GTEST_SKIP() << "raising the priority needs privileges";
  EXPECT_EXIT(SetAndCheckBothThreads(), ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace vorlo
