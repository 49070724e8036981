// The folder listings of one run, shared by the run's scans: the first scan
// that visits a folder reads it from disk, and every later scan of the run
// walks the kept copy, so a run reads each folder once however many junk
// types include it. Kept are the names and kinds and what the walks learned
// of sub-folders; never the facts of a file (each decision looks at the file
// afresh). A kept folder is watched for changes to its names: one that
// changed, or could not be watched, is read again. Not thread-safe: one scan
// at a time, with the run's main thread in between.
//
// With the run's types, the names of each folder are matched once for all
// of them when it is kept (RunMatcher), and each kept folder learns, once a
// walk has been through all of it, which types find anything at all in its
// subtree: a later type passes over a subtree where it finds nothing. A
// change anywhere below a folder makes that knowledge unknown again.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/run_matcher.h"
#include "platform/dir_listing.h"
#include "platform/folder_watch.h"

namespace vorlo {

// What a walk learned of one sub-folder entry.
struct SubfolderLook {
  enum class State : uint8_t { Unknown, Skip, Unreadable, Folder };
  State state = State::Unknown;
  FolderId id;  // with Folder
};

// What the run's types find below a kept folder, once known: bit t of
// `types` for type t (the first 64 types of the run; a later type is never
// passed over), and how many folders the subtree has.
struct SubtreeSummary {
  bool known = false;
  uint64_t types = 0;
  uint32_t folders = 0;
};

class StoredFolder {
 public:
  StoredFolder(const FolderId& id, DirEntries&& entries, int watch, uint32_t parent)
      : id_(id), entries_(std::move(entries)), watch_(watch), parent_(parent) {}

  const FolderId& Id() const { return id_; }
  const DirEntries& Entries() const { return entries_; }
  int Watch() const { return watch_; }

  // The files each type of the run takes (RunMatcher's order).
  const std::vector<RunMatcher::Hit>& Hits() const { return hits_; }
  void SetHits(std::vector<RunMatcher::Hit> hits) { hits_ = std::move(hits); }
  // Appends the entries type `type` takes, in its own order.
  void HitsFor(uint32_t type, std::vector<size_t>& out) const;
  // The types with a file here (bits as in SubtreeSummary).
  uint64_t OwnTypes() const;

  uint32_t Parent() const { return parent_; }
  void SetParent(uint32_t parent) { parent_ = parent; }
  SubtreeSummary& Summary() { return summary_; }

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
  // Every sub-folder entry a walk has looked at.
  template <class F>
  void ForEachLook(F f) {
    for (Sub& s : subs_) f(s.state, s.id, s.slot);
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
  uint32_t parent_;  // the slot of the folder above, or none
  std::vector<uint32_t> aux_;  // per entry: 1 + index into subs_, kNone unknown
  std::vector<Sub> subs_;
  std::vector<RunMatcher::Hit> hits_;
  SubtreeSummary summary_;
};

class ListingStore {
 public:
  // Folders kept (and watched) at most at a time.
  static constexpr size_t kWatchBudget = 1u << 18;
  explicit ListingStore(size_t watchBudget = kWatchBudget) : watch_(watchBudget) {}
  // For a run of `types` (in run order), whose names are matched once for
  // all of them.
  explicit ListingStore(const std::vector<const TJunkFileObj*>& types, size_t watchBudget = kWatchBudget);
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
  // Keeps a folder just read with its watch, below the kept folder
  // `parent` (or none); returns its slot.
  uint32_t Add(const FolderId& id, DirEntries&& entries, int watch, uint32_t parent = kNoSlot);

  // The run's type `tj` as the matcher counts it, kNoType when it is none
  // of them (or the store matches nothing).
  static constexpr uint32_t kNoType = UINT32_MAX;
  uint32_t TypeOf(const TJunkFileObj& tj) const;
  // A subtree's summary is unknown from the folder up.
  void Unsettle(uint32_t slot);
  // A walk has been through the whole subtree of the kept folder in `slot`
  // (`failed`: something in it could not be looked at): its summary is
  // known when every kept sub-folder's is.
  void Settle(uint32_t slot, bool failed);
  // True when type `type` finds nothing in the subtree of `slot`, which has
  // `folders` folders: its walk passes over it.
  bool PassesOver(uint32_t slot, uint32_t type, uint32_t& folders) const;

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
  std::vector<std::string> reach_;  // KeepFor's last starting points
  bool changed_ = false;            // a kept folder went stale since
  FolderWatch watch_;
  std::vector<const TJunkFileObj*> types_;
  std::unique_ptr<RunMatcher> matcher_;
};

}  // namespace vorlo
