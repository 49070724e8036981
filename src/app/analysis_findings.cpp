#include "app/analysis_findings.h"

#include "core/recycle_bin.h"
#include "platform/paths.h"

namespace vorlo {

void AnalysisFindings::Start(AllBinInfo& bins) {
  found_.Clear();
  bins_ = &bins;
  roots_.clear();
  for (DriveBinInfo& d : bins.DrivesInfo) {
    d.info.BinReq = 0;
    roots_.push_back(d.mountPoint);
  }
}

void AnalysisFindings::AddBinDemand(std::string_view path, int64_t size) {
  if (bins_ == nullptr) return;
  if (const auto drive = DriveOfPath(roots_, path))
    if (OneBinInfo* bin = bins_->Drive(*drive)) bin->BinReq += size;
}

void AnalysisFindings::Clear() { found_.Clear(); }

}  // namespace vorlo
