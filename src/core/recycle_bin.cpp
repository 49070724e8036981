#include "core/recycle_bin.h"

#include <algorithm>
#include <iterator>
#include <utility>

namespace vorlo {

namespace {

template <typename Drives>
auto FindDrive(Drives& drives, const std::string& mountPoint) {
  return std::find_if(drives.begin(), drives.end(), [&](const DriveBinInfo& d) { return d.mountPoint == mountPoint; });
}

// Size × percent / 100 without the product overflowing 64 bits.
int64_t ShareOf(int64_t size, int32_t percent) {
  return size / 100 * percent + size % 100 * percent / 100;
}

}  // namespace

OneBinInfo* AllBinInfo::Drive(const std::string& mountPoint) {
  const auto it = FindDrive(DrivesInfo, mountPoint);
  return it == DrivesInfo.end() ? nullptr : &it->info;
}

const OneBinInfo* AllBinInfo::Drive(const std::string& mountPoint) const {
  const auto it = FindDrive(DrivesInfo, mountPoint);
  return it == DrivesInfo.end() ? nullptr : &it->info;
}

std::string BinDriveText(const std::vector<std::string>& mountPoints) {
  if (mountPoints.empty()) return {};
  if (mountPoints.size() == 1) return "drive " + mountPoints.front();
  std::string text = "drives ";
  for (size_t i = 0; i < mountPoints.size(); ++i) {
    if (i > 0) text += i + 1 == mountPoints.size() ? " and " : ", ";
    text += mountPoints[i];
  }
  return text;
}

std::string FillPlaceholder(const std::string& message, const std::string& sentence) {
  const size_t at = message.find("%s");
  if (at == std::string::npos) return message;
  std::string out = message;
  out.replace(at, 2, sentence);
  return out;
}

RecycleBinCheck::RecycleBinCheck(SettingsReader readSettings, DriveSizeReader readDriveSize)
    : readSettings_(std::move(readSettings)), readDriveSize_(std::move(readDriveSize)) {}

// A drive met for the first time goes after the drive that precedes it in
// the settings, so the records follow the drive order; records of drives
// that are gone stay where they were.
OneBinInfo& RecycleBinCheck::RecordFor(const std::vector<TrashDriveSettings>& settings, size_t index) {
  auto& drives = abi_.DrivesInfo;
  const std::string& mountPoint = settings[index].mountPoint;
  if (const auto it = FindDrive(drives, mountPoint); it != drives.end()) return it->info;
  auto at = drives.begin();
  if (index > 0) {
    const auto previous = FindDrive(drives, settings[index - 1].mountPoint);
    if (previous != drives.end()) at = std::next(previous);
  }
  return drives.insert(at, DriveBinInfo{mountPoint, {}})->info;
}

void RecycleBinCheck::BinInfoFromPurgeInfo(const std::vector<TrashDriveSettings>& settings) {
  abi_.OneSetting = false;  // every drive has its own trash
  for (const TrashDriveSettings& s : settings) {
    OneBinInfo& d = *abi_.Drive(s.mountPoint);
    d.HasBin = s.writable;
    d.BinPercent = s.percent;
    if (d.HasBin && d.InReg && d.DrvSize == 0) {
      const int64_t size = readDriveSize_ ? readDriveSize_(s.mountPoint) : -1;
      d.DrvSize = size < 0 ? -1 : size;
    }
    if (d.HasBin && d.InReg && d.DrvSize > 0) d.BinSize = ShareOf(d.DrvSize, d.BinPercent);
  }
}

bool RecycleBinCheck::RecycleBinProblem() {
  std::vector<TrashDriveSettings> settings = readSettings_ ? readSettings_() : std::vector<TrashDriveSettings>{};
  const bool changed = problem_ == -1 || settings != lastSeen_;
  if (!changed) return problem_ > 0;

  lastSeen_ = std::move(settings);
  const std::vector<TrashDriveSettings>& current = lastSeen_;
  for (size_t i = 0; i < current.size(); ++i) {
    OneBinInfo& d = RecordFor(current, i);
    if (current[i].listed) d.InReg = true;
    d.local = true;  // only local drives have settings
  }

  BinInfoFromPurgeInfo(current);
  badBinMsg_.clear();
  problem_ = 0;
  if (abi_.OneSetting) {
    if (!abi_.GlobalInfo.HasBin || abi_.GlobalInfo.BinPercent == 0) {
      problem_ = 1;
      badBinMsg_ = kOneSettingBinMsg;
    }
    return problem_ > 0;
  }
  // Only drives that are there now: a disk that was unmounted keeps its
  // figures, but its old settings must not block the trash for the others.
  std::vector<std::string> bad;
  for (const DriveBinInfo& drive : abi_.DrivesInfo) {
    const OneBinInfo& d = drive.info;
    if (!d.InReg || !d.local || (d.HasBin && d.BinPercent != 0)) continue;
    const bool present = std::any_of(current.begin(), current.end(),
                                     [&](const TrashDriveSettings& s) { return s.mountPoint == drive.mountPoint; });
    if (present) bad.push_back(drive.mountPoint);
  }
  if (!bad.empty()) {
    problem_ = 2;
    badBinMsg_ = std::string(kDrivesBinMsgHead) + BinDriveText(bad) + std::string(kDrivesBinMsgTail);
  }
  return problem_ > 0;
}

}  // namespace vorlo
