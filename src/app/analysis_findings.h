// What an analysis keeps while it runs: each found path once (a later find
// of it is a duplicate), what would go to each drive's Recycle Bin, and the
// results file of every found file, for the review.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/found_results.h"
#include "core/path_set.h"

namespace vorlo {

struct AllBinInfo;
struct FoundFile;

class AnalysisFindings {
 public:
  // Starts a new analysis, begun at `startUtc`, over the drives `bins`
  // lists: no path found yet, no demand on any bin, a new results file
  // beside `resultsFile` (the old one stays until Finish).
  void Start(AllBinInfo& bins, const std::string& resultsFile, int64_t startUtc);
  // A junk type starts (main thread): its files are kept under it.
  void StartType(int32_t row, std::string_view caption);
  // A found file (scan thread): true the first time its path is found. The
  // results keep it either way, a duplicate with the type that found it.
  bool Found(const FoundFile& file);
  // A file that would go to the Recycle Bin of its drive.
  void AddBinDemand(std::string_view path, int64_t size);
  // Puts the results file in place: 0, or the errno of its first failure
  // (the old file then stays).
  [[nodiscard]] int Finish(bool stopped);
  // Gives the memory of a large analysis back.
  void Clear();

 private:
  PathSet found_;  // tagged with the type that found each path
  FoundResultsWriter results_;
  int resultsError_ = 0;
  uint32_t type_ = 0;
  AllBinInfo* bins_ = nullptr;
  std::vector<std::string> roots_;  // the drives of the statistics
};

}  // namespace vorlo
