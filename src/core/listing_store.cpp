#include "core/listing_store.h"

namespace vorlo {

SubfolderLook StoredFolder::Look(size_t i) const {
  if (aux_.empty() || aux_[i] == kNone) return {};
  const Sub& s = subs_[aux_[i] - 1];
  return {s.state, s.id};
}

void StoredFolder::SetLook(size_t i, const SubfolderLook& look) {
  if (aux_.empty()) aux_.assign(entries_.size(), kNone);
  uint32_t& a = aux_[i];
  if (a != kNone) {
    subs_[a - 1] = {look.id, look.state, UINT32_MAX};
    return;
  }
  subs_.push_back({look.id, look.state, UINT32_MAX});
  a = static_cast<uint32_t>(subs_.size());
}

size_t StoredFolder::Bytes() const {
  return sizeof *this + entries_.Bytes() + aux_.capacity() * sizeof(uint32_t) + subs_.capacity() * sizeof(Sub);
}

uint32_t ListingStore::SlotOf(const FolderId& id) const {
  const auto it = index_.find(id);
  return it == index_.end() || stale_[it->second] ? kNoSlot : it->second;
}

uint32_t ListingStore::SlotOf(const FolderId& id, uint32_t& hint) const {
  if (hint < folders_.size() && folders_[hint] && folders_[hint]->Id() == id) return stale_[hint] ? kNoSlot : hint;
  return hint = SlotOf(id);
}

bool ListingStore::Wants(std::string_view path) const {
  for (const std::string& root : later_)
    if (root == "/" || path == root || (path.starts_with(root) && path.size() > root.size() && path[root.size()] == '/'))
      return true;
  return false;
}

uint32_t ListingStore::Add(const FolderId& id, DirEntries&& entries, int watch) {
  if (const auto it = index_.find(id); it != index_.end()) Drop(it->second);
  uint32_t slot;
  if (!free_.empty()) {
    slot = free_.back();
    free_.pop_back();
  } else {
    slot = static_cast<uint32_t>(folders_.size());
    folders_.emplace_back();
    stale_.push_back(0);
  }
  folders_[slot] = std::make_unique<StoredFolder>(id, std::move(entries), watch);
  stale_[slot] = 0;
  index_.emplace(id, slot);
  byWatch_[watch] = slot;
  return slot;
}

void ListingStore::Drop(uint32_t slot) {
  StoredFolder& f = *folders_[slot];
  index_.erase(f.Id());
  byWatch_.erase(f.Watch());
  watch_.Forget(f.Watch());
  folders_[slot].reset();
  stale_[slot] = 0;
  free_.push_back(slot);
}

void ListingStore::Refresh() {
  const bool complete = watch_.Collect([this](int watch) {
    if (const auto it = byWatch_.find(watch); it != byWatch_.end()) stale_[it->second] = 1;
  });
  // The kernel lost track: nothing kept can be trusted.
  if (!complete)
    for (uint32_t slot = 0; slot < folders_.size(); ++slot)
      if (folders_[slot]) stale_[slot] = 1;
}

void ListingStore::KeepFor(const std::vector<std::string>& reach, const std::vector<std::string>& later) {
  Refresh();
  later_ = later;
  std::vector<uint8_t> keep(folders_.size(), 0);
  std::vector<uint32_t> stack;
  for (const std::string& root : reach) {
    if (!root.starts_with('/')) continue;
    const DirListing d = DirListing::OpenNoLinks(root);
    if (const auto id = d.Id())
      if (const uint32_t slot = SlotOf(*id); slot != kNoSlot) stack.push_back(slot);
  }
  while (!stack.empty()) {
    const uint32_t slot = stack.back();
    stack.pop_back();
    if (keep[slot]) continue;
    keep[slot] = 1;
    folders_[slot]->ForEachSubfolder([&](const FolderId& id, uint32_t& hint) {
      if (const uint32_t s = SlotOf(id, hint); s != kNoSlot && !keep[s]) stack.push_back(s);
    });
  }
  for (uint32_t slot = 0; slot < folders_.size(); ++slot)
    if (folders_[slot] && !keep[slot]) Drop(slot);
}

size_t ListingStore::Bytes() const {
  size_t n = folders_.capacity() * sizeof(folders_[0]) + index_.size() * (sizeof(FolderId) + 32) +
             byWatch_.size() * 32 + stale_.capacity();
  for (const auto& f : folders_)
    if (f) n += f->Bytes();
  return n;
}

}  // namespace vorlo
