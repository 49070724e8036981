// The delete specifications of every junk type of a run in one structure,
// so that each name of a folder is matched once for all of them. A name is
// looked up by its last (or first) few characters among the fixed ends of
// all specifications, and only the specifications found there, with the few
// that have no fixed end, are tried on it, each by the type's own matching
// rules. The answer for each type is what its own DeleteSpecSet answers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/junk_type.h"
#include "core/wildcard.h"
#include "platform/dir_listing.h"

namespace vorlo {

class RunMatcher {
 public:
  // A file a type takes: the type's index (in the order given), the index
  // of its first specification that takes the file (counting the non-empty
  // ones, as DeleteSpecSet does) and the file's entry in the listing.
  struct Hit {
    uint32_t type;
    uint32_t spec;
    uint32_t entry;
    bool operator==(const Hit&) const = default;
  };

  // The delete specifications of each type of the run, in run order.
  explicit RunMatcher(const std::vector<const SpecList*>& types);

  size_t Types() const { return types_; }

  // Every file of `listing` some type takes, sorted by type, then
  // specification, then entry: for each type the order of DeleteSpecSet.
  void Match(const DirEntries& listing, std::vector<Hit>& out);

 private:
  // Longest end of a name looked up.
  static constexpr size_t kMaxKey = 8;
  struct Candidate {
    uint32_t type;
    uint32_t spec;     // index into specs_
    char inside = 0;   // a character the name must hold, when known
  };
  struct Slot {
    uint64_t key = 0;
    uint32_t first = 0, count = 0;  // into candidates_
  };

  void Index(const std::vector<std::pair<uint64_t, Candidate>>& keyed);
  const Slot* Find(uint64_t key) const;
  template <class Folded>
  void Try(std::string_view name, const Folded& folded, uint32_t entry, std::vector<Hit>& out);
  template <class Folded>
  void TryCandidates(const Slot* slot, std::string_view name, const Folded& folded);

  size_t types_ = 0;
  std::vector<DeleteSpec> specs_;
  std::vector<uint32_t> specIndex_;  // per entry of specs_: its index within its type
  std::vector<Candidate> candidates_;  // grouped by key
  std::vector<Slot> table_;            // open addressing, a power of two
  std::vector<Candidate> anywhere_;    // no fixed end: tried on every name
  // Per ASCII last (first) character: the key lengths of the tails (heads)
  // ending (starting) with it, bit k for k characters; [128] for the
  // characters outside ASCII.
  uint16_t tailLengths_[129] = {};
  uint16_t headLengths_[129] = {};
  // Per name.
  std::vector<std::pair<uint32_t, uint32_t>> taken_;  // type, spec within the type
  std::u32string folded_, scratch_;
};

}  // namespace vorlo
