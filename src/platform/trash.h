// The desktop trash (freedesktop.org Trash specification 1.0): files on the
// home trash's file system go to $XDG_DATA_HOME/Trash, files on another
// local drive to that drive's $topdir/.Trash/$uid or $topdir/.Trash-$uid.
// A file is never copied to reach a trash.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorlo {

class Clock;

struct TrashSetup {
  std::string homeTrash;                // $XDG_DATA_HOME/Trash, without trailing "/"; empty: none
  std::vector<std::string> driveRoots;  // mount points of the local drives
  uint32_t uid = 0;
  const Clock* clock = nullptr;         // for DeletionDate (local time)
};

// The setup of this machine's user, from the environment.
TrashSetup SystemTrashSetup(std::vector<std::string> driveRoots, const Clock& clock);

// Sends the files in one call. Returns 0 when every file went, else the
// errno of the first failure; a failure does not stop the others.
// Afterwards every file that went no longer exists at its path and every
// other file still does. Only regular files and links are sent (folders
// EISDIR, special files EPERM); a link in the folder part of a path fails
// (ELOOP or ENOTDIR); a file whose file system has no usable trash stays
// (EXDEV, or the error met setting up that trash).
int SendToTrash(const std::vector<std::string>& paths, const TrashSetup& setup);

}  // namespace vorlo
