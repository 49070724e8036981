#include "app/found_review.h"

#include <algorithm>
#include <unordered_map>

#include "app/review_texts.h"
#include "app/texts.h"
#include "core/byte_text.h"
#include "core/text.h"

namespace vorlo {

namespace {

unsigned char Folded(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b >= 'A' && b <= 'Z' ? static_cast<unsigned char>(b + ('a' - 'A')) : b;
}

// Eight bytes of a text from `at` on, A to Z folded or not, as one number
// that orders as the bytes do; a text that ends pads with zero bytes (no
// name or folder holds one).
uint64_t KeyAt(std::string_view s, size_t at, bool folded) {
  uint64_t key = 0;
  for (size_t i = at; i < at + 8; ++i) {
    const unsigned char b = i < s.size() ? static_cast<unsigned char>(s[i]) : 0;
    key = key << 8 | (folded ? Folded(static_cast<char>(b)) : b);
  }
  return key;
}

// Ranks texts (equal texts share a rank) in the order of their bytes with A
// to Z folded, texts that differ only in case in byte order. The texts are
// sorted eight bytes at a time: by their first eight, then each run of
// equal ones by the next eight, and so on, so comparisons are of numbers.
template <typename Text>
std::vector<uint32_t> RankTexts(size_t count, Text text) {
  struct Item {
    uint64_t key;
    uint32_t index;
  };
  struct Run {
    size_t begin, end, at;
    bool folded;
  };
  std::vector<Item> items(count);
  for (uint32_t i = 0; i < count; ++i) items[i].index = i;
  std::vector<uint8_t> newRank(count, 0);  // the item at this place differs from the one before it
  std::vector<Run> runs{{0, count, 0, true}};
  while (!runs.empty()) {
    const Run run = runs.back();
    runs.pop_back();
    bool longer = false;
    for (size_t k = run.begin; k < run.end; ++k) {
      const std::string_view t = text(items[k].index);
      items[k].key = KeyAt(t, run.at, run.folded);
      longer = longer || t.size() > run.at + 8;
    }
    std::sort(items.begin() + static_cast<ptrdiff_t>(run.begin), items.begin() + static_cast<ptrdiff_t>(run.end),
              [](const Item& a, const Item& b) { return a.key < b.key; });
    for (size_t a = run.begin; a < run.end;) {
      size_t b = a + 1;
      while (b < run.end && items[b].key == items[a].key) ++b;
      if (b < run.end) newRank[b] = 1;
      // A run of equal keys goes on with the next bytes, or, folded alike
      // to the end, once more in byte order; equal to the end, it shares a rank.
      if (b - a > 1 && (longer || run.folded)) runs.push_back({a, b, longer ? run.at + 8 : 0, longer ? run.folded : false});
      a = b;
    }
  }
  std::vector<uint32_t> rank(count);
  uint32_t r = 0;
  for (size_t k = 0; k < count; ++k) {
    r += k > 0 && newRank[k] ? 1 : 0;
    rank[items[k].index] = r;
  }
  return rank;
}

// True when `text` holds `part` (folded already), A to Z in either case.
bool HoldsFolded(std::string_view text, std::string_view part) {
  if (part.empty()) return true;
  if (part.size() > text.size()) return false;
  const auto first = static_cast<unsigned char>(part[0]);
  for (size_t i = 0, last = text.size() - part.size(); i <= last; ++i) {
    if (Folded(text[i]) != first) continue;
    size_t k = 1;
    while (k < part.size() && Folded(text[i + k]) == static_cast<unsigned char>(part[k])) ++k;
    if (k == part.size()) return true;
  }
  return false;
}

// A signed time as an unsigned key of the same order.
uint64_t TimeKey(int64_t ns) { return static_cast<uint64_t>(ns) ^ (uint64_t{1} << 63); }

}  // namespace

FoundReview::FoundReview(FoundResults results) : results_(std::move(results)) {
  const size_t n = results_.size();
  types_.resize(results_.Types().size());
  shown_.resize(types_.size());
  groupOf_.assign(types_.size(), kNowhere);
  flags_.assign(n, 0);
  rowOf_.assign(n, kNowhere);
  for (uint32_t i = 0; i < n; ++i) {
    const FoundRecord& r = results_[i];
    if (r.IsDupe()) continue;
    TypeFiles& t = types_[r.type];
    t.files.push_back(i);
    t.bytes += r.size;
    t.shownBytes += r.size;
    t.newest = std::max(t.newest, r.mtimeNs);
    flags_[i] = kTicked | kShown;
    ++totals_.files;
    ++totals_.ticked;
    totals_.tickedBytes += r.size;
  }
  RankPaths();
  Sort(ReviewColumn::Type, false);
}

void FoundReview::RankPaths() {
  const size_t n = results_.size();
  // Folders: one id per distinct folder (a folder's files mostly follow each
  // other), ranked among themselves.
  std::vector<uint32_t> folderId(n);
  std::vector<std::string_view> folders;
  std::unordered_map<std::string_view, uint32_t> ids;
  for (uint32_t i = 0; i < n; ++i) {
    const std::string_view f = results_.Folder(i);
    if (i > 0 && f == results_.Folder(i - 1)) {
      folderId[i] = folderId[i - 1];
      continue;
    }
    const auto [at, added] = ids.try_emplace(f, static_cast<uint32_t>(folders.size()));
    if (added) folders.push_back(f);
    folderId[i] = at->second;
  }
  const std::vector<uint32_t> folderRankOfId =
      RankTexts(folders.size(), [&](uint32_t i) { return folders[i]; });
  folderRank_.resize(n);
  for (uint32_t i = 0; i < n; ++i) folderRank_[i] = folderRankOfId[folderId[i]];
  nameRank_ = RankTexts(n, [&](uint32_t i) { return results_.Name(i); });

  // Paths: by folder, then name; no two records of a review share a path.
  std::vector<std::pair<uint64_t, uint32_t>> order(n);
  for (uint32_t i = 0; i < n; ++i) order[i] = {uint64_t{folderRank_[i]} << 32 | nameRank_[i], i};
  std::sort(order.begin(), order.end());
  pathRank_.resize(n);
  for (uint32_t k = 0; k < n; ++k) pathRank_[order[k].second] = k;
}

void FoundReview::Sort(ReviewColumn column, bool descending) {
  struct Key {
    uint64_t key;
    uint32_t tie;
    uint32_t record;
  };
  const auto keyOf = [&](uint32_t i) -> Key {
    const FoundRecord& r = results_[i];
    switch (column) {
      case ReviewColumn::Name: return {uint64_t{nameRank_[i]} << 32 | folderRank_[i], 0, i};
      case ReviewColumn::Size: return {static_cast<uint64_t>(r.size), pathRank_[i], i};
      case ReviewColumn::Modified: return {TimeKey(r.mtimeNs), pathRank_[i], i};
      case ReviewColumn::Type:
      case ReviewColumn::Folder: break;
    }
    return {pathRank_[i], 0, i};
  };
  std::vector<Key> keys;
  for (TypeFiles& t : types_) {
    keys.clear();
    for (const uint32_t i : t.files) keys.push_back(keyOf(i));
    std::sort(keys.begin(), keys.end(), [descending](const Key& a, const Key& b) {
      if (a.key != b.key) return descending ? a.key > b.key : a.key < b.key;
      return a.tie != b.tie ? a.tie < b.tie : a.record < b.record;
    });
    for (size_t k = 0; k < keys.size(); ++k) t.files[k] = keys[k].record;
  }

  typeOrder_.clear();
  for (uint32_t t = 0; t < types_.size(); ++t)
    if (!types_[t].files.empty()) typeOrder_.push_back(t);
  const auto& types = results_.Types();
  const auto groupKey = [&](uint32_t t) -> uint64_t {
    if (column == ReviewColumn::Size) return static_cast<uint64_t>(types_[t].bytes);
    if (column == ReviewColumn::Modified) return TimeKey(types_[t].newest);
    return static_cast<uint64_t>(types[t].row);
  };
  const bool groupsDescending = descending && column != ReviewColumn::Name && column != ReviewColumn::Folder;
  std::sort(typeOrder_.begin(), typeOrder_.end(), [&](uint32_t a, uint32_t b) {
    const uint64_t ka = groupKey(a), kb = groupKey(b);
    if (ka != kb) return groupsDescending ? ka > kb : ka < kb;
    return types[a].row != types[b].row ? types[a].row < types[b].row : a < b;
  });
  Rebuild();
}

void FoundReview::SetFilter(std::string_view part) {
  filter_ = std::string(part);
  std::string folded(part);
  for (char& c : folded) c = static_cast<char>(Folded(c));
  // In the order of the results, which is that of their paths in memory.
  for (TypeFiles& t : types_) t.shownBytes = 0;
  for (uint32_t i = 0; i < results_.size(); ++i) {
    const FoundRecord& r = results_[i];
    if (r.IsDupe()) continue;
    const bool shown = HoldsFolded(results_.Path(i), folded);
    flags_[i] = static_cast<uint8_t>((flags_[i] & ~kShown) | (shown ? kShown : 0));
    if (shown) types_[r.type].shownBytes += r.size;
  }
  Rebuild();
}

void FoundReview::Rebuild() {
  uint64_t shownTicked = 0;
  for (uint32_t t = 0; t < types_.size(); ++t) {
    TypeFiles& type = types_[t];
    std::vector<uint32_t>& shown = shown_[t];
    shown.clear();
    type.shownTicked = 0;
    for (const uint32_t i : type.files) {
      if ((flags_[i] & kShown) == 0) {
        rowOf_[i] = kNowhere;
        continue;
      }
      rowOf_[i] = static_cast<uint32_t>(shown.size());
      shown.push_back(i);
      type.shownTicked += Ticked(i) ? 1 : 0;
    }
    shownTicked += type.shownTicked;
    groupOf_[t] = kNowhere;
  }
  groups_.clear();
  for (const uint32_t t : typeOrder_) {
    if (shown_[t].empty()) continue;
    groupOf_[t] = static_cast<uint32_t>(groups_.size());
    groups_.push_back(t);
  }
  totals_.tickedHidden = totals_.ticked - shownTicked;
}

std::optional<size_t> FoundReview::GroupOf(uint32_t type) const {
  if (type >= groupOf_.size() || groupOf_[type] == kNowhere) return std::nullopt;
  return groupOf_[type];
}

std::optional<std::pair<size_t, size_t>> FoundReview::PlaceOf(uint32_t record) const {
  if (record >= rowOf_.size() || rowOf_[record] == kNowhere) return std::nullopt;
  const std::optional<size_t> group = GroupOf(results_[record].type);
  if (!group) return std::nullopt;
  return std::pair<size_t, size_t>{*group, rowOf_[record]};
}

void FoundReview::SetTicked(uint32_t record, bool on) {
  if (record >= flags_.size() || results_[record].IsDupe() || Ticked(record) == on) return;
  flags_[record] ^= kTicked;
  const int64_t size = results_[record].size;
  const bool shown = (flags_[record] & kShown) != 0;
  TypeFiles& type = types_[results_[record].type];
  if (on) {
    ++totals_.ticked;
    totals_.tickedBytes += size;
    if (shown) ++type.shownTicked;
    else ++totals_.tickedHidden;
  } else {
    --totals_.ticked;
    totals_.tickedBytes -= size;
    if (shown) --type.shownTicked;
    else --totals_.tickedHidden;
  }
}

TickState FoundReview::GroupTick(size_t group) const {
  const uint32_t t = groups_[group];
  const uint64_t ticked = types_[t].shownTicked;
  if (ticked == 0) return TickState::None;
  return ticked == shown_[t].size() ? TickState::All : TickState::Some;
}

void FoundReview::SetGroupTicked(size_t group, bool on) {
  for (const uint32_t i : shown_[groups_[group]]) SetTicked(i, on);
}

std::vector<uint32_t> FoundReview::TickedRecords() const {
  std::vector<uint32_t> ticked;
  ticked.reserve(totals_.ticked);
  for (uint32_t i = 0; i < flags_.size(); ++i)
    if (Ticked(i)) ticked.push_back(i);
  return ticked;
}

std::string ReviewStatusText(const FoundReview::Totals& totals, const NumberSeparators& separators) {
  std::string text = FormatText(texts::kReviewTicked, StringForCount(totals.ticked, separators).c_str(),
                                StringForCount(totals.files, separators).c_str(),
                                StringForBytes(totals.tickedBytes, separators).c_str());
  if (totals.tickedHidden > 0)
    text += FormatText(texts::kReviewTickedHidden, StringForCount(totals.tickedHidden, separators).c_str());
  return text;
}

std::string ReviewFileCountText(uint64_t files, const NumberSeparators& separators) {
  return FormatText(texts::kReviewFiles, StringForCount(files, separators).c_str(),
                    std::string(texts::t2[files == 1 ? 1 : 0]).c_str());
}

}  // namespace vorlo
