#include "app/analysis_findings.h"

#include "core/found_file.h"
#include "core/recycle_bin.h"
#include "platform/paths.h"

namespace vorlo {

void AnalysisFindings::Start(AllBinInfo& bins, const std::string& resultsFile, int64_t startUtc) {
  found_.Clear();
  results_.Abandon();
  resultsError_ = results_.Begin(resultsFile, startUtc);
  bins_ = &bins;
  roots_.clear();
  for (DriveBinInfo& d : bins.DrivesInfo) {
    d.info.BinReq = 0;
    roots_.push_back(d.mountPoint);
  }
}

void AnalysisFindings::StartType(int32_t row, std::string_view caption) {
  if (results_.IsOpen()) type_ = results_.AddType(row, caption);
}

bool AnalysisFindings::Found(const FoundFile& file) {
  const PathSet::Inserted in = found_.Insert(file.path, type_);
  if (results_.IsOpen()) results_.Add(FoundEntry::Of(file, type_, in.added ? FoundEntry::kNotDupe : in.tag));
  return in.added;
}

void AnalysisFindings::AddBinDemand(std::string_view path, int64_t size) {
  if (bins_ == nullptr) return;
  if (const auto drive = DriveOfPath(roots_, path))
    if (OneBinInfo* bin = bins_->Drive(*drive)) bin->BinReq += size;
}

int AnalysisFindings::Finish(bool stopped) {
  if (resultsError_ != 0 || !results_.IsOpen()) return resultsError_;
  return resultsError_ = results_.Finish(stopped);
}

void AnalysisFindings::Clear() {
  found_.Clear();
  results_.Abandon();
}

}  // namespace vorlo
