// What the system says about the trash of each local drive: whether a trash
// folder exists for it, whether it is writable, and the size limit a KDE
// desktop keeps in ktrashrc. There is no switch that turns the trash off.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/trash.h"

namespace vorlo {

struct TrashDriveSettings {
  std::string mountPoint;
  bool listed = false;    // a trash folder for the drive exists
  bool writable = false;  // that folder can take files
  int32_t percent = 100;  // ktrashrc Percent when UseSizeLimit is true there, else 100
  bool operator==(const TrashDriveSettings&) const = default;
};

// One entry per drive root of `setup`, in its order. `ktrashrc` is the path
// of the KDE settings file (config home + "/ktrashrc"); a missing file
// means no limits.
std::vector<TrashDriveSettings> ReadTrashSettings(const TrashSetup& setup, const std::string& ktrashrc);

}  // namespace vorlo
