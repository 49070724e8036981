// What the folder picker shows of the file system: a folder's sub-folders
// without links (never followed) and folders on another mount, and for each
// whether it has such a sub-folder itself (its expand button). Dot-folders
// are shown: they are where programs keep their data and caches.
#pragma once

#include <string>
#include <vector>

namespace vorlo {

struct ShownFolder {
  std::string name;  // bytes as the file system gave them
  bool hasSubfolders = false;
};

// Whether the folder `Path` (with or without a trailing "/") has a
// sub-folder the picker shows; false when it cannot be listed.
bool AnySubdirs(const std::string& Path);

// The sub-folders of `Path` the picker shows, in the file system's order;
// none when it cannot be listed.
std::vector<ShownFolder> ListSubdirs(const std::string& Path);

}  // namespace vorlo
