// Tells which of a set of open folders had names added, removed or renamed
// since it was last asked (inotify), so that a listing read once can be
// trusted by later readers without reading the folder again or even looking
// at it. A folder that cannot be watched (no inotify, the user's watch limit
// reached) is never reported as unchanged.
#pragma once

#include <cstddef>
#include <functional>
#include <unordered_set>

namespace vorlo {

class FolderWatch {
 public:
  // Watches at most `budget` folders at a time, and never more than a part
  // of the user's limit, so that other programs keep theirs.
  explicit FolderWatch(size_t budget);
  ~FolderWatch();
  FolderWatch(const FolderWatch&) = delete;
  FolderWatch& operator=(const FolderWatch&) = delete;

  // Starts watching the open folder `fd` (a descriptor of the folder, not a
  // path, so that the watch is on the folder read). A number naming it, or
  // -1 when it cannot be watched. Watch before reading the folder: a change
  // while it is read is then reported too.
  [[nodiscard]] int Watch(int fd);
  // Stops watching; the number is not reported again.
  void Forget(int watch);
  // Calls `changed` for each watched folder whose names changed (or that
  // was removed or moved) since the last call. False when the kernel lost
  // track (its queue overflowed): every folder may have changed.
  [[nodiscard]] bool Collect(const std::function<void(int watch)>& changed);
  size_t Watched() const { return watches_.size(); }

 private:
  int fd_ = -1;
  size_t budget_ = 0;
  std::unordered_set<int> watches_;
};

}  // namespace vorlo
