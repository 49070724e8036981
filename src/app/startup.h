// Start-up and close of the main window without its widgets: where the list
// comes from (the recovery file on request, the data file, or the default
// table), the Recycle Bin check at activation, and the recovery file
// becoming the data file at close.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vorlo {

class JunkList;
class TJunkFileObj;
class RecycleBinCheck;
class UserPort;

struct DataFiles {
  std::string folder;  // with a trailing "/"
  std::string DataFile() const;
  std::string RecoveryFile() const;
};

// Fills the list as the window's creation does. A list file that cannot be
// read whole is kept aside as "<file>.bad" before anything can replace it,
// and the error says so; the records read before the fault stay.
void LoadStartupList(JunkList& list, UserPort& port, const DataFiles& files, RecycleBinCheck& bins,
                     const std::function<void(std::vector<TJunkFileObj>&, bool recycleProb)>& addDefaults);

// The activation step: with an unusable bin, unchecks every Recycle Bin
// type and tells the user how many were checked.
void DisableBinTypes(JunkList& list, UserPort& port, RecycleBinCheck& bins);

// The close step: the recovery file replaces the data file. Errors are
// shown; both files then stay as they were.
void PromoteRecoveryFile(UserPort& port, const DataFiles& files);

}  // namespace vorlo
