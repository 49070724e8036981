// Memory of an analysis run: an "Analyze only" through the run control, with
// the scripted port and file remover of the tests, of TYPES junk types that
// each take every file below ROOT (the first sends to the Recycle Bin, the
// others delete), so the first type finds every file and the others find
// only dupes. Prints the files found and the process's peak resident memory.
//
//   analysis_bench ROOT [TYPES]      (TYPES defaults to 2)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "proc_status.h"
#include "support/run_fixture.h"

int main(int argc, char** argv) {
  using namespace vorlo;
  if (argc < 2 || argc > 3) {
    std::fprintf(stderr, "usage: analysis_bench ROOT [TYPES]\n");
    return 1;
  }
  const std::string root = argv[1];
  const int types = argc > 2 ? std::atoi(argv[2]) : 2;

  testing::RunFixture f;
  for (int i = 0; i < types; ++i)
    f.list.Append(TJunkFileObj("All " + std::to_string(i + 1), true,
                               i == 0 ? CleanupMethod::cuRecycle : CleanupMethod::cuDelete,
                               FolderList{{root, FolderRule::pFolAndSub}}, {"*.*"}, {}, {}, {}, {}));
  f.Runs();
  const long startKb = bench::StatusKb("VmHWM:");
  const auto t0 = std::chrono::steady_clock::now();
  f.RunToEnd([](RunControl& r) { r.act10Execute(); });
  const double secs = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();

  const RunControl::Outcome& o = f.Runs().LastOutcome();
  std::printf("analysis of %d types below %s: found %d files (%lld bytes) in %.2f s\n", o.types, root.c_str(),
              o.files, static_cast<long long>(o.bytes), secs);
  std::printf("peak RSS before the run %.1f MB, after %.1f MB; RSS at the end %.1f MB\n", startKb / 1024.0,
              bench::StatusKb("VmHWM:") / 1024.0, bench::StatusKb("VmRSS:") / 1024.0);
  return 0;
}
