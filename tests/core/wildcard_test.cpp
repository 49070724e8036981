#include "core/wildcard.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorlo {
namespace {

TEST(Wildcard, HasNoExt) {
  const struct {
    const char* text;
    bool noExt;
  } cases[] = {
      {"Makefile", true},       {"name.", true},  {"", true},      {"a.b.txt", false},
      {"*.tmp", false},         {"*.*", false},   {"*.", true},    {"*", true},
      {".bashrc", false},       {"a.b\\c", true}, {"a.b:c", true}, {"a\\b.c", false},
      {"_default_image", true},
  };
  for (const auto& c : cases) EXPECT_EQ(HasNoExt(c.text), c.noExt) << c.text;
}

TEST(Wildcard, ProtectPatterns) {
  const struct {
    const char* pattern;
    const char* name;
    bool match;
  } cases[] = {
      {"*.tmp", "A.TMP", true},
      {"*.tmp", "a.tmp", true},
      {"*.tmp", "a.tmpx", false},
      {"*.tmp", "a.tm", false},
      {"*.", "Makefile", true},
      {"*.", "a.txt", false},
      {"*.*", "Makefile", true},
      {"*.*", "a.txt", true},
      {"file???._dd", "file123._dd", true},
      {"file???._dd", "file12._dd", false},
      {"file????._dd", "file1234._dd", true},
      {"~*.*", "~desktop.ini", true},
      {"~*.*", "~x", true},
      {"README", "README", false},  // every name gets a dot
      {"README.", "README", true},
      {"README.", "readme", true},
      {"\xC3\xA4*", "\xC3\x84pfel", false},  // only a-z fold: ä is not Ä
      {"\xC3\xA4?.", "\xC3\xA4x", true},     // "?" takes one code point, not one byte
      {"a*", "Apfel", true},
      {"", "x.txt", false},
      {"", "", false},
      {"*", "", true},  // the empty name is matched as "."
      {"bad?.txt", "bad\xFF.txt", true},
      {"bad\xFF.txt", "bad\xFF.txt", true},
      {"bad\xFE.txt", "bad\xFF.txt", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(MyPathMatchSpec(c.name, c.pattern), c.match) << c.pattern << " / " << c.name;
}

// The recursive definition the fast matcher must agree with.
bool ReferenceMatch(std::string_view p, std::string_view n) {
  if (p.empty()) return n.empty();
  if (p[0] == '*') {
    for (size_t k = 0;; ++k) {
      if (ReferenceMatch(p.substr(1), n.substr(k))) return true;
      if (k == n.size()) return false;
    }
  }
  if (n.empty()) return false;
  if (p[0] == '?' || p[0] == n[0]) return ReferenceMatch(p.substr(1), n.substr(1));
  return false;
}

void AllStrings(const std::string& alphabet, size_t maxLength, std::vector<std::string>& out) {
  out = {""};
  for (size_t i = 0; i < out.size(); ++i)
    if (out[i].size() < maxLength)
      for (char c : alphabet) out.push_back(out[i] + c);
}

TEST(Wildcard, AgreesWithTheRecursiveDefinition) {
  std::vector<std::string> patterns, names;
  AllStrings("a*?.", 5, patterns);
  AllStrings("ab.", 5, names);
  for (const auto& p : patterns)
    for (const auto& n : names) {
      const std::string dotted = n.find('.') == std::string::npos ? n + "." : n;
      ASSERT_EQ(MyPathMatchSpec(n, p), ReferenceMatch(p, dotted)) << p << " / " << n;
    }
}

TEST(Wildcard, ManyStarsDoNotBlowUp) {
  const std::string name(300, 'a');
  EXPECT_FALSE(MyPathMatchSpec(name, "*a*a*a*a*a*a*a*a*a*a*a*a*b"));
  EXPECT_TRUE(MyPathMatchSpec(name, "*a*a*a*a*a*a*a*a*a*a*a*a*."));
}

DirEntries Listing(const std::vector<std::string>& files) {
  DirEntries l;
  for (const auto& f : files) l.Add(f, EntryKind::File);
  return l;
}

std::vector<std::string> Taken(const SpecList& specs, const DirEntries& listing) {
  DeleteSpecSet set(specs);
  std::vector<size_t> idx;
  set.Match(listing, idx);
  std::vector<std::string> names;
  for (size_t i : idx) names.emplace_back(listing.Name(i));
  return names;
}

using Names = std::vector<std::string>;

TEST(Wildcard, DeleteSpecifications) {
  const struct {
    const char* spec;
    Names files;
    Names taken;
  } cases[] = {
      {"*.", {"Makefile", "a.txt", "b."}, {"Makefile", "b."}},
      {"*.*", {"Makefile", "a.txt", ".hidden", "b."}, {"Makefile", "a.txt", ".hidden", "b."}},
      {"*", {"Makefile", "a.txt", "b."}, {"Makefile", "b."}},
      {"*_default_image", {"x_default_image", "x_default_image.png"}, {"x_default_image"}},
      {"~*.*", {"~x", "~a.doc", "a~.doc"}, {"~x", "~a.doc"}},
      {"*.TMP", {"a.tmp", "B.Tmp", "c.tmpx"}, {"a.tmp", "B.Tmp"}},
      {"\xC3\xA4*", {"\xC3\x84pfel", "apfel"}, {"\xC3\x84pfel"}},  // all letters fold here
      {"chklist", {"CHKLIST", "chklist.ms", "chklist.x"}, {"CHKLIST"}},
      {"chklist.", {"chklist", "chklist.", "chklist.ms"}, {"chklist", "chklist."}},
      {"file?.log", {"file1.log", "file12.log", "file\xFF.log"}, {"file1.log", "file\xFF.log"}},
      {"", {"a", "b.c"}, {}},
      // Names ruled out by their first or last character: that character
      // folded, the name decoded (U+0130 folds to "i", U+0131 does not).
      {"i*", {"\xC4\xB0x", "\xC4\xB1x", "Ix", "\xFFi"}, {"\xC4\xB0x", "Ix"}},
      {"*.tmi", {"a.TM\xC4\xB0", "a.tm\xC4\xB1", "a.tmi\xB0", "\xE2\x82\xAC.tmI"}, {"a.TM\xC4\xB0", "\xE2\x82\xAC.tmI"}},
      {"*.tmp", {"a.tmp\xA9", "\xC3\xA9.TMP", "x.tmp\xF0\x9F\x98\x80"}, {"\xC3\xA9.TMP"}},
      {"*.~*", {"a.~b", "a~.b", "\xC3\xA9.~", "ab"}, {"a.~b", "\xC3\xA9.~"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Taken({c.spec}, Listing(c.files)), c.taken) << c.spec;
}

TEST(Wildcard, DeleteSetOrderUniquenessAndKinds) {
  DirEntries l;
  l.Add("z.tmp", EntryKind::File);
  l.Add("a.tmp", EntryKind::Symlink);  // links count as files
  l.Add("A.TMP", EntryKind::File);     // another file: names differ in bytes
  l.Add("dir.tmp", EntryKind::Folder);
  l.Add("fifo.tmp", EntryKind::Other);
  l.Add("a.log", EntryKind::File);
  EXPECT_EQ(Taken({"a.*", "*.tmp"}, l), (Names{"a.tmp", "A.TMP", "a.log", "z.tmp"}));
  EXPECT_EQ(Taken({"*.tmp", "a.*"}, l), (Names{"z.tmp", "a.tmp", "A.TMP", "a.log"}));
  EXPECT_EQ(Taken({}, l), Names{});

  // The buffers are reused: a second, smaller listing is not confused by the first.
  DeleteSpecSet set({"*.tmp"});
  std::vector<size_t> idx;
  set.Match(l, idx);
  set.Match(Listing({"q.txt", "q.tmp"}), idx);
  EXPECT_EQ(idx, (std::vector<size_t>{1}));
}

}  // namespace
}  // namespace vorlo
