// A clean-up of listed files, the ticked files of an analysis's kept
// results: no folder is searched. The folder of each listed file is read
// afresh and the file is taken only while its junk type would still take it
// (its folders, delete and protect specifications, restrictions and the
// files always spared) and it is still the file that was found (device,
// inode, size, modification time). Every other listed file goes to the sink
// as an error, kChangedSinceAnalysis, so that each one is accounted for.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/found_results.h"
#include "core/scan_walk.h"

namespace vorlo {

struct ListedFile {
  std::string name;
  FoundRecord found;  // what the analysis saw of it
};

struct ListedFolder {
  std::string path;  // without trailing "/", as found
  std::vector<ListedFile> files;
};

// The walk of `request.listed` for `TJ` (WalkJunkType hands it on).
ScanCounts WalkListedFiles(const TJunkFileObj& TJ, const ScanRequest& request);

}  // namespace vorlo
