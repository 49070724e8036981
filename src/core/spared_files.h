// Files that no junk type takes, whatever its specifications say: another
// user's file in a folder that everyone may write to (the kernel keeps
// others from removing it, and for root it still belongs to someone else),
// and the journal of a database that is still there (SQLite's write-ahead
// log, shared memory and rollback journal hold data not yet in the
// database). The scan counts them as protected.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "platform/dir_listing.h"

namespace vorlo {

// True for a folder that everyone may write to and that has the sticky bit
// (/tmp, /var/tmp), given its permission bits.
bool IsSharedStickyFolder(uint32_t folderMode);

// The database a journal name belongs to: "X" for "X-wal", "X-shm" and
// "X-journal"; empty for any other name.
std::string_view DatabaseOfJournal(std::string_view name);

// The two rules as a walk applies them to the candidates of one folder
// visit after another.
class SparedFiles {
 public:
  SparedFiles();
  // A new folder visit begins.
  void NewFolder() { listed_.clear(); }
  // Whether the candidate `name` (looked at as `st`) in the open `folder`
  // is spared. `mode` caches the folder's permission bits for the visit;
  // `listing` is the visit's listing of that folder.
  bool Spares(const DirListing& folder, std::optional<uint32_t>& mode, const DirEntries& listing,
              const EntryStat& st, std::string_view name);

 private:
  const uint32_t user_;
  std::string database_;
  std::unordered_set<std::string_view> listed_;  // of this visit, once a journal was met
};

}  // namespace vorlo
