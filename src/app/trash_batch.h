// The Recycle Bin batch of a clean-up: the files of a junk type that go to
// the trash, queued and sent together in one call. Each file is anchored to
// the folder the scan found it in: consecutive files of one folder share a
// descriptor of it, held open until the send, and the batch holds no more
// folders than its budget allows. A file counts as removed only once it
// went.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <vector>

#include "core/found_file.h"
#include "platform/trash.h"

namespace vorlo {

class FileRemover;

// The batch holds at most this many characters of paths (each path counts
// its terminator), leaving room for the list's end.
inline constexpr size_t rbSize = 16384;
inline constexpr size_t rbMax = rbSize - 2;
// Folders a batch holds open at most (fewer when the process may open fewer
// files); a batch that would need more is sent early, so that a batch of
// short paths stays within the descriptor limit.
inline constexpr size_t rbMaxFolders = 256;

class TrashBatch {
 public:
  // Told each file's fate as soon as it is known, in queue order, with its
  // size as the scan saw it; false stops the send, and the files after it
  // stay where they are.
  using Told = std::function<bool(const TrashItem& file, int64_t size, const RemovalResult& result)>;

  // Empties the batch and sets how many folders it may hold at once.
  void Start(size_t folderBudget);
  // True when `file` cannot join the batch before it is sent: its path would
  // pass rbMax, or its folder would pass the budget.
  bool MustSendBefore(const FoundFile& file) const;
  // Queues the file, holding its folder. False, queuing nothing, when no
  // descriptor is left for a new folder while others are held: send first.
  // A first file without a descriptor is queued all the same; the send
  // then opens its folder by its path.
  [[nodiscard]] bool Add(const FoundFile& file);
  // Sends what is queued in one call and empties the batch.
  void Send(FileRemover& remover, const Told& told);
  bool empty() const { return items_.empty(); }
  void Clear();

 private:
  std::vector<TrashItem> items_;
  std::vector<int64_t> sizes_;
  size_t chars_ = 0;
  size_t folderBudget_ = rbMaxFolders;
  HeldFolders folders_;  // one descriptor each
  FolderId lastFolder_;  // of the last file queued
  int lastHeld_ = -1;    // and its held descriptor
};

}  // namespace vorlo
