// Sends the files named on standard input (one path a line) to the trash in
// the batches a clean-up run uses, and prints the seconds it took. Used by
// trash_bench.sh to compare with other trash clients.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/trash.h"

int main() {
  std::vector<std::string> paths;
  for (std::string line; std::getline(std::cin, line);)
    if (!line.empty()) paths.push_back(line);

  const vorlo::SystemClock clock;
  const vorlo::TrashSetup setup = vorlo::SystemTrashSetup({"/"}, clock);
  // A clean-up run sends a batch whenever the next path would take its
  // characters past 16382 (each path counted with its terminator).
  constexpr size_t kBatchChars = 16382;

  const auto start = std::chrono::steady_clock::now();
  size_t failures = 0;
  std::vector<std::string> batch;
  size_t used = 0;
  auto send = [&] {
    if (!batch.empty()) {
      const std::vector<vorlo::RemovalResult> results = vorlo::SendToTrash(batch, setup);
      if (std::any_of(results.begin(), results.end(), [](vorlo::RemovalResult r) { return !r.Done(); })) ++failures;
    }
    batch.clear();
    used = 0;
  };
  for (const std::string& path : paths) {
    if (used + path.size() + 1 > kBatchChars) send();
    batch.push_back(path);
    used += path.size() + 1;
  }
  send();
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  std::printf("%.3f\n", took.count());
  if (failures != 0) std::fprintf(stderr, "%zu batches had failures\n", failures);
  return failures == 0 ? 0 : 1;
}
