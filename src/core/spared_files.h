// Files that no junk type takes, whatever its specifications say: another
// user's file in a folder that everyone may write to (the kernel keeps
// others from removing it, and for root it still belongs to someone else),
// and the journal of a database that is still there (SQLite's write-ahead
// log, shared memory and rollback journal hold data not yet in the
// database). The scan counts them as protected.
#pragma once

#include <cstdint>
#include <string_view>

namespace vorlo {

// True for a folder that everyone may write to and that has the sticky bit
// (/tmp, /var/tmp), given its permission bits.
bool IsSharedStickyFolder(uint32_t folderMode);

// The database a journal name belongs to: "X" for "X-wal", "X-shm" and
// "X-journal"; empty for any other name.
std::string_view DatabaseOfJournal(std::string_view name);

}  // namespace vorlo
