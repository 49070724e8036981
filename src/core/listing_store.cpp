#include "core/listing_store.h"

#include <algorithm>

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

void StoredFolder::HitsFor(uint32_t type, std::vector<size_t>& out) const {
  const auto from = std::lower_bound(hits_.begin(), hits_.end(), type,
                                     [](const RunMatcher::Hit& h, uint32_t t) { return h.type < t; });
  for (auto h = from; h != hits_.end() && h->type == type; ++h)
    if (entries_.IsFile(h->entry)) out.push_back(h->entry);  // not forgotten since
}

uint64_t StoredFolder::OwnTypes() const {
  uint64_t types = 0;
  for (const RunMatcher::Hit& h : hits_)
    if (h.type < 64 && entries_.IsFile(h.entry)) types |= uint64_t{1} << h.type;
  return types;
}

size_t StoredFolder::Bytes() const {
  return sizeof *this + entries_.Bytes() + aux_.capacity() * sizeof(uint32_t) + subs_.capacity() * sizeof(Sub) +
         hits_.capacity() * sizeof(RunMatcher::Hit);
}

ListingStore::ListingStore(const std::vector<const TJunkFileObj*>& types, size_t watchBudget)
    : watch_(watchBudget), types_(types) {
  std::vector<const SpecList*> specs;
  for (const TJunkFileObj* t : types) specs.push_back(&t->Deletes());
  matcher_ = std::make_unique<RunMatcher>(specs);
}

uint32_t ListingStore::TypeOf(const TJunkFileObj& tj) const {
  if (!matcher_) return kNoType;
  const auto it = std::find(types_.begin(), types_.end(), &tj);
  return it == types_.end() ? kNoType : static_cast<uint32_t>(it - types_.begin());
}

void ListingStore::Unsettle(uint32_t slot) {
  // A known summary above is made of the known ones below: the first
  // unknown one has nothing known above it.
  for (size_t n = 0; slot < folders_.size() && folders_[slot] && n < folders_.size(); ++n) {
    SubtreeSummary& s = folders_[slot]->Summary();
    if (!s.known) return;
    s.known = false;
    slot = folders_[slot]->Parent();
  }
}

void ListingStore::Settle(uint32_t slot, bool failed) {
  if (!matcher_ || slot >= folders_.size() || !folders_[slot] || stale_[slot]) return;
  StoredFolder& f = *folders_[slot];
  SubtreeSummary sum{true, failed ? ~uint64_t{0} : f.OwnTypes(), 1};
  bool known = true;
  f.ForEachLook([&](SubfolderLook::State state, const FolderId& id, uint32_t& hint) {
    // A sub-folder that could not be read is an error line for every type.
    if (state == SubfolderLook::State::Unreadable) sum.types = ~uint64_t{0};
    if (!known || state != SubfolderLook::State::Folder) return;
    const uint32_t c = SlotOf(id, hint);
    if (c == kNoSlot || !folders_[c]->Summary().known) {
      known = false;
      return;
    }
    folders_[c]->SetParent(slot);
    sum.types |= folders_[c]->Summary().types;
    sum.folders += folders_[c]->Summary().folders;
  });
  if (known) f.Summary() = sum;
}

bool ListingStore::PassesOver(uint32_t slot, uint32_t type, uint32_t& folders) const {
  if (type >= 64 || slot >= folders_.size() || !folders_[slot] || stale_[slot]) return false;
  const SubtreeSummary& sum = folders_[slot]->Summary();
  if (!sum.known || ((sum.types >> type) & 1) != 0) return false;
  folders = sum.folders;
  return true;
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

uint32_t ListingStore::Add(const FolderId& id, DirEntries&& entries, int watch, uint32_t parent) {
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
  folders_[slot] = std::make_unique<StoredFolder>(id, std::move(entries), watch, parent);
  if (matcher_) {
    std::vector<RunMatcher::Hit> hits;
    matcher_->Match(folders_[slot]->Entries(), hits);
    folders_[slot]->SetHits(std::move(hits));
  }
  // What was known above now has a folder more below it.
  Unsettle(parent);
  stale_[slot] = 0;
  index_.emplace(id, slot);
  byWatch_[watch] = slot;
  return slot;
}

void ListingStore::Drop(uint32_t slot) {
  Unsettle(slot);
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
    if (const auto it = byWatch_.find(watch); it != byWatch_.end()) {
      stale_[it->second] = 1;
      Unsettle(it->second);
      changed_ = true;
    }
  });
  // The kernel lost track: nothing kept can be trusted.
  if (!complete) changed_ = true;
  if (!complete)
    for (uint32_t slot = 0; slot < folders_.size(); ++slot)
      if (folders_[slot]) {
        stale_[slot] = 1;
        folders_[slot]->Summary().known = false;
      }
}

void ListingStore::KeepFor(const std::vector<std::string>& reach, const std::vector<std::string>& later) {
  Refresh();
  later_ = later;
  // The same starting points and nothing changed: the same folders stay.
  if (reach == reach_ && !changed_) return;
  reach_ = reach;
  changed_ = false;
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
