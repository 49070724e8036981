#include "core/path_set.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>

namespace vorlo {

namespace {

constexpr uint64_t kMul = 0xBF58476D1CE4E5B9ull;

// Eight bytes per step; the owner and the length are mixed in first, so
// "a" and "a\0" and the same name in two folders all differ.
uint64_t HashOf(uint32_t owner, std::string_view s) {
  uint64_t h = (uint64_t{owner} + 1) * 0x9E3779B97F4A7C15ull ^ s.size();
  const char* p = s.data();
  size_t n = s.size();
  for (; n >= 8; p += 8, n -= 8) {
    uint64_t w;
    std::memcpy(&w, p, 8);
    h = std::rotl((h ^ w) * kMul, 31);
  }
  if (n > 0) {
    uint64_t w = 0;
    std::memcpy(&w, p, n);
    h = std::rotl((h ^ w) * kMul, 31);
  }
  h ^= h >> 32;
  h *= 0xD6E8FEB86659FD93ull;
  return h ^ (h >> 32);
}

// The folder part of a path: up to and including its last "/", empty when
// there is none. Together with the rest it gives the path back, so two paths
// are equal exactly when both parts are.
std::string_view FolderOf(std::string_view path) {
  const size_t slash = path.rfind('/');
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}

}  // namespace

// ---------------------------------------------------------------------------
// Table

uint32_t PathSet::Table::Owner(uint32_t offset) const {
  uint32_t owner;
  std::memcpy(&owner, arena_.data() + offset, sizeof owner);
  return owner;
}

uint32_t PathSet::Table::Tag(uint32_t offset) const {
  uint32_t tag;
  std::memcpy(&tag, arena_.data() + offset + sizeof(uint32_t), sizeof tag);
  return tag;
}

std::string_view PathSet::Table::Bytes(uint32_t offset) const {
  const auto* p = reinterpret_cast<const unsigned char*>(arena_.data()) + offset + 2 * sizeof(uint32_t);
  size_t length = 0;
  for (int shift = 0;; shift += 7) {
    const unsigned char b = *p++;
    length |= size_t{b & 0x7Fu} << shift;
    if (b < 0x80) break;
  }
  return {reinterpret_cast<const char*>(p), length};
}

size_t PathSet::Table::Probe(uint32_t owner, std::string_view bytes, uint64_t hash) const {
  const size_t mask = slots_.size() - 1;
  for (size_t i = hash & mask;; i = (i + 1) & mask) {
    const uint32_t at = slots_[i];
    if (at == kNone || (Owner(at) == owner && Bytes(at) == bytes)) return i;
  }
}

uint32_t PathSet::Table::Find(uint32_t owner, std::string_view bytes) const {
  if (slots_.empty()) return kNone;
  return slots_[Probe(owner, bytes, HashOf(owner, bytes))];
}

std::pair<uint32_t, bool> PathSet::Table::Insert(uint32_t owner, std::string_view bytes, uint32_t tag) {
  // At most half full: a miss ends after a couple of probes.
  if ((count_ + 1) * 2 > slots_.size()) Grow();
  const size_t slot = Probe(owner, bytes, HashOf(owner, bytes));
  if (slots_[slot] != kNone) return {slots_[slot], false};

  unsigned char length[10];
  size_t lengthBytes = 0;
  for (size_t n = bytes.size();; n >>= 7) {
    length[lengthBytes++] = static_cast<unsigned char>((n & 0x7F) | (n > 0x7F ? 0x80 : 0));
    if (n <= 0x7F) break;
  }
  if (arena_.empty()) arena_.push_back(0);  // offset 0 stays free for kNone
  const size_t offset = arena_.size();
  constexpr size_t kHead = sizeof owner + sizeof tag;
  const size_t end = offset + kHead + lengthBytes + bytes.size();
  if (end > std::numeric_limits<uint32_t>::max()) throw std::length_error("path set full");
  arena_.resize(end);
  char* p = arena_.data() + offset;
  std::memcpy(p, &owner, sizeof owner);
  std::memcpy(p + sizeof owner, &tag, sizeof tag);
  std::memcpy(p + kHead, length, lengthBytes);
  if (!bytes.empty()) std::memcpy(p + kHead + lengthBytes, bytes.data(), bytes.size());
  slots_[slot] = static_cast<uint32_t>(offset);
  ++count_;
  return {static_cast<uint32_t>(offset), true};
}

void PathSet::Table::Grow() {
  const std::vector<uint32_t> old = std::move(slots_);
  slots_.assign(std::max<size_t>(64, old.size() * 2), kNone);
  const size_t mask = slots_.size() - 1;
  for (const uint32_t at : old) {
    if (at == kNone) continue;
    size_t i = HashOf(Owner(at), Bytes(at)) & mask;
    while (slots_[i] != kNone) i = (i + 1) & mask;
    slots_[i] = at;
  }
}

void PathSet::Table::Clear() {
  std::vector<char>().swap(arena_);
  std::vector<uint32_t>().swap(slots_);
  count_ = 0;
}

// ---------------------------------------------------------------------------
// PathSet

PathSet::Inserted PathSet::Insert(std::string_view path, uint32_t tag) {
  const std::string_view folder = FolderOf(path);
  if (lastFolder_ == Table::kNone || folders_.Bytes(lastFolder_) != folder)
    lastFolder_ = folders_.Insert(0, folder).first;
  const auto [name, added] = names_.Insert(lastFolder_, path.substr(folder.size()), tag);
  return {added, added ? tag : names_.Tag(name)};
}

bool PathSet::Contains(std::string_view path) const {
  const std::string_view folder = FolderOf(path);
  const uint32_t id = lastFolder_ != Table::kNone && folders_.Bytes(lastFolder_) == folder ? lastFolder_
                                                                                           : folders_.Find(0, folder);
  return id != Table::kNone && names_.Find(id, path.substr(folder.size())) != Table::kNone;
}

void PathSet::Clear() {
  folders_.Clear();
  names_.Clear();
  lastFolder_ = Table::kNone;
}

}  // namespace vorlo
