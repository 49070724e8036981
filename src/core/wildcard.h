// File specification matching. Delete specifications pick files out of a
// folder listing (letters compared without case, "*.*" takes dotless names
// too); protect patterns go through MyPathMatchSpec, which folds only a-z and
// gives every dotless name a dot, so the two deliberately differ.
#pragma once

#include <bitset>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "core/junk_type.h"
#include "platform/dir_listing.h"

namespace vorlo {

// True when the name or specification has no extension: no "." at all, a
// "\" or ":" after the last ".", or nothing after it.
bool HasNoExt(std::string_view nameOrSpec);

// True when the file name matches the protect pattern.
bool MyPathMatchSpec(std::string_view FileParam, std::string_view Spec);

// Appends the case-folded code points of a name or specification.
void AppendFolded(std::string_view text, std::u32string& out, std::u32string& scratch);

// A plain ASCII name seen folded, letter by letter, as AppendFolded would
// give it: such names need no folded copy.
struct AsciiFolded {
  std::string_view name;
  size_t size() const { return name.size(); }
  char32_t operator[](size_t i) const {
    const auto c = static_cast<unsigned char>(name[i]);
    return static_cast<unsigned>(c - 'A') < 26u ? c + 32 : c;
  }
};

// One compiled delete specification.
class DeleteSpec {
 public:
  explicit DeleteSpec(std::string_view spec);

  // Pattern test alone; `foldedName` as made by AppendFolded.
  bool Matches(std::u32string_view foldedName) const { return MatchesFolded(foldedName); }
  bool Matches(AsciiFolded name) const { return MatchesFolded(name); }
  // Pattern test and the no-extension filter.
  template <class Folded>
  bool Takes(std::string_view name, Folded foldedName) const {
    return Matches(foldedName) && (!noExt_ || HasNoExt(name));
  }
  // False when no name ending in `last` (folded) can match: a test cheap
  // enough to make before Takes for every name.
  bool MayEndIn(char32_t last) const { return ends_[0] == 0 || last == ends_[0] || last == ends_[1]; }
  // The specification has no extension: it takes only names without one.
  bool NoExt() const { return noExt_; }
  // Adds to `first` and `last` (ASCII, folded) the characters a name must
  // start or end with to match, or else to `inside` a character without
  // case that it must contain; false when no such test can rule a name out.
  bool AddEdgeChars(std::bitset<128>& first, std::bitset<128>& last, std::string& inside) const;
  // Per reading of the specification, the fixed text (folded, without "?")
  // every name it takes ends with, or when there is none the one every such
  // name begins with; both empty when neither edge is fixed. A name that has
  // neither for any reading is not taken.
  struct Edge {
    std::u32string tail, head;
    char inside = 0;  // an ASCII character without case every taken name holds, or 0
  };
  std::vector<Edge> Edges() const;

 private:
  template <class Name>
  bool MatchesFolded(Name name) const;

  // A pattern split at its stars: the first part fits at the start of the
  // name, the last at its end, and each part between at its leftmost place
  // after the one before, which decides a match without backtracking.
  struct Glob {
    explicit Glob(std::u32string_view pattern);
    template <class Name>
    bool Matches(Name name) const;
    std::vector<std::u32string> parts;  // "?" inside a part takes any character
    size_t minLength = 0;
    char32_t firstChar = 0;  // the character every match starts with, if one
    char32_t lastChar = 0;   // the character every match ends in, if one
    char insideChar = 0;     // an ASCII character without case in every match, if one
    bool hasStar = false;
  };

  std::vector<Glob> globs_;  // tried in order: the reading first, then the alternative
  char32_t ends_[2] = {0, 0};  // the last characters of all matches, when every reading has one
  bool empty_ = true;
  bool noExt_ = false;
};

// A junk type's delete specifications applied to folder listings. Keeps its
// buffers between listings, so one instance per scan thread.
class DeleteSpecSet {
 public:
  explicit DeleteSpecSet(const SpecList& deletes);

  // Indexes into `listing` of the files taken: specification order, then
  // listing order, each entry at most once. Folders and entries that are
  // neither regular files nor links are never taken.
  void Match(const DirEntries& listing, std::vector<size_t>& out);

  bool empty() const { return specs_.empty(); }

 private:
  // The edge test of a listed name (not empty).
  bool EdgesMayMatch(std::string_view name);

  std::vector<DeleteSpec> specs_;
  std::u32string folded_, scratch_;  // a name that is not plain ASCII, folded
  std::vector<std::pair<uint32_t, uint32_t>> hits_;  // specification, entry
  // A name some specification may take starts with a character of
  // firstChars_, ends with one of lastChars_ (ASCII, folded) or contains one
  // of insideChars_, when edgeFilter_.
  std::bitset<128> firstChars_, lastChars_;
  std::string insideChars_;
  bool edgeFilter_ = false;
};

}  // namespace vorlo
