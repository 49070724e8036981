// Local drives: which mounts count as local disks (read from a mountinfo
// text), the drive list text, the local-drives entry text, and the drive that
// holds a path. The mount table and the removable test are passed in, so this
// unit reads nothing from the system itself.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/paths.h"  // DriveOfPath

namespace vorlo {

// One line of /proc/self/mountinfo, escapes (\040 and the like) decoded.
struct MountEntry {
  uint32_t mountId = 0;
  uint32_t parentId = 0;
  uint32_t major = 0;
  uint32_t minor = 0;
  std::string root;        // folder of the file system that is mounted here
  std::string mountPoint;
  std::string options;     // per-mount options
  std::vector<std::string> optionalFields;
  std::string fsType;
  std::string source;
  std::string superOptions;
};

// Parses a mountinfo text; lines that do not have its shape are skipped.
std::vector<MountEntry> ParseMountInfo(std::string_view text);

// True for the file system types that live on a local disk.
bool IsDiskFileSystem(std::string_view fsType);

using RemovableProbe = std::function<bool(const MountEntry&)>;

// Mount points of the local drives in byte order: "/" always, then every
// visible mount of a disk file system on a non-removable block device that is
// not an alias (a bind mount of a sub-folder, or a second mount of a file
// system already listed).
std::vector<std::string> LocalDriveRoots(const std::vector<MountEntry>& mounts, const RemovableProbe& isRemovable);

// For each root: root, addl, delim; the final delim removed once.
std::string LocalDrives(const std::vector<std::string>& roots, std::string_view addl, std::string_view delim);

inline constexpr std::string_view kLocalDrivesFormat = "Local drives (%s)";

// The local-drives entry text, e.g. "Local drives (/,/home)".
std::string LocalDrivesEntryText(const std::vector<std::string>& roots);


// The program's view of its local drives: the roots afresh on every call
// (a scan asks at each start, so a disk attached meanwhile is searched), and
// the entry text fixed on its first call for the rest of the program's life.
class LocalDriveSource {
 public:
  using MountInfoReader = std::function<std::string()>;

  LocalDriveSource(MountInfoReader readMountInfo, RemovableProbe isRemovable);

  // Safe to call from any thread.
  std::vector<std::string> Roots() const;
  // Main thread only: the first call fixes the text.
  const std::string& NameForAll();

 private:
  MountInfoReader readMountInfo_;
  RemovableProbe isRemovable_;
  std::optional<std::string> nameForAll_;
};

// The source over this machine's mount table and block devices.
LocalDriveSource SystemLocalDriveSource();

}  // namespace vorlo
