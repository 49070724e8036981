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
};

// The folders of this machine: config home, no internet cache, the system
// temporary folder, $TMPDIR and "/".
DefaultFolders SystemDefaultFolders();

// Appends the default junk types to `list`, in table order. Every row's
// method is "move to holding folder" when `RecycleProb`, else "send to
// Recycle Bin"; the Delphi row always deletes.
void AddAllDefaults(std::vector<TJunkFileObj>& list, bool RecycleProb, const DefaultFolders& f);

}  // namespace vorlo
