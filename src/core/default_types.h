// The table of default junk types that fills the junk list at the first
// start and the defaults chooser. Some rows search folders of this machine;
// those folders, and what exists below them, are passed in, so the table
// itself reads nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "core/junk_type.h"

namespace vorlo {

struct DefaultFolders {
  std::string appData;      // roaming application data folder, with a trailing "/"
  std::string ieCache;      // internet cache folder, without a trailing "/"
  std::string tempPath;     // the system's temporary folder, with a trailing "/"
  std::string tempVar;      // the temporary folder variable, as it is
  std::string windowsRoot;  // the system folder's drive root
  std::string home{};       // the user's home folder, without a trailing "/"; empty when unknown
  std::string cacheHome{};  // the user's cache folder, without a trailing "/"; empty when unknown
  std::string varTmp = "/var/tmp";  // temporary files kept across restarts
  // What this machine holds: whether a folder is there, and the names of
  // the sub-folders of a folder (links left out). Rows whose folders vary
  // (browser profiles, Flatpak apps) take what is there; the first start
  // adds a Linux row only when one of its folders is there. Unset: nothing
  // is there.
  std::function<bool(const std::string& path)> isFolder{};
  std::function<std::vector<std::string>(const std::string& path)> subfolders{};
};

// The folders of this machine: config home, no internet cache, the system
// temporary folder, $TMPDIR, "/", the home folder, the cache home
// ($XDG_CACHE_HOME, else ~/.cache), /var/tmp, and the file system to probe.
DefaultFolders SystemDefaultFolders();

// Who the table is for: the first start takes the Linux rows whose folders
// are there; the defaults chooser offers every row whose base is known.
enum class DefaultsFor { FirstStart, Chooser };

// Appends the default junk types to `list`: first the Linux rows, checked,
// then the general rows in table order, unchecked (on Linux their names
// belong to other programs' files). Every row's method is "move to holding
// folder" when `RecycleProb`, else "send to Recycle Bin"; the Delphi row
// always deletes.
void AddAllDefaults(std::vector<TJunkFileObj>& list, bool RecycleProb, const DefaultFolders& f, DefaultsFor use);

}  // namespace vorlo
