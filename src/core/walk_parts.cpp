// The small pieces of a walk that its variants share: progress, counts,
// the names a walk never enters, joined paths.
#include <algorithm>

#include "core/scan_walk.h"
#include "platform/removal.h"

namespace vorlo {

void ScanProgress::Publish(const std::string& path) {
  const std::lock_guard lock(mutex_);
  latest_.assign(path);
}

std::string ScanProgress::Latest() const {
  const std::lock_guard lock(mutex_);
  return latest_;
}

int32_t ScanCounts::Actual() const {
  return static_cast<int32_t>(std::max<int64_t>(0, int64_t{matched} - restricted - protectedFiles));
}

// The trash folders of a drive root: ".Trash" and ".Trash-<digits>".
bool IsTrashName(std::string_view name) {
  constexpr std::string_view kTrash = ".Trash";
  if (!name.starts_with(kTrash)) return false;
  if (name.size() == kTrash.size()) return true;
  if (name[kTrash.size()] != '-' || name.size() == kTrash.size() + 1) return false;
  return std::all_of(name.begin() + kTrash.size() + 1, name.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsDriveRootSkip(std::string_view name) { return name == kHoldingFolderName || IsTrashName(name); }

// `folder` + "/" + `name`, without a second slash after "/".
void JoinPath(std::string_view folder, std::string_view name, std::string& out) {
  out.assign(folder);
  if (out.empty() || out.back() != '/') out.push_back('/');
  out.append(name);
}

}  // namespace vorlo
