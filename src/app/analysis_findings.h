// What an analysis keeps while it runs: each found path once (a later find
// of it is a duplicate), and what would go to each drive's Recycle Bin.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/path_set.h"

namespace vorlo {

struct AllBinInfo;

class AnalysisFindings {
 public:
  // Starts a new analysis over the drives `bins` lists: no path found yet,
  // no demand on any bin.
  void Start(AllBinInfo& bins);
  // True the first time `path` is found in this analysis.
  bool FirstFind(std::string_view path) { return found_.Insert(path); }
  // A file that would go to the Recycle Bin of its drive.
  void AddBinDemand(std::string_view path, int64_t size);
  // Gives the memory of a large analysis back.
  void Clear();

 private:
  PathSet found_;
  AllBinInfo* bins_ = nullptr;
  std::vector<std::string> roots_;  // the drives of the statistics
};

}  // namespace vorlo
