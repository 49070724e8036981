#include "core/listing_store.h"

namespace vorlo {

uint32_t& StoredFolder::Aux(size_t i) {
  if (aux_.empty()) aux_.assign(entries_.size(), kNone);
  return aux_[i];
}

SubfolderLook StoredFolder::Look(size_t i) const {
  if (aux_.empty() || aux_[i] == kNone) return {};
  const Sub& s = subs_[aux_[i] - 1];
  return {s.state, s.id};
}

void StoredFolder::SetLook(size_t i, const SubfolderLook& look) {
  uint32_t& a = Aux(i);
  if (a != kNone) {
    subs_[a - 1] = {look.id, look.state, UINT32_MAX};
    return;
  }
  subs_.push_back({look.id, look.state, UINT32_MAX});
  a = static_cast<uint32_t>(subs_.size());
}

const EntryStat* StoredFolder::Stat(size_t i) const {
  if (aux_.empty() || aux_[i] == kNone) return nullptr;
  return &stats_[aux_[i] - 1];
}

void StoredFolder::SetStat(size_t i, const EntryStat& st) {
  uint32_t& a = Aux(i);
  if (a != kNone) {
    stats_[a - 1] = st;
    return;
  }
  stats_.push_back(st);
  a = static_cast<uint32_t>(stats_.size());
}

size_t StoredFolder::Bytes() const {
  return sizeof *this + entries_.Bytes() + aux_.capacity() * sizeof(uint32_t) + subs_.capacity() * sizeof(Sub) +
         stats_.capacity() * sizeof(EntryStat);
}

StoredFolder* ListingStore::Find(const FolderId& id) {
  const uint32_t slot = SlotOf(id);
  return slot == kNoSlot ? nullptr : folders_[slot].get();
}

uint32_t ListingStore::SlotOf(const FolderId& id) const {
  const auto it = index_.find(id);
  return it == index_.end() ? kNoSlot : it->second;
}

uint32_t ListingStore::Add(const FolderId& id, DirEntries&& entries) {
  if (const uint32_t old = SlotOf(id); old != kNoSlot) {
    folders_[old] = std::make_unique<StoredFolder>(id, std::move(entries));
    return old;
  }
  uint32_t slot;
  if (!free_.empty()) {
    slot = free_.back();
    free_.pop_back();
  } else {
    slot = static_cast<uint32_t>(folders_.size());
    folders_.emplace_back();
  }
  folders_[slot] = std::make_unique<StoredFolder>(id, std::move(entries));
  index_.emplace(id, slot);
  return slot;
}

void ListingStore::Forget(const ListingRef& ref) {
  if (ref.folder >= folders_.size() || !folders_[ref.folder]) return;
  StoredFolder& f = *folders_[ref.folder];
  if (ref.entry < f.Entries().size()) f.Drop(ref.entry);
}

void ListingStore::Prune(const std::vector<std::string>& roots) {
  std::vector<uint8_t> keep(folders_.size(), 0);
  std::vector<uint32_t> stack;
  for (const std::string& root : roots) {
    if (!root.starts_with('/')) continue;
    const DirListing d = DirListing::Open(root);
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
  for (uint32_t slot = 0; slot < folders_.size(); ++slot) {
    if (keep[slot] || !folders_[slot]) continue;
    index_.erase(folders_[slot]->Id());
    folders_[slot].reset();
    free_.push_back(slot);
  }
}

size_t ListingStore::Bytes() const {
  size_t n = folders_.capacity() * sizeof(folders_[0]) + index_.size() * (sizeof(FolderId) + 32);
  for (const auto& f : folders_)
    if (f) n += f->Bytes();
  return n;
}

}  // namespace vorlo
