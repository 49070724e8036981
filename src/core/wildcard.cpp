#include "core/wildcard.h"

#include <algorithm>
#include <cstring>

#include "core/text.h"

namespace vorlo {

namespace {

constexpr size_t kNone = static_cast<size_t>(-1);

// "*" takes any run of characters, "?" exactly one, everything else itself.
// On a mismatch only the latest "*" needs to take one more character: an
// earlier star could not do better, so this gives the results of the plain
// recursive definition without its exponential cost.
template <typename PatternAt, typename NameAt>
bool MMatch(size_t patternLength, PatternAt pattern, size_t nameLength, NameAt name) {
  size_t p = 0, n = 0;
  size_t starP = kNone, starN = 0;
  while (n < nameLength) {
    if (p < patternLength) {
      const char32_t c = pattern(p);
      if (c == U'*') {
        starP = p++;
        starN = n;
        continue;
      }
      if (c == U'?' || c == name(n)) {
        ++p;
        ++n;
        continue;
      }
    }
    if (starP == kNone) return false;
    p = starP + 1;
    n = ++starN;
  }
  while (p < patternLength && pattern(p) == U'*') ++p;
  return p == patternLength;
}

// Protect patterns fold a to z only; every other character must be exact.
constexpr char32_t UpperAtoZ(char32_t c) { return c >= U'a' && c <= U'z' ? c - 32 : c; }

bool MatchU32(std::u32string_view pattern, std::u32string_view name) {
  return MMatch(
      pattern.size(), [&](size_t i) { return pattern[i]; }, name.size(), [&](size_t i) { return name[i]; });
}

}  // namespace

bool HasNoExt(std::string_view nameOrSpec) {
  const size_t dot = nameOrSpec.rfind('.');
  if (dot == std::string_view::npos || dot + 1 == nameOrSpec.size()) return true;
  return nameOrSpec.find_first_of("\\:", dot + 1) != std::string_view::npos;
}

bool MyPathMatchSpec(std::string_view FileParam, std::string_view Spec) {
  // A dotless name is matched as "name.", so "*." reaches it.
  const bool addDot = FileParam.find('.') == std::string_view::npos;
  if (IsAscii(FileParam) && IsAscii(Spec)) {
    const size_t nameLength = FileParam.size() + (addDot ? 1 : 0);
    return MMatch(
        Spec.size(), [&](size_t i) { return UpperAtoZ(static_cast<unsigned char>(Spec[i])); }, nameLength,
        [&](size_t i) {
          return i < FileParam.size() ? UpperAtoZ(static_cast<unsigned char>(FileParam[i])) : U'.';
        });
  }
  thread_local std::u32string name, pattern;
  DecodeUtf8(FileParam, name);
  DecodeUtf8(Spec, pattern);
  if (addDot) name.push_back(U'.');
  for (char32_t& c : name) c = UpperAtoZ(c);
  for (char32_t& c : pattern) c = UpperAtoZ(c);
  return MatchU32(pattern, name);
}

void AppendFolded(std::string_view text, std::u32string& out, std::u32string& scratch) {
  // ASCII names, nearly all of them, fold in the same pass that checks them.
  const size_t start = out.size();
  out.resize(start + text.size());
  char32_t* p = out.data() + start;
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 0x80) {
      out.resize(start);
      DecodeUtf8(text, scratch);
      for (char32_t d : scratch) out.push_back(FoldCase(d));
      return;
    }
    *p++ = u >= 'A' && u <= 'Z' ? u + 32 : u;
  }
}

DeleteSpec::Glob::Glob(std::u32string_view pattern) {
  for (size_t start = 0;;) {
    const size_t star = pattern.find(U'*', start);
    parts.emplace_back(pattern.substr(start, star == std::u32string_view::npos ? star : star - start));
    minLength += parts.back().size();
    if (star == std::u32string_view::npos) break;
    hasStar = true;
    start = star + 1;
  }
  if (!parts.back().empty() && parts.back().back() != U'?') lastChar = parts.back().back();
  if (!parts.front().empty() && parts.front().front() != U'?') firstChar = parts.front().front();
  // No character outside ASCII folds to one of these.
  for (const std::u32string& part : parts)
    for (const char32_t c : part)
      if (c < 128 && c != U'?' && !(c >= U'a' && c <= U'z') && (insideChar == 0 || insideChar == '.'))
        insideChar = static_cast<char>(c);
}

namespace {

template <class Name>
bool PartAt(std::u32string_view part, const Name& name, size_t pos) {
  for (size_t i = 0; i < part.size(); ++i)
    if (part[i] != U'?' && part[i] != name[pos + i]) return false;
  return true;
}

}  // namespace

template <class Name>
bool DeleteSpec::Glob::Matches(Name name) const {
  if (name.size() < minLength) return false;
  // Most names fail on their last character: tried first.
  if (lastChar != 0 && name[name.size() - 1] != lastChar) return false;
  if (!hasStar) return name.size() == minLength && PartAt(parts[0], name, 0);
  const std::u32string_view first = parts.front(), last = parts.back();
  if (!PartAt(first, name, 0) || !PartAt(last, name, name.size() - last.size())) return false;
  // A part placed further right could only leave less room for the rest.
  size_t pos = first.size();
  const size_t end = name.size() - last.size();
  for (size_t k = 1; k + 1 < parts.size(); ++k) {
    const std::u32string_view part = parts[k];
    const bool literalStart = !part.empty() && part[0] != U'?';
    for (;; ++pos) {
      if (literalStart)
        while (pos < end && name[pos] != part[0]) ++pos;
      if (pos + part.size() > end) return false;
      if (PartAt(part, name, pos)) break;
    }
    pos += part.size();
  }
  return true;
}

DeleteSpec::DeleteSpec(std::string_view spec) : empty_(spec.empty()), noExt_(HasNoExt(spec)) {
  std::u32string pattern, scratch;
  AppendFolded(spec, pattern, scratch);
  const std::u32string_view p = pattern;
  if (p.size() >= 2 && p.substr(p.size() - 2) == U".*") {
    // "*.*" and "~*.*" take dotless names too.
    globs_.emplace_back(p);
    globs_.emplace_back(p.substr(0, p.size() - 2));
  } else if (!p.empty() && p.back() == U'.') {
    // A final dot stands for "no extension"; a Linux name may really end in
    // one, so that reading is tried second.
    globs_.emplace_back(p.substr(0, p.size() - 1));
    globs_.emplace_back(p);
  } else {
    globs_.emplace_back(p);
  }
  if (empty_) return;
  ends_[0] = globs_[0].lastChar;
  ends_[1] = globs_.size() > 1 ? globs_[1].lastChar : ends_[0];
  if (ends_[1] == 0) ends_[0] = 0;
}

bool DeleteSpec::AddEdgeChars(std::bitset<128>& first, std::bitset<128>& last, std::string& inside) const {
  if (empty_) return true;
  for (const Glob& g : globs_) {
    if (g.lastChar != 0 && g.lastChar < 128)
      last.set(g.lastChar);
    else if (g.firstChar != 0 && g.firstChar < 128)
      first.set(g.firstChar);
    else if (g.insideChar != 0 && inside.find(g.insideChar) == std::string::npos)
      inside.push_back(g.insideChar);
    else if (g.insideChar == 0)
      return false;
  }
  return true;
}

std::vector<DeleteSpec::Edge> DeleteSpec::Edges() const {
  std::vector<Edge> edges;
  if (empty_) return edges;
  for (const Glob& g : globs_) {
    Edge e;
    e.inside = g.insideChar;
    const std::u32string& last = g.parts.back();
    const size_t q = last.rfind(U'?');
    e.tail = q == std::u32string::npos ? last : last.substr(q + 1);
    if (e.tail.empty()) {
      const std::u32string& first = g.parts.front();
      e.head = first.substr(0, std::min(first.find(U'?'), first.size()));
    }
    edges.push_back(std::move(e));
  }
  return edges;
}

template <class Name>
bool DeleteSpec::MatchesFolded(Name name) const {
  if (empty_) return false;
  for (const Glob& g : globs_)
    if (g.Matches(name)) return true;
  return false;
}

// Both name forms are matched from the run's matcher as well.
template bool DeleteSpec::MatchesFolded<AsciiFolded>(AsciiFolded) const;
template bool DeleteSpec::MatchesFolded<std::u32string_view>(std::u32string_view) const;

DeleteSpecSet::DeleteSpecSet(const SpecList& deletes) {
  specs_.reserve(deletes.size());
  // Empty entries match nothing.
  for (const std::string_view s : deletes)
    if (!s.empty()) specs_.emplace_back(s);
  edgeFilter_ = true;
  for (const DeleteSpec& spec : specs_) edgeFilter_ = edgeFilter_ && spec.AddEdgeChars(firstChars_, lastChars_, insideChars_);
}

bool DeleteSpecSet::EdgesMayMatch(std::string_view name) {
  const auto inside = [&] {
    for (const char c : insideChars_)
      if (std::memchr(name.data(), c, name.size()) != nullptr) return true;
    return false;
  };
  const auto in = [](const std::bitset<128>& set, char32_t c) { return c < 128 && set[c]; };
  const auto first = static_cast<unsigned char>(name.front()), last = static_cast<unsigned char>(name.back());
  if (first < 0x80 && last < 0x80) {
    const AsciiFolded edges{name};
    return lastChars_[edges[name.size() - 1]] || firstChars_[edges[0]] || inside();
  }
  if (inside()) return true;
  // Decoding starts afresh at a byte that is not a continuation byte, so the
  // last character of the name is the last one decoded from there; the
  // first comes from at most four bytes.
  size_t from = name.size() - 1;
  while (from > 0 && name.size() - from < 4 && (static_cast<unsigned char>(name[from]) & 0xC0) == 0x80) --from;
  DecodeUtf8(name.substr(from), folded_);
  if (in(lastChars_, FoldCase(folded_.back()))) return true;
  DecodeUtf8(name.substr(0, 4), folded_);
  return in(firstChars_, FoldCase(folded_.front()));
}

void DeleteSpecSet::Match(const DirEntries& listing, std::vector<size_t>& out) {
  out.clear();
  if (specs_.empty()) return;
  // Each file goes to the first specification that takes it; names in one
  // folder are distinct byte strings, so the entry index is the file's
  // identity.
  hits_.clear();
  const auto take = [&](std::string_view name, auto foldedName, size_t i) {
    const char32_t last = foldedName.size() == 0 ? 0 : foldedName[foldedName.size() - 1];
    for (uint32_t s = 0; s < specs_.size(); ++s) {
      const DeleteSpec& spec = specs_[s];
      if (spec.MayEndIn(last) && spec.Takes(name, foldedName)) {
        hits_.emplace_back(s, static_cast<uint32_t>(i));
        return;
      }
    }
  };
  for (size_t i = 0; i < listing.size(); ++i) {
    if (!listing.IsFile(i)) continue;
    const std::string_view name = listing.Name(i);
    if (name.empty()) continue;
    // Most names are ruled out by their first and last characters alone.
    if (edgeFilter_ && !EdgesMayMatch(name)) continue;
    if (IsAscii(name)) {
      take(name, AsciiFolded{name}, i);
    } else {
      folded_.clear();
      AppendFolded(name, folded_, scratch_);
      take(name, std::u32string_view(folded_), i);
    }
  }
  // Specification order, then listing order.
  std::sort(hits_.begin(), hits_.end());
  for (const auto& h : hits_) out.push_back(h.second);
}

}  // namespace vorlo
