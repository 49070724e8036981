// Kept results of a large analysis: writes FILES synthetic found files
// (default 1,000,000) as an analysis writes them, loads them, and times the
// review's steps: ranking, sorting by every column both ways, filtering and
// ticking. Prints each time, the file's size and the peak resident memory.
//
//   review_bench [FILES] [FOLDER]     (FOLDER for the results file, default $TMPDIR or /tmp)
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "app/found_review.h"
#include "core/found_results.h"
#include "proc_status.h"

namespace {

class Stopwatch {
 public:
  double Lap() {
    const auto now = std::chrono::steady_clock::now();
    const double s = std::chrono::duration<double>(now - last_).count();
    last_ = now;
    return s;
  }

 private:
  std::chrono::steady_clock::time_point last_ = std::chrono::steady_clock::now();
};

}  // namespace

int main(int argc, char** argv) {
  using namespace vorlo;
  const long files = argc > 1 ? std::atol(argv[1]) : 1'000'000;
  const char* tmp = std::getenv("TMPDIR");
  const std::string folder = argc > 2 ? argv[2] : (tmp && *tmp ? tmp : "/tmp");
  const std::string path = folder + "/review-bench.found";
  if (files <= 0) {
    std::fprintf(stderr, "usage: review_bench [FILES] [FOLDER]\n");
    return 1;
  }

  // Six types; paths like a home folder's caches: 60,000 folders up to five
  // levels deep, names of 8 to 40 bytes, many with shared beginnings.
  std::mt19937_64 rng(20);
  const char* const typeNames[] = {"Thumbnail cache", "Browser caches", "Editor backups",
                                   "Old temporary files", "Trash of programs", "Crash reports"};
  std::vector<std::string> folders;
  for (int i = 0; i < 60000; ++i) {
    std::string f = "/home/user";
    for (int depth = 1 + static_cast<int>(rng() % 5); depth > 0; --depth)
      f += (rng() % 7 == 0 ? "/." : "/") + std::string(1, static_cast<char>('a' + rng() % 26)) +
           std::to_string(rng() % 400);
    folders.push_back(f + "/");
  }

  Stopwatch clock;
  FoundResultsWriter writer;
  if (const int err = writer.Begin(path, 1'700'000'000)) {
    std::fprintf(stderr, "cannot write %s: %d\n", path.c_str(), err);
    return 1;
  }
  for (int t = 0; t < 6; ++t) writer.AddType(t, typeNames[t]);
  std::string name;
  for (long i = 0; i < files; ++i) {
    const uint32_t type = static_cast<uint32_t>(i * 6 / files);
    const std::string& f = folders[static_cast<size_t>(i / 17) % folders.size()];
    name = rng() % 3 == 0 ? "cache_entry_" + std::to_string(rng() % 1000000) : std::to_string(rng());
    name += rng() % 2 ? ".tmp" : "~";
    const uint32_t dupe = rng() % 50 == 0 && type > 0 ? type - 1 : FoundEntry::kNotDupe;
    writer.Add({type, f + name, static_cast<int64_t>(rng() % 300000),
                1'600'000'000'000'000'000 + static_cast<int64_t>(rng() % 100'000'000'000'000'000), 2049, rng() % 50'000'000,
                dupe});
  }
  if (const int err = writer.Finish(false)) {
    std::fprintf(stderr, "cannot write %s: %d\n", path.c_str(), err);
    return 1;
  }
  const double writeSecs = clock.Lap();
  const auto fileBytes = std::filesystem::file_size(path);

  FoundResultsRead read = LoadFoundResults(path);
  const double loadSecs = clock.Lap();
  if (!read.ok()) {
    std::fprintf(stderr, "%s\n", read.message.c_str());
    return 1;
  }
  std::filesystem::remove(path);
  const size_t records = read.results.size();
  const size_t pathBytes = read.results.PathBytes();
  FoundReview review(std::move(read.results));
  const double rankSecs = clock.Lap();

  std::printf("%zu found files (%llu rows), paths %.1f MB; results file %.1f MB\n", records,
              static_cast<unsigned long long>(review.Count().files), pathBytes / 1e6, fileBytes / 1e6);
  std::printf("%-28s %8.3f s\n", "write (as an analysis does)", writeSecs);
  std::printf("%-28s %8.3f s\n", "load", loadSecs);
  std::printf("%-28s %8.3f s\n", "rank names, folders, paths", rankSecs);
  const char* const columns[] = {"type", "name", "folder", "size", "modified"};
  for (int c = 0; c < kReviewColumnCount; ++c)
    for (const bool descending : {false, true}) {
      clock.Lap();
      review.Sort(static_cast<ReviewColumn>(c), descending);
      std::printf("sort by %-8s %-11s %8.3f s\n", columns[c], descending ? "descending" : "ascending", clock.Lap());
    }
  for (const char* part : {"cache_entry_12", "/.K", "~", "no such part"}) {
    clock.Lap();
    review.SetFilter(part);
    const double s = clock.Lap();
    size_t shown = 0;
    for (size_t g = 0; g < review.GroupCount(); ++g) shown += review.FileCount(g);
    std::printf("filter %-21s %8.3f s   %zu shown\n", ("\"" + std::string(part) + "\"").c_str(), s, shown);
  }
  review.SetFilter("");
  clock.Lap();
  for (size_t g = 0; g < review.GroupCount(); ++g) review.SetGroupTicked(g, false);
  for (size_t g = 0; g < review.GroupCount(); ++g) review.SetGroupTicked(g, true);
  std::printf("%-28s %8.3f s\n", "untick and tick every type", clock.Lap());
  for (size_t g = 0; g < review.GroupCount(); ++g)
    for (size_t row = 0; row < review.FileCount(g); row += 2) review.SetTicked(review.FileAt(g, row), false);
  std::printf("%-28s %8.3f s\n", "untick every other file", clock.Lap());
  const FoundResults ticked = review.TickedResults();
  std::printf("%-28s %8.3f s   %zu files\n", "take the ticked files", clock.Lap(), ticked.size());
  std::printf("peak RSS %.1f MB\n", bench::StatusKb("VmHWM:") / 1024.0);
  return 0;
}
