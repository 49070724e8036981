// A set of paths, compared as exact bytes, compact enough to hold every file
// an analysis finds. A path is kept as its folder part (up to and including
// the last "/"), stored once for all the folder's files, and its name; both
// live in byte arenas indexed by open-addressing tables of 32-bit offsets,
// so there is no heap node per path. A found file costs its name plus a few
// bytes of record and index. Each path carries a 32-bit tag given when it
// was added (an analysis tags a path with the type that found it first).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <utility>
#include <vector>

namespace vorlo {

class PathSet {
 public:
  // Adds the path; false when it was in the set already.
  bool Insert(std::string_view path) { return Insert(path, 0).added; }
  struct Inserted {
    bool added;
    uint32_t tag;  // the path's tag: `tag` when added, else the one it was added with
  };
  Inserted Insert(std::string_view path, uint32_t tag);
  bool Contains(std::string_view path) const;
  size_t size() const { return names_.Count(); }
  bool empty() const { return size() == 0; }
  // Empties the set and gives its memory back.
  void Clear();
  // Bytes held by arenas and indexes.
  size_t MemoryBytes() const { return folders_.MemoryBytes() + names_.MemoryBytes(); }

 private:
  // Records of (owner, tag, bytes) in one arena: the owner is a folder's
  // record offset for a name, 0 for a folder. A record's offset is its
  // identity.
  class Table {
   public:
    static constexpr uint32_t kNone = 0;  // no record has offset 0
    uint32_t Find(uint32_t owner, std::string_view bytes) const;
    // The record's offset, and whether it was added.
    std::pair<uint32_t, bool> Insert(uint32_t owner, std::string_view bytes, uint32_t tag = 0);
    std::string_view Bytes(uint32_t offset) const;
    uint32_t Tag(uint32_t offset) const;
    size_t Count() const { return count_; }
    void Clear();
    size_t MemoryBytes() const { return arena_.capacity() + slots_.capacity() * sizeof(uint32_t); }

   private:
    uint32_t Owner(uint32_t offset) const;
    // The slot holding the record, or the empty slot where it belongs.
    size_t Probe(uint32_t owner, std::string_view bytes, uint64_t hash) const;
    void Grow();

    std::vector<char> arena_;      // records: owner and tag (4 bytes each), length (LEB128), bytes
    std::vector<uint32_t> slots_;  // record offsets, kNone for a free slot; size a power of two
    size_t count_ = 0;
  };

  Table folders_;
  Table names_;
  uint32_t lastFolder_ = Table::kNone;  // files come folder by folder
};

}  // namespace vorlo
