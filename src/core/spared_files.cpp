#include "core/spared_files.h"

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

}  // namespace vorlo
