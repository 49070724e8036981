// Putting back a file a clean-up removed: from the trash or the holding
// folder to its original path, by one rename that never replaces anything
// and never copies, without following a link on the way, the missing
// folders made again. Each call checks first that the file is still the one
// that went (its device, inode, size and modification time).
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/dir_listing.h"
#include "platform/removal.h"
#include "platform/trash.h"

namespace vorlo {

// The file is the one that went: the same inode with the same size and
// modification time (a rename changes only its change time).
bool SameFile(const FileIdentity& a, const FileIdentity& b);

// The identity of what `path` names now (a link itself); nothing when
// nothing is there or it cannot be looked at.
std::optional<FileIdentity> IdentityAt(const std::string& path);

// Renames the entry `name` of the trash folder `trash` (holding files/ and
// info/, both owned by `owner`) back to `original`, then removes its info
// file. ENOENT: no longer in the trash; kFileChanged: another file has that
// name there; EEXIST: a file is in the way at `original`. The folders of
// `original` that are missing are made with mode 0700, the file's own
// folder with `folderMode` when it is not 0.
RemovalResult RestoreFromTrash(const std::string& trash, const std::string& name, const std::string& original,
                               const FileIdentity& identity, uint32_t folderMode, uid_t owner);
// Removes the info file of `name` in `trash`, left when a restore was cut
// short after the file moved back.
void RemoveTrashInfo(const std::string& trash, const std::string& name, uid_t owner);
// The name in `trash` of the entry for `original` that holds the file of
// `identity`; empty when there is none.
std::string FindInTrash(const std::string& trash, const std::string& original, const FileIdentity& identity,
                        uid_t owner);
// The trash folders a file of this user may have gone to.
std::vector<std::string> TrashFolders(const TrashSetup& setup);

// Renames the file at `held` in a holding folder back to `original`; the
// same answers and folders as RestoreFromTrash.
RemovalResult RestoreFromHolding(const std::string& held, const std::string& original, const FileIdentity& identity,
                                 uint32_t folderMode);
// Where the holding folder keeps a file of `original`: below its drive's
// root or below the home folder.
std::vector<std::string> HoldingPlaces(const std::string& original, const HoldingSetup& setup);

}  // namespace vorlo
