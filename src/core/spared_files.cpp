#include "core/spared_files.h"

#include <cerrno>

#include "platform/environment.h"

namespace vorlo {

bool IsSharedStickyFolder(uint32_t folderMode) {
  constexpr uint32_t kSticky = 01000, kOthersWrite = 0002;
  return (folderMode & kSticky) != 0 && (folderMode & kOthersWrite) != 0;
}

std::string_view DatabaseOfJournal(std::string_view name) {
  for (const std::string_view suffix : {std::string_view("-wal"), std::string_view("-shm"), std::string_view("-journal")})
    if (name.size() > suffix.size() && name.ends_with(suffix)) return name.substr(0, name.size() - suffix.size());
  return {};
}

SparedFiles::SparedFiles() : user_(EffectiveUserId()) {}

bool SparedFiles::Spares(const DirListing& folder, std::optional<uint32_t>& mode, const DirEntries& listing,
                         const EntryStat& st, std::string_view name) {
  if (st.uid != user_) {
    if (!mode) mode = folder.Mode().value_or(07777);  // unknown counts as shared
    if (IsSharedStickyFolder(*mode)) return true;
  }
  const std::string_view database = DatabaseOfJournal(name);
  if (database.empty()) return false;
  // The database as the listing saw it, so that an analysis and a clean-up
  // that removes the database first agree; or as it is now.
  if (listed_.empty())
    for (size_t i = 0; i < listing.size(); ++i) listed_.insert(listing.Name(i));
  if (listed_.count(database) != 0) return true;
  database_.assign(database);
  // Anything there but "nothing" keeps the journal.
  return folder.Stat(database_.c_str()).error != ENOENT;
}

}  // namespace vorlo
