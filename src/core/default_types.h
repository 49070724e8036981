// The table of default junk types that fills the junk list at the first
// start and the defaults chooser. Some rows search folders of this machine;
// those folders are passed in, so the table itself reads nothing.
#pragma once

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
};

// The folders of this machine: config home, no internet cache, the system
// temporary folder, $TMPDIR, "/", the home folder, the cache home
// ($XDG_CACHE_HOME, else ~/.cache) and /var/tmp.
DefaultFolders SystemDefaultFolders();

// Appends the default junk types to `list`, in table order, the Linux rows
// last. Every row's method is "move to holding folder" when `RecycleProb`,
// else "send to Recycle Bin"; the Delphi row always deletes.
void AddAllDefaults(std::vector<TJunkFileObj>& list, bool RecycleProb, const DefaultFolders& f);

}  // namespace vorlo
