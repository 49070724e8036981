// Start-up and close without widgets: where the junk list comes from (the
// recovery file on request, the data file, or the default table), the
// Recycle Bin check at activation, and the recovery file becoming the data
// file at close. The window and vorlo-cli load the list the same way.
#pragma once

#include <string>
#include <vector>

#include "core/data_files.h"
#include "core/junk_type.h"

namespace vorlo {

class JunkList;
class RecycleBinCheck;
class UserPort;
struct DefaultFolders;

// The window offers the recovery file left by an abnormal end, and keeps an
// unreadable list file aside because its next save would replace it.
// vorlo-cli only reads the data file.
struct StartupLoad {
  bool offerRecovery = true;
  bool keepBadAside = true;
};

struct StartupList {
  std::vector<TJunkFileObj> types;
  bool failed = false;  // a read error was shown; the records before it are kept
};

// The list as a start loads it: from the recovery file when the user wants
// it restored, else from the data file when that holds anything, else the
// default table, made for the Recycle Bin's state as `bins` sees it. Read
// errors go to the port; with `keepBadAside` the unreadable file is first
// copied to "<file>.bad" and the error says so.
StartupList LoadStartupList(UserPort& port, const DataFiles& files, RecycleBinCheck& bins,
                            const DefaultFolders& defaults, StartupLoad how = {});

// The activation step: with an unusable bin, unchecks every Recycle Bin
// type and tells the user how many were checked.
void DisableBinTypes(JunkList& list, UserPort& port, RecycleBinCheck& bins);

// The close step: the recovery file replaces the data file. Errors are
// shown; both files then stay as they were.
void PromoteRecoveryFile(UserPort& port, const DataFiles& files);

}  // namespace vorlo
