// The folder listings of one run, shared by the run's scans: the first scan
// that visits a folder reads it from disk, and every later scan of the run
// walks the kept copy, so a run reads each folder once however many junk
// types include it. Kept are the names and kinds and what the walks learned
// of sub-folders; never the facts of a file (each decision looks at the file
// afresh). A kept folder is watched for changes to its names: one that
// changed, or could not be watched, is read again. Not thread-safe: one scan
// at a time, with the run's main thread in between.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/dir_listing.h"
#include "platform/folder_watch.h"

namespace vorlo {

// What a walk learned of one sub-folder entry.
struct SubfolderLook {
  enum class State : uint8_t { Unknown, Skip, Unreadable, Folder };
  State state = State::Unknown;
  FolderId id;  // with Folder
};

class StoredFolder {
 public:
  StoredFolder(const FolderId& id, DirEntries&& entries, int watch)
      : id_(id), entries_(std::move(entries)), watch_(watch) {}

  const FolderId& Id() const { return id_; }
  const DirEntries& Entries() const { return entries_; }
  int Watch() const { return watch_; }

  SubfolderLook Look(size_t i) const;
  void SetLook(size_t i, const SubfolderLook& look);
  // Where the store last kept the sub-folder of entry `i` (with a look).
  uint32_t& SlotHint(size_t i) { return subs_[aux_[i] - 1].slot; }

  // Folder ids of the sub-folders known to be walkable.
  template <class F>
  void ForEachSubfolder(F f) {
    for (Sub& s : subs_)
      if (s.state == SubfolderLook::State::Folder) f(s.id, s.slot);
  }
  size_t Bytes() const;

 private:
  static constexpr uint32_t kNone = 0;
  struct Sub {
    FolderId id;
    SubfolderLook::State state;
    uint32_t slot = UINT32_MAX;
  };

  FolderId id_;
  DirEntries entries_;
  int watch_;
  std::vector<uint32_t> aux_;  // per entry: 1 + index into subs_, kNone unknown
  std::vector<Sub> subs_;
};

class ListingStore {
 public:
  // Folders kept (and watched) at most at a time.
  static constexpr size_t kWatchBudget = 1u << 18;
  explicit ListingStore(size_t watchBudget = kWatchBudget) : watch_(watchBudget) {}
  ListingStore(const ListingStore&) = delete;
  ListingStore& operator=(const ListingStore&) = delete;

  // The slot of the kept copy of a folder, kNoSlot when none can be trusted.
  uint32_t SlotOf(const FolderId& id) const;
  // The same, trying `hint` (updated) first: slots are reused after Prune.
  uint32_t SlotOf(const FolderId& id, uint32_t& hint) const;
  StoredFolder& At(uint32_t slot) { return *folders_[slot]; }

  // Whether a folder at `path` is worth keeping: some later scan of the run
  // may visit it (see KeepFor).
  bool Wants(std::string_view path) const;
  // Call before reading the open folder `fd` that is to be kept: the watch
  // that sees its changes from now on, or -1 (it will not be kept).
  int WatchBeforeRead(int fd) { return watch_.Watch(fd); }
  // Keeps a folder just read with its watch; returns its slot.
  uint32_t Add(const FolderId& id, DirEntries&& entries, int watch);

  // Marks the kept folders whose names changed since the last call as not to
  // be trusted (they are read again when next visited). Cheap when nothing
  // changed; a scan calls it now and then.
  void Refresh();

  // Drops every kept folder that changed, or that no walk from `reach`
  // (absolute folder paths: where the scans from now on start) can reach
  // through kept folders, and from then on keeps new folders only at or
  // below `later` (where the scans after the next one start). The store
  // holds what the run's remaining scans may still visit.
  void KeepFor(const std::vector<std::string>& reach, const std::vector<std::string>& later);

  size_t Folders() const { return index_.size(); }
  // Approximate heap use.
  size_t Bytes() const;

  static constexpr uint32_t kNoSlot = UINT32_MAX;

 private:
  struct IdHash {
    size_t operator()(const FolderId& id) const {
      return std::hash<uint64_t>()(id.ino * 0x9E3779B97F4A7C15ull ^ id.dev ^ (id.mount.value << 1));
    }
  };
  void Drop(uint32_t slot);

  std::vector<std::unique_ptr<StoredFolder>> folders_;
  std::vector<uint8_t> stale_;  // per slot
  std::vector<uint32_t> free_;
  std::unordered_map<FolderId, uint32_t, IdHash> index_;
  std::unordered_map<int, uint32_t> byWatch_;
  std::vector<std::string> later_;  // where new folders are kept
  FolderWatch watch_;
};

}  // namespace vorlo
