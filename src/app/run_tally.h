// The totals of a clean-up or analysis run, as one value.
#pragma once

#include <cstdint>

namespace vorlo {

struct RunTally {
  int32_t types = 0;         // CleanedTypes: junk types started
  int32_t removed = 0;       // CleanSum: files removed (found, in an analysis)
  int32_t nonPermanent = 0;  // NonPermSum: of those, not deleted permanently
  int32_t errors = 0;        // CleanErr: files that could not be removed, and scans that broke off
  int64_t bytes = 0;         // CleanSize: their sizes

  void Removed(int64_t size, bool permanent) {
    ++removed;
    if (!permanent) ++nonPermanent;
    bytes += size;
  }
};

}  // namespace vorlo
