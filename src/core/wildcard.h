// File specification matching. Delete specifications pick files out of a
// folder listing (letters compared without case, "*.*" takes dotless names
// too); protect patterns go through MyPathMatchSpec, which folds only a-z and
// gives every dotless name a dot, so the two deliberately differ.
#pragma once

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

// One compiled delete specification.
class DeleteSpec {
 public:
  explicit DeleteSpec(std::string_view spec);

  // Pattern test alone; `foldedName` as made by AppendFolded.
  bool Matches(std::u32string_view foldedName) const;
  // Pattern test and the no-extension filter.
  bool Takes(std::string_view name, std::u32string_view foldedName) const {
    return (!noExt_ || HasNoExt(name)) && Matches(foldedName);
  }
  // The specification has no extension: it takes only names without one.
  bool NoExt() const { return noExt_; }

 private:
  // A pattern split at its stars: the first part fits at the start of the
  // name, the last at its end, and each part between at its leftmost place
  // after the one before, which decides a match without backtracking.
  struct Glob {
    explicit Glob(std::u32string_view pattern);
    bool Matches(std::u32string_view name) const;
    std::vector<std::u32string> parts;  // "?" inside a part takes any character
    size_t minLength = 0;
    bool hasStar = false;
  };

  std::vector<Glob> globs_;  // tried in order: the reading first, then the alternative
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
  static constexpr size_t kNotAFile = static_cast<size_t>(-1);
  struct Span {
    size_t offset;
    size_t length;
  };

  std::vector<DeleteSpec> specs_;
  std::u32string folded_;   // folded names of the listing's files, back to back
  std::u32string scratch_;  // decoding buffer of AppendFolded
  std::vector<Span> spans_;
  std::vector<unsigned char> taken_;
};

}  // namespace vorlo
