#include "app/trash_batch.h"

#include <string>

#include "app/file_remover.h"

namespace vorlo {

void TrashBatch::Start(size_t folderBudget) {
  Clear();
  folderBudget_ = folderBudget;
}

bool TrashBatch::MustSendBefore(const FoundFile& file) const {
  if (items_.empty()) return false;
  if (chars_ + file.path.size() > rbMax) return true;
  return !(file.folderId == lastFolder_) && folders_.size() >= folderBudget_;
}

bool TrashBatch::Add(const FoundFile& file) {
  if (items_.empty() || !(file.folderId == lastFolder_)) {
    const int held = folders_.Hold(file.folder);
    if (held < 0 && !items_.empty()) return false;
    lastHeld_ = held;
    lastFolder_ = file.folderId;
  }
  items_.push_back(TrashItem{lastHeld_, std::string(file.name), std::string(file.path), file.stat.identity});
  sizes_.push_back(file.Size());
  chars_ += file.path.size() + 1;
  return true;
}

void TrashBatch::Send(FileRemover& remover, const Told& told) {
  if (!items_.empty())
    (void)remover.SendToTrash(items_, [&](size_t i, const RemovalResult& r, const TrashPlace&) {
      return told(items_[i], sizes_[i], r);
    });
  Clear();
}

void TrashBatch::Clear() {
  items_.clear();
  sizes_.clear();
  chars_ = 0;
  folders_.Clear();
  lastFolder_ = {};
  lastHeld_ = -1;
}

}  // namespace vorlo
