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

// The window offers the recovery file left by an abnormal end, and keeps a
// damaged list file aside because its next save would replace it. It does
// not start on a list file it cannot read at all, and its error says so.
// vorlo-cli only reads the data file.
struct StartupLoad {
  bool offerRecovery = true;
  bool keepBadAside = true;
  bool refuseUnreadable = true;
};

struct StartupList {
  std::vector<TJunkFileObj> types;
  bool failed = false;      // a read error was shown; the records before it are kept
  bool unreadable = false;  // the list file could not be read at all: nothing was loaded
  // The recovery file was not to be restored but could not be set aside
  // (the error was shown): it must not become the data file at close.
  bool declinedKept = false;
};

// The list as a start loads it: from the recovery file when the user wants
// it restored (when not, that file is renamed to the declined file,
// replacing an older one, so that no later close makes it the data file),
// else from the data file when that holds anything, else the
// default table, made for the Recycle Bin's state as `bins` sees it. Only a
// data file that is not there or is empty means a first start: a folder, a
// link to nothing, a FIFO or a file the system will not read is an error
// naming the file, never the default table. Errors go to the port; with
// `keepBadAside` a damaged file is first copied to "<file>.bad" and the
// error says so.
StartupList LoadStartupList(UserPort& port, const DataFiles& files, RecycleBinCheck& bins,
                            const DefaultFolders& defaults, StartupLoad how = {});

// The activation step: with an unusable bin, unchecks every Recycle Bin
// type and tells the user how many were checked; returns that number.
int DisableBinTypes(JunkList& list, UserPort& port, RecycleBinCheck& bins);

// The close step: the recovery file replaces the data file. Errors are
// shown; both files then stay as they were.
void PromoteRecoveryFile(UserPort& port, const DataFiles& files);

}  // namespace vorlo
