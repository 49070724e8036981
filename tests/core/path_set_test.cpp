#include "core/path_set.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorlo {
namespace {

using namespace std::string_literals;

TEST(PathSet, TellsApartPathsThatDifferInOneByteOrInWhereTheirFolderEnds) {
  const std::string longName(300, 'n');  // a length of two LEB128 bytes
  const std::vector<std::string> paths = {
      ""s,          "/"s,          "a"s,           "/a"s,          "a/"s,           "//a"s,
      "/d/b/c.tmp"s, "/d/b/c.tmq"s, "/d/c/c.tmp"s, "/d/b/c"s,     "/d/bxc"s,       "/d/b/c/"s,
      "x\0y"s,      "x"s,          "x\0"s,         "\0"s,          "/\xff\xfe/\xc3\x28"s, "/r\xe9sum\xe9"s,
      "/r\xc3\xa9sum\xc3\xa9"s,    "/l/" + longName, "/l/" + longName + "x", "/l/" + longName.substr(1) + "m",
      std::string(20000, '/'),     std::string(20000, '/') + "a"};
  PathSet set;
  for (const std::string& p : paths) EXPECT_TRUE(set.Insert(p)) << p;
  EXPECT_EQ(set.size(), paths.size());
  for (const std::string& p : paths) {
    EXPECT_TRUE(set.Contains(p)) << p;
    EXPECT_FALSE(set.Insert(p)) << p;
  }
  for (const std::string& p : {"/d/b/c.tm"s, "/d/b/"s, "/d/b/c.tmp\0"s, "y"s, "/r\xe9sum\xe8"s, "/l/"s + longName + "y"})
    EXPECT_FALSE(set.Contains(p)) << p;
  EXPECT_EQ(set.size(), paths.size());
}

// Random paths over a tiny alphabet meet the same folders and near-identical
// names again and again; the set must answer as a plain map of strings does
// (a path keeps the tag of its first insertion), through many rounds of
// growth, and start afresh after Clear.
TEST(PathSet, AgreesWithAPlainSetThroughGrowthAndClear) {
  std::mt19937 rng(7);
  const char alphabet[] = {'/', 'a', 'b', '\0', '\xff'};
  auto randomPath = [&] {
    std::string p(rng() % 14, ' ');
    for (char& c : p) c = alphabet[rng() % sizeof alphabet];
    return p;
  };
  PathSet set;
  for (int round = 0; round < 2; ++round) {
    std::unordered_map<std::string, uint32_t> plain;
    for (uint32_t i = 0; i < 150000; ++i) {
      const std::string p = randomPath();
      if (rng() % 3 == 0) {
        ASSERT_EQ(set.Contains(p), plain.count(p) == 1) << round << ' ' << i;
      } else if (rng() % 2 == 0) {
        ASSERT_EQ(set.Insert(p), plain.emplace(p, 0).second) << round << ' ' << i;
      } else {
        const auto [at, added] = plain.emplace(p, i);
        const PathSet::Inserted inserted = set.Insert(p, i);
        ASSERT_EQ(inserted.added, added) << round << ' ' << i;
        ASSERT_EQ(inserted.tag, at->second) << round << ' ' << i;
      }
    }
    ASSERT_GT(plain.size(), 50000u);
    EXPECT_EQ(set.size(), plain.size());
    for (const auto& entry : plain) ASSERT_TRUE(set.Contains(entry.first));
    set.Clear();
    EXPECT_TRUE(set.empty());
    EXPECT_FALSE(set.Contains(plain.begin()->first));
  }
}

}  // namespace
}  // namespace vorlo
