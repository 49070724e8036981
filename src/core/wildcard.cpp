#include "core/wildcard.h"

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
}

namespace {

bool PartAt(std::u32string_view part, std::u32string_view name, size_t pos) {
  for (size_t i = 0; i < part.size(); ++i)
    if (part[i] != U'?' && part[i] != name[pos + i]) return false;
  return true;
}

}  // namespace

bool DeleteSpec::Glob::Matches(std::u32string_view name) const {
  if (name.size() < minLength) return false;
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
      if (literalStart) pos = name.find(part[0], pos);
      if (pos == std::u32string_view::npos || pos + part.size() > end) return false;
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
}

bool DeleteSpec::Matches(std::u32string_view foldedName) const {
  if (empty_) return false;
  for (const Glob& g : globs_)
    if (g.Matches(foldedName)) return true;
  return false;
}

DeleteSpecSet::DeleteSpecSet(const SpecList& deletes) {
  specs_.reserve(deletes.size());
  // Empty entries match nothing.
  for (const std::string_view s : deletes)
    if (!s.empty()) specs_.emplace_back(s);
}

void DeleteSpecSet::Match(const DirEntries& listing, std::vector<size_t>& out) {
  out.clear();
  if (specs_.empty()) return;
  const size_t count = listing.size();

  // Each name is folded once per listing, not once per specification.
  folded_.clear();
  spans_.resize(count);
  for (size_t i = 0; i < count; ++i) {
    if (!listing.IsFile(i)) {
      spans_[i] = {kNotAFile, 0};
      continue;
    }
    const size_t start = folded_.size();
    AppendFolded(listing.Name(i), folded_, scratch_);
    spans_[i] = {start, folded_.size() - start};
  }

  // Names in one folder are distinct byte strings, so the entry index is the
  // file's identity.
  taken_.assign(count, 0);
  const std::u32string_view all = folded_;
  for (const DeleteSpec& spec : specs_) {
    for (size_t i = 0; i < count; ++i) {
      if (spans_[i].offset == kNotAFile || taken_[i]) continue;
      if (!spec.Takes(listing.Name(i), all.substr(spans_[i].offset, spans_[i].length))) continue;
      taken_[i] = 1;
      out.push_back(i);
    }
  }
}

}  // namespace vorlo
