#include "core/run_matcher.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "core/text.h"

namespace vorlo {

namespace {

constexpr uint64_t kHeadTag = 1;

// The key of the `k` characters of an end: their hash, the length and
// whether it is a head; never 0 (an empty slot).
uint64_t KeyOf(uint64_t hash, size_t k, uint64_t tag) {
  const uint64_t key = (hash * 0x9E3779B97F4A7C15ull) ^ (uint64_t{k} << 56) ^ (tag << 63);
  return key == 0 ? 1 : key;
}

uint64_t Step(uint64_t hash, char32_t c) { return hash * 1000003u + c + 1; }

size_t LengthIndex(char32_t c) { return c < 128 ? c : 128; }

}  // namespace

RunMatcher::RunMatcher(const std::vector<const SpecList*>& types) : types_(types.size()) {
  std::vector<std::pair<uint64_t, Candidate>> keyed;
  for (uint32_t t = 0; t < types.size(); ++t) {
    uint32_t within = 0;
    // Empty entries match nothing and are not counted, as in DeleteSpecSet.
    for (const std::string_view s : *types[t]) {
      if (s.empty()) continue;
      const auto index = static_cast<uint32_t>(specs_.size());
      specs_.emplace_back(s);
      specIndex_.push_back(within++);
      const Candidate c{t, index};
      std::vector<DeleteSpec::Edge> edges = specs_.back().Edges();
      for (const DeleteSpec::Edge& e : edges) {
        const bool tail = !e.tail.empty();
        const std::u32string& end = tail ? e.tail : e.head;
        if (end.empty()) {
          anywhere_.push_back({t, index, e.inside});
          continue;
        }
        const size_t k = std::min(end.size(), kMaxKey);
        uint64_t hash = 0;
        for (size_t j = 0; j < k; ++j) hash = Step(hash, tail ? end[end.size() - 1 - j] : end[j]);
        keyed.emplace_back(KeyOf(hash, k, tail ? 0 : kHeadTag), c);
        const char32_t edge = tail ? end.back() : end.front();
        (tail ? tailLengths_ : headLengths_)[LengthIndex(edge)] |= static_cast<uint16_t>(1u << k);
      }
    }
  }
  Index(keyed);
}

void RunMatcher::Index(const std::vector<std::pair<uint64_t, Candidate>>& keyed) {
  std::vector<std::pair<uint64_t, Candidate>> sorted = keyed;
  std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) {
    return a.first != b.first ? a.first < b.first : a.second.spec < b.second.spec;
  });
  table_.assign(std::bit_ceil(std::max<size_t>(16, sorted.size() * 2)), Slot{});
  for (size_t i = 0; i < sorted.size();) {
    size_t j = i;
    while (j < sorted.size() && sorted[j].first == sorted[i].first) candidates_.push_back(sorted[j++].second);
    const uint64_t key = sorted[i].first;
    for (size_t at = key & (table_.size() - 1);; at = (at + 1) & (table_.size() - 1)) {
      if (table_[at].key != 0) continue;
      table_[at] = {key, static_cast<uint32_t>(candidates_.size() - (j - i)), static_cast<uint32_t>(j - i)};
      break;
    }
    i = j;
  }
}

const RunMatcher::Slot* RunMatcher::Find(uint64_t key) const {
  for (size_t at = key & (table_.size() - 1);; at = (at + 1) & (table_.size() - 1)) {
    const Slot& s = table_[at];
    if (s.key == key) return &s;
    if (s.key == 0) return nullptr;
  }
}

template <class Folded>
void RunMatcher::TryCandidates(const Slot* slot, std::string_view name, const Folded& folded) {
  if (slot == nullptr) return;
  for (uint32_t i = slot->first; i < slot->first + slot->count; ++i) {
    const Candidate& c = candidates_[i];
    if (specs_[c.spec].Takes(name, folded)) taken_.emplace_back(c.type, specIndex_[c.spec]);
  }
}

template <class Folded>
void RunMatcher::Try(std::string_view name, const Folded& folded, uint32_t entry, std::vector<Hit>& out) {
  taken_.clear();
  const size_t n = folded.size();
  if (n == 0) return;
  // The names' ends that some specification's end may be.
  if (uint16_t lengths = tailLengths_[LengthIndex(folded[n - 1])]) {
    uint64_t hash = 0;
    for (size_t k = 1; k <= kMaxKey && k <= n && lengths >> k != 0; ++k) {
      hash = Step(hash, folded[n - k]);
      if (lengths & (1u << k)) TryCandidates(Find(KeyOf(hash, k, 0)), name, folded);
    }
  }
  if (uint16_t lengths = headLengths_[LengthIndex(folded[0])]) {
    uint64_t hash = 0;
    for (size_t k = 1; k <= kMaxKey && k <= n && lengths >> k != 0; ++k) {
      hash = Step(hash, folded[k - 1]);
      if (lengths & (1u << k)) TryCandidates(Find(KeyOf(hash, k, kHeadTag)), name, folded);
    }
  }
  for (const Candidate& c : anywhere_)
    if ((c.inside == 0 || std::memchr(name.data(), c.inside, name.size()) != nullptr) &&
        specs_[c.spec].Takes(name, folded))
      taken_.emplace_back(c.type, specIndex_[c.spec]);
  if (taken_.empty()) return;
  // Each type takes the file by its first specification that takes it.
  std::sort(taken_.begin(), taken_.end());
  uint32_t last = UINT32_MAX;
  for (const auto& [type, spec] : taken_) {
    if (type == last) continue;
    last = type;
    out.push_back({type, spec, entry});
  }
}

void RunMatcher::Match(const DirEntries& listing, std::vector<Hit>& out) {
  out.clear();
  for (size_t i = 0; i < listing.size(); ++i) {
    if (!listing.IsFile(i)) continue;
    const std::string_view name = listing.Name(i);
    if (name.empty()) continue;
    if (IsAscii(name)) {
      Try(name, AsciiFolded{name}, static_cast<uint32_t>(i), out);
    } else {
      folded_.clear();
      AppendFolded(name, folded_, scratch_);
      Try(name, std::u32string_view(folded_), static_cast<uint32_t>(i), out);
    }
  }
  std::sort(out.begin(), out.end(), [](const Hit& a, const Hit& b) {
    if (a.type != b.type) return a.type < b.type;
    return a.spec != b.spec ? a.spec < b.spec : a.entry < b.entry;
  });
}

}  // namespace vorlo
