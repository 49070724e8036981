#include "app/file_remover.h"

#include "app/undo_journal.h"
#include "platform/file_ops.h"

namespace vorlo {

int SystemFileRemover::BeginCleanUp(int64_t startUtc) {
  if (currentDrives_) {
    trash_.driveRoots = currentDrives_();
    holding_.driveRoots = trash_.driveRoots;
  }
  return journal_ != nullptr ? journal_->Begin(startUtc) : 0;
}

void SystemFileRemover::EndCleanUp() {
  if (journal_ != nullptr) journal_->End();
}

bool SystemFileRemover::Journaling() const { return journal_ != nullptr && journal_->Active(); }

RemovalResult SystemFileRemover::Delete(const FoundFile& file) {
  const RemovalResult r = DeleteFileAt(file.folder, file.name.data(), &file.stat.identity);
  if (r.Done() && Journaling()) journal_->Deleted(std::string(file.path), file.Size());
  return r;
}

RemovalResult SystemFileRemover::MoveToHolding(const FoundFile& file) {
  uint32_t entry = 0;
  if (Journaling()) {
    entry = journal_->Intend(JournalMethod::Holding,
                             {{std::string(file.path), file.stat.identity, FolderModeOf(file.folder)}});
    if (entry == 0) return {kNoRecord};
  }
  std::string held;
  const RemovalResult r =
      MoveToHoldingAt(file.folder, file.name.data(), file.path, holding_, &file.stat.identity, &held);
  if (r.Done() && entry != 0) journal_->Moved(entry, held);
  return r;
}

std::vector<RemovalResult> SystemFileRemover::SendToTrash(const std::vector<TrashItem>& items,
                                                          const TrashResultHook& onResult) {
  if (!Journaling()) return SendToTrashAt(items, trash_, trashSteps, onResult);
  // The batch's entries reach the disk, in one flush, before any file goes.
  std::vector<JournalIntent> intents;
  intents.reserve(items.size());
  for (const TrashItem& item : items)
    intents.push_back({item.path, item.expected.value_or(FileIdentity{}),
                       item.folder >= 0 ? FolderModeOf(item.folder) : 0});
  const uint32_t first = journal_->Intend(JournalMethod::Trash, intents);
  if (first == 0) {
    std::vector<RemovalResult> refused(items.size(), RemovalResult{kNoRecord});
    for (size_t i = 0; i < items.size() && onResult && onResult(i, refused[i], {}); ++i) {
    }
    return refused;
  }
  std::vector<RemovalResult> results =
      SendToTrashAt(items, trash_, trashSteps, [&](size_t i, const RemovalResult& r, const TrashPlace& place) {
        if (r.Done()) journal_->Sent(first + static_cast<uint32_t>(i), place);
        return !onResult || onResult(i, r, place);
      });
  journal_->Flush();
  return results;
}

}  // namespace vorlo
