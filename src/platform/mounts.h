// The system side of the local drives: the mount table text, whether a block
// device is removable (from sysfs), and the total size of a mounted drive.
#pragma once

#include <cstdint>
#include <string>

namespace vorlo {

// The text of /proc/self/mountinfo; empty when it cannot be read.
std::string ReadMountInfo();

// True when the block device behind a mount is removable media: the sysfs
// `removable` flag of its disk (a partition asks its parent disk; a device
// mapper or RAID device is removable when a device below it is). The device
// is found by major:minor, else by the source path with links resolved.
// Unknown devices count as not removable. `sysRoot` lets tests use a fake tree.
bool IsRemovableBlockDevice(uint32_t major, uint32_t minor, const std::string& source,
                            const std::string& sysRoot = "/sys");

struct DriveSize {
  uint64_t bytes = 0;
  int error = 0;  // errno of statvfs, 0 on success
};

// Total size of the file system mounted at `mountPoint` (f_blocks × f_frsize).
[[nodiscard]] DriveSize DriveTotalSize(const std::string& mountPoint);

}  // namespace vorlo
