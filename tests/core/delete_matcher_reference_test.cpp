// The fast delete matcher against a plain reference: fold both texts, then
// glob, with the readings a delete specification has (a final ".*" may
// take nothing, a final "." stands for no extension) and the no-extension
// filter. Every specification and name of a small alphabet up to five
// characters, and the default table's specifications, alone and as the
// sets their types hold: an over-match here would remove files nobody
// asked for. The run's shared matcher answers for every type of a run what
// the type's own set answers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "core/default_types.h"
#include "core/run_matcher.h"
#include "core/text.h"
#include "core/wildcard.h"

namespace vorlo {
namespace {

std::u32string Folded(std::string_view text) {
  std::u32string out = DecodeUtf8(text);
  for (char32_t& c : out) c = FoldCase(c);
  return out;
}

// The textbook recursive wildcard match.
bool Glob(std::u32string_view p, std::u32string_view n) {
  if (p.empty()) return n.empty();
  if (p[0] == U'*') return Glob(p.substr(1), n) || (!n.empty() && Glob(p, n.substr(1)));
  return !n.empty() && (p[0] == U'?' || p[0] == n[0]) && Glob(p.substr(1), n.substr(1));
}

struct RefName {
  std::u32string folded;
  bool noExt;
};

// A delete specification as the reference reads it.
class RefSpec {
 public:
  explicit RefSpec(std::string_view spec) : empty_(spec.empty()), noExt_(HasNoExt(spec)) {
    const std::u32string p = Folded(spec);
    readings_ = {p};
    if (p.size() >= 2 && p.ends_with(U".*")) readings_.push_back(p.substr(0, p.size() - 2));
    if (p.ends_with(U'.')) readings_.push_back(p.substr(0, p.size() - 1));
  }
  bool Takes(const RefName& n) const {
    if (empty_ || n.folded.empty() || (noExt_ && !n.noExt)) return false;
    for (const std::u32string& r : readings_)
      if (Glob(r, n.folded)) return true;
    return false;
  }

 private:
  bool empty_, noExt_;
  std::vector<std::u32string> readings_;
};

// Every text of 0 to `length` characters from `alphabet`.
std::vector<std::string> AllTexts(const std::vector<std::string>& alphabet, size_t length) {
  std::vector<std::string> texts = {""};
  for (size_t from = 0, n = 0; n < length; ++n) {
    const size_t to = texts.size();
    for (size_t i = from; i < to; ++i)
      for (const std::string& c : alphabet) texts.push_back(texts[i] + c);
    from = to;
  }
  return texts;
}

// The names as a listing, and as the reference sees them.
struct Names {
  explicit Names(std::vector<std::string> texts) : texts(std::move(texts)) {
    for (const std::string& n : this->texts) {
      listing.Add(n, EntryKind::File);
      ref.push_back({Folded(n), HasNoExt(n)});
    }
  }
  std::vector<std::string> texts;
  DirEntries listing;
  std::vector<RefName> ref;
};

// Compares the set's matches with the reference: each name goes to the
// first specification that takes it, specification order then listing
// order.
void ExpectSameAsReference(const SpecList& specs, const Names& names) {
  std::vector<RefSpec> ref;
  for (const std::string_view s : specs) ref.emplace_back(s);
  std::vector<std::vector<size_t>> bySpec(ref.size());
  for (size_t i = 0; i < names.ref.size(); ++i)
    for (size_t k = 0; k < ref.size(); ++k)
      if (ref[k].Takes(names.ref[i])) {
        bySpec[k].push_back(i);
        break;
      }
  std::vector<size_t> expected;
  for (const auto& taken : bySpec) expected.insert(expected.end(), taken.begin(), taken.end());
  DeleteSpecSet set(specs);
  std::vector<size_t> got;
  set.Match(names.listing, got);
  if (got == expected) return;
  std::string specText;
  for (const std::string_view s : specs) specText += "[" + std::string(s) + "]";
  std::string differ;
  for (size_t i = 0; i < names.texts.size() && differ.empty(); ++i)
    if ((std::find(got.begin(), got.end(), i) == got.end()) != (std::find(expected.begin(), expected.end(), i) == expected.end()))
      differ = names.texts[i];
  ADD_FAILURE() << "specifications " << ShellQuoted(specText) << ": " << got.size() << " taken, reference "
                << expected.size() << "; first name they disagree on: " << ShellQuoted(differ);
}

const std::vector<std::string> kSpecAlphabet = {"*", "?", ".", "a", "A", "\xc3\xa9", "\xff"};

TEST(DeleteMatcherReference, EverySpecificationUpToFiveCharactersOverShortNames) {
  const Names names(AllTexts({".", "a", "A", "\xc3\xa9", "\xc3\x89", "\xff", "~"}, 4));
  for (const std::string& s : AllTexts(kSpecAlphabet, 5)) {
    ExpectSameAsReference(SpecList{s}, names);
    if (HasFailure()) return;  // one specification shows the fault
  }
}

TEST(DeleteMatcherReference, ShortSpecificationsOverNamesUpToFiveCharacters) {
  const Names names(AllTexts({".", "a", "A", "\xc3\xa9", "\xff"}, 5));
  for (const std::string& s : AllTexts(kSpecAlphabet, 4)) {
    ExpectSameAsReference(SpecList{s}, names);
    if (HasFailure()) return;
  }
}

// The default table's specifications, each alone and as its type's set,
// over names made from them: each "*" and "?" filled in several ways, in
// both letter cases, with and without an extension.
TEST(DeleteMatcherReference, TheDefaultSpecificationsAloneAndAsTheirTypesSets) {
  std::vector<TJunkFileObj> table;
  AddAllDefaults(table, false, DefaultFolders{"/c/", "", "/tmp/", "/tmp", "/", "/h", "/h/.cache"},
                 DefaultsFor::Chooser);
  std::vector<std::string> texts;
  const std::vector<std::string> fillers = {"", "x", "X.y", ".", "\xc3\xa9", "a.b.c"};
  for (const TJunkFileObj& t : table)
    for (const std::string_view s : t.Deletes())
      for (const std::string& fill : fillers) {
        std::string name;
        for (const char c : s) name += c == '*' ? fill : c == '?' ? std::string("q") : std::string(1, c);
        for (std::string variant : {name, name + ".bak", name.substr(0, name.size() / 2)}) {
          texts.push_back(variant);
          for (char& c : variant) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
          texts.push_back(variant);
        }
      }
  // A listing holds each name once.
  std::sort(texts.begin(), texts.end());
  texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
  const Names names(texts);
  for (const TJunkFileObj& t : table) {
    ExpectSameAsReference(t.Deletes(), names);
    for (const std::string_view s : t.Deletes()) ExpectSameAsReference(SpecList{s}, names);
  }
}

// The run's matcher over `types` against each type's own set.
void ExpectRunMatcherAgrees(const std::vector<SpecList>& types, const Names& names) {
  std::vector<const SpecList*> run;
  for (const SpecList& t : types) run.push_back(&t);
  RunMatcher matcher(run);
  std::vector<RunMatcher::Hit> hits;
  matcher.Match(names.listing, hits);
  for (uint32_t t = 0; t < types.size(); ++t) {
    std::vector<size_t> own, shared;
    DeleteSpecSet(types[t]).Match(names.listing, own);
    for (const RunMatcher::Hit& h : hits)
      if (h.type == t) shared.push_back(h.entry);
    if (own == shared) continue;
    std::string specText;
    for (const std::string_view s : types[t]) specText += "[" + std::string(s) + "]";
    ADD_FAILURE() << "type " << t << " " << ShellQuoted(specText) << ": shared " << shared.size() << ", own "
                  << own.size();
    return;
  }
}

// Every specification up to four characters, seven to a type and five
// types to a run, over short names.
TEST(DeleteMatcherReference, TheRunsMatcherAnswersAsEachTypesOwnSet) {
  const Names names(AllTexts({".", "a", "A", "\xc3\xa9", "\xc3\x89", "\xff", "~"}, 4));
  const std::vector<std::string> specs = AllTexts(kSpecAlphabet, 4);
  for (size_t from = 0; from < specs.size(); from += 35) {
    std::vector<SpecList> types;
    for (size_t t = from; t < std::min(specs.size(), from + 35); t += 7)
      types.push_back(SpecList(std::vector<std::string>(
          specs.begin() + static_cast<std::ptrdiff_t>(t),
          specs.begin() + static_cast<std::ptrdiff_t>(std::min(specs.size(), t + 7)))));
    ExpectRunMatcherAgrees(types, names);
    if (HasFailure()) return;
  }
}

// The whole default table as one run, over names made from its
// specifications, and a run of types that take the same names by different
// specifications, in both letter cases and outside ASCII.
TEST(DeleteMatcherReference, TheRunsMatcherOverTheDefaultTableAndSharedNames) {
  std::vector<TJunkFileObj> table;
  AddAllDefaults(table, false, DefaultFolders{"/c/", "", "/tmp/", "/tmp", "/", "/h", "/h/.cache"},
                 DefaultsFor::Chooser);
  std::vector<SpecList> types;
  std::vector<std::string> texts = {"x.tmp", "X.TMP", "~x.tmp", "x.tmp~", "core", "CORE", "caf\xc3\xa9.tmp",
                                    "CAF\xc3\x89.TMP", "a.b.c", "noext", ".hidden", "\xff.tmp", "x.t?p"};
  for (const TJunkFileObj& t : table) {
    types.push_back(t.Deletes());
    for (const std::string_view s : t.Deletes()) {
      std::string name;
      for (const char c : s) name += c == '*' ? "fill" : c == '?' ? std::string("q") : std::string(1, c);
      texts.push_back(name);
      texts.push_back(name + ".bak");
    }
  }
  types.push_back({"*.tmp", "x.*"});
  types.push_back({"x.*", "*.TMP", "", "~*"});
  types.push_back({"*\xc3\xa9.tmp", "core.", "*.*"});
  std::sort(texts.begin(), texts.end());
  texts.erase(std::unique(texts.begin(), texts.end()), texts.end());
  ExpectRunMatcherAgrees(types, Names(texts));
}

}  // namespace
}  // namespace vorlo
