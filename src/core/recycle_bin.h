// Whether the trash can be relied on for the junk types that send files
// there, with the message that says why not, and the per-drive figures that
// the analysis statistics use. Re-evaluates only when the settings changed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/trash_settings.h"

namespace vorlo {

struct OneBinInfo {
  bool HasBin = false;
  bool InReg = false;
  bool local = false;
  int32_t BinPercent = 0;
  int64_t BinSize = 0;
  int64_t BinReq = 0;
  int64_t DrvSize = 0;  // 0 not read yet, -1 unreadable
};

struct DriveBinInfo {
  std::string mountPoint;
  OneBinInfo info;
};

struct AllBinInfo {
  bool OneSetting = false;  // never true here: each drive has its own trash
  OneBinInfo GlobalInfo;
  std::vector<DriveBinInfo> DrivesInfo;  // in drive order
  // The record of a drive; nullptr when the check has not met it.
  OneBinInfo* Drive(const std::string& mountPoint);
  const OneBinInfo* Drive(const std::string& mountPoint) const;
};

inline constexpr std::string_view kOneSettingBinMsg =
    "RECYCLE BIN SETTINGS ERROR:\r\n\r\nThe Recycle Bin is configured to use one setting for all drives. It is "
    "either disabled, or it is set to use zero percent of each drive.\r\n\r\n%s\r\n\r\nPlease see the help for "
    "instructions on correcting this problem";
// The per-drive text is these two around the drive text.
inline constexpr std::string_view kDrivesBinMsgHead =
    "RECYCLE BIN SETTINGS ERROR:\r\n\r\nThe Recycle Bin is configured to use independent settings for different "
    "drives. On ";
inline constexpr std::string_view kDrivesBinMsgTail =
    ", the Recycle Bin is either disabled, or it is set to use zero percent of the drive.\r\n\r\n%s\r\n\r\nPlease "
    "see the help for instructions on correcting this problem";

// "drive /home"; "drives /, /data and /home".
std::string BinDriveText(const std::vector<std::string>& mountPoints);

class RecycleBinCheck {
 public:
  using SettingsReader = std::function<std::vector<TrashDriveSettings>()>;
  using DriveSizeReader = std::function<int64_t(const std::string& mountPoint)>;  // -1 on failure

  RecycleBinCheck(SettingsReader readSettings, DriveSizeReader readDriveSize);

  // True when the trash of some listed local drive is off or has no room.
  bool RecycleBinProblem();
  // The error text of the last evaluation with one "%s"; empty without a problem.
  const std::string& BadBinMsg() const { return badBinMsg_; }
  AllBinInfo& abi() { return abi_; }
  const AllBinInfo& abi() const { return abi_; }

 private:
  OneBinInfo& RecordFor(const std::vector<TrashDriveSettings>& settings, size_t index);
  void BinInfoFromPurgeInfo(const std::vector<TrashDriveSettings>& settings);
  SettingsReader readSettings_;
  DriveSizeReader readDriveSize_;
  AllBinInfo abi_;
  std::vector<TrashDriveSettings> lastSeen_;
  int32_t problem_ = -1;
  std::string badBinMsg_;
};

// Fills the "%s" of a message like BadBinMsg with `sentence`.
std::string FillPlaceholder(const std::string& message, const std::string& sentence);

}  // namespace vorlo
