#include "app/found_review.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

namespace vorlo {
namespace {

using namespace std::string_literals;
using enum ReviewColumn;

constexpr uint32_t kNot = FoundEntry::kNotDupe;

// Two types with files, one that found nothing and one that found only
// files an earlier type had found too.
FoundResults Sample() {
  FoundResults r;
  r.AddType(0, "Cache");
  r.AddType(2, "Backups");
  r.AddType(1, "Nothing");
  r.AddType(3, "Dupes only");
  const struct {
    uint32_t type;
    std::string path;
    int64_t size, mtime;
    uint32_t dupeOf;
  } files[] = {
      {0, "/home/u/.cache/b.tmp", 30, 300, kNot},   // 0
      {0, "/home/u/.cache/A.tmp", 10, 100, kNot},   // 1
      {0, "/home/u/.cache/a.tmp", 20, 200, kNot},   // 2
      {0, "/home/u/Z/c.tmp", 20, -5, kNot},         // 3
      {1, "/home/u/doc~", 5, 500, kNot},            // 4
      {1, "/data/x/caf\xe9~"s, 50, 0, kNot},        // 5
      {1, "/home/u/.cache/b.tmp", 30, 300, 0},      // 6
      {3, "/home/u/doc~", 5, 500, 1},               // 7
  };
  for (const auto& f : files) r.Add({f.type, f.path, f.size, f.mtime, 1, 1, f.dupeOf});
  return r;
}

// The groups' types and each group's files, as shown now.
std::vector<std::pair<uint32_t, std::vector<uint32_t>>> Shown(const FoundReview& review) {
  std::vector<std::pair<uint32_t, std::vector<uint32_t>>> shown;
  for (size_t g = 0; g < review.GroupCount(); ++g) {
    std::vector<uint32_t> files;
    for (size_t row = 0; row < review.FileCount(g); ++row) {
      files.push_back(review.FileAt(g, row));
      const auto place = review.PlaceOf(files.back());
      EXPECT_TRUE(place && place->first == g && place->second == row) << files.back();
    }
    EXPECT_EQ(review.GroupOf(review.GroupType(g)), g);
    shown.emplace_back(review.GroupType(g), files);
  }
  return shown;
}

using Groups = std::vector<std::pair<uint32_t, std::vector<uint32_t>>>;

TEST(FoundReview, SortsFilesWithinTypesAndTypesByTheColumn) {
  FoundReview review(Sample());
  // At first: the types in list order (row 0, then row 2), each type's files
  // by path, letters without regard to case; no row for a dupe.
  EXPECT_EQ(Shown(review), (Groups{{0, {1, 2, 0, 3}}, {1, {5, 4}}}));
  EXPECT_EQ(review.Type(1).name, "Backups");
  EXPECT_EQ(review.GroupBytes(0), 80);
  EXPECT_FALSE(review.GroupOf(2));  // found nothing
  EXPECT_FALSE(review.GroupOf(3));  // only dupes
  EXPECT_FALSE(review.PlaceOf(6));

  const struct {
    ReviewColumn column;
    bool descending;
    Groups shown;
  } cases[] = {
      {Type, false, {{0, {1, 2, 0, 3}}, {1, {5, 4}}}},
      {Type, true, {{1, {4, 5}}, {0, {3, 0, 2, 1}}}},
      {Name, false, {{0, {1, 2, 0, 3}}, {1, {5, 4}}}},
      {Name, true, {{0, {3, 0, 2, 1}}, {1, {4, 5}}}},
      {Folder, false, {{0, {1, 2, 0, 3}}, {1, {5, 4}}}},
      {Folder, true, {{0, {3, 0, 2, 1}}, {1, {4, 5}}}},
      // Equal sizes (2 and 3) by path either way; types by their total.
      {Size, false, {{1, {4, 5}}, {0, {1, 2, 3, 0}}}},
      {Size, true, {{0, {0, 2, 3, 1}}, {1, {5, 4}}}},
      // Times before 1970 first; types by their newest file.
      {Modified, false, {{0, {3, 1, 2, 0}}, {1, {5, 4}}}},
      {Modified, true, {{1, {4, 5}}, {0, {0, 2, 1, 3}}}},
  };
  for (const auto& c : cases) {
    review.Sort(c.column, c.descending);
    EXPECT_EQ(Shown(review), c.shown) << static_cast<int>(c.column) << ' ' << c.descending;
  }
}

TEST(FoundReview, FilterShowsFilesWhosePathHoldsThePartInEitherCase) {
  FoundReview review(Sample());
  const struct {
    std::string part;
    Groups shown;
  } cases[] = {
      {"CACHE", {{0, {1, 2, 0}}}},
      {"/home/u/z/", {{0, {3}}}},
      {"~", {{1, {5, 4}}}},
      {"caf\xe9"s, {{1, {5}}}},
      {"CAF\xc9"s, {}},  // only A to Z fold
      {"a.tmp", {{0, {1, 2}}}},
      {"zzz", {}},
      {"", {{0, {1, 2, 0, 3}}, {1, {5, 4}}}},
  };
  for (const auto& c : cases) {
    review.SetFilter(c.part);
    EXPECT_EQ(Shown(review), c.shown) << c.part;
    EXPECT_EQ(review.Count().files, 6u) << c.part;
  }
  // A sort keeps the filter, and the filter the sort.
  review.SetFilter("cache");
  review.Sort(Size, true);
  EXPECT_EQ(Shown(review), (Groups{{0, {0, 2, 1}}}));
  review.SetFilter("");
  EXPECT_EQ(Shown(review), (Groups{{0, {0, 2, 3, 1}}, {1, {5, 4}}}));
}

TEST(FoundReview, TicksAndTheirTotals) {
  const NumberSeparators us;
  FoundReview review(Sample());
  EXPECT_EQ(ReviewStatusText(review.Count(), us), "6 of 6 files ticked, 135 bytes");
  EXPECT_EQ(review.GroupTick(0), TickState::All);
  review.SetTicked(6, false);  // a dupe has no tick
  review.SetTicked(7, true);
  EXPECT_EQ(review.Count().ticked, 6u);

  review.SetTicked(2, false);
  review.SetTicked(2, false);
  EXPECT_EQ(review.GroupTick(0), TickState::Some);
  EXPECT_EQ(ReviewStatusText(review.Count(), us), "5 of 6 files ticked, 115 bytes");
  review.SetGroupTicked(0, false);
  EXPECT_EQ(review.GroupTick(0), TickState::None);
  EXPECT_EQ(review.GroupTick(1), TickState::All);
  EXPECT_EQ(review.TickedRecords(), (std::vector<uint32_t>{4, 5}));

  // Under a filter a type's box stands for, and acts on, its shown files;
  // the ticks of hidden files stay and are counted.
  review.SetFilter("cache");
  review.SetGroupTicked(0, true);
  EXPECT_EQ(review.GroupTick(0), TickState::All);
  EXPECT_FALSE(review.Ticked(3));
  EXPECT_EQ(ReviewStatusText(review.Count(), us),
            "5 of 6 files ticked, 115 bytes (2 of them hidden by the filter)");
  review.SetFilter("");
  EXPECT_EQ(review.GroupTick(0), TickState::Some);
  EXPECT_EQ(review.Count().tickedHidden, 0u);
  EXPECT_EQ(review.TickedRecords(), (std::vector<uint32_t>{0, 1, 2, 4, 5}));

  const FoundResults ticked = review.TickedResults();
  ASSERT_EQ(ticked.size(), 5u);
  EXPECT_EQ(ticked.Path(4), "/data/x/caf\xe9~"s);
  EXPECT_EQ(ticked.Types().size(), 4u);

  EXPECT_EQ(ReviewFileCountText(1, us), "1 file");
  EXPECT_EQ(ReviewFileCountText(1234567, us), "1,234,567 files");
}

// Random names over a few letters in both cases, with long shared
// beginnings, sort as a plain comparison of the texts sorts them.
TEST(FoundReview, RankedSortsAgreeWithComparingTheTexts) {
  std::mt19937 rng(11);
  const std::string letters = "aAbB._";
  const auto text = [&](size_t n) {
    std::string s = rng() % 2 ? "cache_entry_" : "";
    for (size_t i = rng() % n; i > 0; --i) s += letters[rng() % letters.size()];
    return s;
  };
  FoundResults r;
  r.AddType(0, "All");
  std::vector<std::string> paths;
  for (int i = 0; i < 4000; ++i) {
    const std::string path = "/" + text(4) + "/" + text(6);
    if (std::find(paths.begin(), paths.end(), path) != paths.end()) continue;
    paths.push_back(path);
    r.Add({0, path, static_cast<int64_t>(rng() % 5), static_cast<int64_t>(rng() % 5) - 2, 1, 1});
  }
  const auto fold = [](std::string s) {
    for (char& c : s) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
    return s;
  };
  const auto less = [&](std::string_view a, std::string_view b) {
    const std::string fa = fold(std::string(a)), fb = fold(std::string(b));
    return fa != fb ? fa < fb : a < b;
  };
  FoundReview review(r);
  const FoundResults& k = review.Results();
  const auto byPath = [&](uint32_t a, uint32_t b) {
    if (k.Folder(a) != k.Folder(b)) return less(k.Folder(a), k.Folder(b));
    return less(k.Name(a), k.Name(b));
  };
  const struct {
    ReviewColumn column;
    std::function<bool(uint32_t, uint32_t)> before;
  } cases[] = {
      {Folder, byPath},
      {Name, [&](uint32_t a, uint32_t b) {
         if (k.Name(a) != k.Name(b)) return less(k.Name(a), k.Name(b));
         return less(k.Folder(a), k.Folder(b));
       }},
      {Size, [&](uint32_t a, uint32_t b) { return k[a].size != k[b].size ? k[a].size < k[b].size : byPath(a, b); }},
      {Modified, [&](uint32_t a, uint32_t b) {
         return k[a].mtimeNs != k[b].mtimeNs ? k[a].mtimeNs < k[b].mtimeNs : byPath(a, b);
       }},
  };
  for (const auto& c : cases) {
    std::vector<uint32_t> expected(k.size());
    for (uint32_t i = 0; i < k.size(); ++i) expected[i] = i;
    std::sort(expected.begin(), expected.end(), c.before);
    review.Sort(c.column, false);
    ASSERT_EQ(review.GroupCount(), 1u);
    std::vector<uint32_t> got;
    for (size_t row = 0; row < review.FileCount(0); ++row) got.push_back(review.FileAt(0, row));
    EXPECT_EQ(got, expected) << static_cast<int>(c.column);
  }
}

}  // namespace
}  // namespace vorlo
