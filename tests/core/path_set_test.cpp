#include "core/path_set.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <unordered_set>
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
// names again and again; the set must answer as a plain set of strings does,
// through many rounds of growth, and start afresh after Clear.
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
    std::unordered_set<std::string> plain;
    for (int i = 0; i < 150000; ++i) {
      const std::string p = randomPath();
      if (rng() % 3 == 0) {
        ASSERT_EQ(set.Contains(p), plain.count(p) == 1) << round << ' ' << i;
      } else {
        ASSERT_EQ(set.Insert(p), plain.insert(p).second) << round << ' ' << i;
      }
    }
    ASSERT_GT(plain.size(), 50000u);
    EXPECT_EQ(set.size(), plain.size());
    for (const std::string& p : plain) ASSERT_TRUE(set.Contains(p));
    set.Clear();
    EXPECT_TRUE(set.empty());
    EXPECT_FALSE(set.Contains(*plain.begin()));
  }
}

}  // namespace
}  // namespace vorlo
