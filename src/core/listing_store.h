// The folder listings of one run, shared by the run's scans: the first scan
// that visits a folder reads it from disk, and every later scan of the run
// walks the kept copy, so a run reads each folder once however many junk
// types include it. Kept are the names and kinds, what the walks learned of
// sub-folders, and the stats taken of matched files. Not thread-safe: one
// scan at a time, with the run's main thread in between.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/found_file.h"
#include "platform/dir_listing.h"

namespace vorlo {

// What a walk learned of one sub-folder entry.
struct SubfolderLook {
  enum class State : uint8_t { Unknown, Skip, Unreadable, Folder };
  State state = State::Unknown;
  FolderId id;  // with Folder
};

class StoredFolder {
 public:
  StoredFolder(const FolderId& id, DirEntries&& entries) : id_(id), entries_(std::move(entries)) {}

  const FolderId& Id() const { return id_; }
  const DirEntries& Entries() const { return entries_; }

  SubfolderLook Look(size_t i) const;
  void SetLook(size_t i, const SubfolderLook& look);
  // Stat of a matched file, when a walk took one.
  const EntryStat* Stat(size_t i) const;
  void SetStat(size_t i, const EntryStat& st);
  void Drop(size_t i) { entries_.Drop(i); }
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
  uint32_t& Aux(size_t i);

  FolderId id_;
  DirEntries entries_;
  std::vector<uint32_t> aux_;  // per entry: 1 + index into subs_ (folders) or stats_ (files), kNone unknown
  std::vector<Sub> subs_;
  std::vector<EntryStat> stats_;
};

class ListingStore {
 public:
  ListingStore() = default;
  ListingStore(const ListingStore&) = delete;
  ListingStore& operator=(const ListingStore&) = delete;

  // The kept copy of a folder, or null. The pointer stays valid until Prune.
  StoredFolder* Find(const FolderId& id);
  uint32_t SlotOf(const FolderId& id) const;
  // The same, trying `hint` (updated) first: slots are reused after Prune.
  uint32_t SlotOf(const FolderId& id, uint32_t& hint) const {
    if (hint < folders_.size() && folders_[hint] && folders_[hint]->Id() == id) return hint;
    return hint = SlotOf(id);
  }
  StoredFolder& At(uint32_t slot) { return *folders_[slot]; }
  // Keeps a folder just read; returns its slot.
  uint32_t Add(const FolderId& id, DirEntries&& entries);

  // A found file that is no longer where the walk saw it (removed, or found
  // gone): later walks of the run do not see it.
  void Forget(const ListingRef& ref);

  // Drops every kept folder that no walk from `roots` (absolute folder
  // paths) can reach through kept folders, so the store holds only what the
  // run's remaining scans may still visit.
  void Prune(const std::vector<std::string>& roots);

  size_t Folders() const { return index_.size(); }
  // Approximate heap use.
  size_t Bytes() const;

  static constexpr uint32_t kNoSlot = ListingRef::kNoFolder;

 private:
  struct IdHash {
    size_t operator()(const FolderId& id) const {
      return std::hash<uint64_t>()(id.ino * 0x9E3779B97F4A7C15ull ^ id.dev ^ (id.mount.value << 1));
    }
  };
  std::vector<std::unique_ptr<StoredFolder>> folders_;
  std::vector<uint32_t> free_;
  std::unordered_map<FolderId, uint32_t, IdHash> index_;
};

}  // namespace vorlo
