#include "core/junk_type.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <string>

#include "core/day_number.h"

namespace vorlo {
namespace {

using enum CleanupMethod;
using enum FolderRule;

TJunkFileObj Full(int32_t dateCode, double d1, double d2, int32_t ageCode, int32_t a1, int32_t a2,
                  int32_t sizeCode, int32_t s1, int32_t s2) {
  return TJunkFileObj("T", true, cuHolding, {{"/tmp", pFolOnly}}, {"*.tmp"}, {"keep.tmp"},
                      DateRestriction{true, dateCode, d1, d2}, AgeRestriction{true, ageCode, a1, a2},
                      SizeRestriction{{true, sizeCode, s1, s2}, 1});
}

TEST(JunkType, EmptyTypeSearchesLocalDrives) {
  const TJunkFileObj t;
  EXPECT_TRUE(t.IsChecked());
  EXPECT_EQ(t.Backtype(), cuRecycle);
  EXPECT_TRUE(t.Dirs().empty() && t.Deletes().empty() && t.Prots().empty());
  EXPECT_FALSE(t.DateRestrict() || t.AgeRestrict() || t.SizeRestrict());
  EXPECT_EQ(t.DateData1(), 0);
  EXPECT_EQ(t.DateData2(), 0);
  EXPECT_TRUE(t.SearchesLocalDrives());

  EXPECT_TRUE(TJunkFileObj("", true, cuRecycle, "Local drives (/,/home)", "", "", 0).SearchesLocalDrives());
  EXPECT_FALSE(TJunkFileObj("", true, cuRecycle, "local drives (/)", "", "", 0).SearchesLocalDrives());
  EXPECT_FALSE(TJunkFileObj("", true, cuRecycle, "Local drives (/)\n/tmp", "", "", 0).SearchesLocalDrives());
}

TEST(JunkType, FullConstructorOrdersRangesAndCutsDates) {
  const double march10 = DayNumber(CivilDate{2024, 3, 10}) + 0.75;
  const double march2 = DayNumber(CivilDate{2024, 3, 2}) + 0.25;

  const TJunkFileObj between = Full(3, march10, march2, 4, 5, 1, 4, 500, 20);
  EXPECT_EQ(between.DateData1(), DayNumber(CivilDate{2024, 3, 2}));
  EXPECT_EQ(between.DateData2(), DayNumber(CivilDate{2024, 3, 10}));
  EXPECT_EQ(between.AgeData1(), 1);
  EXPECT_EQ(between.AgeData2(), 5);
  EXPECT_EQ(between.SizeData1(), 20);
  EXPECT_EQ(between.SizeData2(), 500);
  EXPECT_EQ(between.Dirs(), (FolderList{{"/tmp", pFolOnly}}));
  EXPECT_EQ(between.SizeUnit(), 1);

  const TJunkFileObj ordered = Full(1, march10, march2, 2, 5, 1, 2, 500, 20);
  EXPECT_EQ(ordered.DateData1(), DayNumber(CivilDate{2024, 3, 10}));
  EXPECT_EQ(ordered.DateData2(), DayNumber(CivilDate{2024, 3, 2}));
  EXPECT_EQ(ordered.AgeData1(), 5);
  EXPECT_EQ(ordered.SizeData1(), 500);
  EXPECT_EQ(ordered.SizeData2(), 20);

  // Same day, different times: whole parts equal, so no swap and no time.
  const TJunkFileObj sameDay = Full(3, march2 + 0.5, march2, 3, 0, 0, 3, -5, 7);
  EXPECT_EQ(sameDay.DateData1(), DayNumber(CivilDate{2024, 3, 2}));
  EXPECT_EQ(sameDay.DateData2(), DayNumber(CivilDate{2024, 3, 2}));
  EXPECT_EQ(sameDay.SizeData1(), -5);  // signed comparison

  const TJunkFileObj copy(between);
  EXPECT_EQ(copy, between);
}

TEST(JunkType, CompactConstructorSplitsLines) {
  const TJunkFileObj t("Temp", false, cuDelete, "/a\r\n/b\n/c\r", "*.tmp\r\n*.", "\r\n*.log", 5);
  EXPECT_EQ(t.Dirs(), (FolderList{{"/a", pFolOnly}, {"/b", pFolAndSub}, {"/c", pFolOnly}}));
  EXPECT_EQ(t.Deletes(), (SpecList{"*.tmp", "*."}));
  EXPECT_EQ(t.Prots(), (SpecList{"", "*.log"}));
  EXPECT_FALSE(t.IsChecked());
  EXPECT_EQ(t.Backtype(), cuDelete);
  EXPECT_FALSE(t.DateRestrict() || t.AgeRestrict() || t.SizeRestrict());

  EXPECT_TRUE(TJunkFileObj("", true, cuRecycle, "", "", "", 0).Deletes().empty());
  EXPECT_EQ(TJunkFileObj("", true, cuRecycle, "", "a\n\nb", "", 0).Deletes(), (SpecList{"a", "", "b"}));

  // Only the first 32 entries can be "folder only".
  std::string dirs;
  for (int i = 0; i < 33; ++i) dirs += "/d" + std::to_string(i) + "\n";
  const TJunkFileObj many("", true, cuRecycle, dirs, "", "", 0xFFFFFFFFu);
  ASSERT_EQ(many.Dirs().size(), 33u);
  EXPECT_EQ(many.Dirs()[31].rule, pFolOnly);
  EXPECT_EQ(many.Dirs()[32].rule, pFolAndSub);
}

TEST(JunkType, SettersRejectOutOfRangeValues) {
  const struct {
    std::function<void(TJunkFileObj&, int32_t)> set;
    std::function<int32_t(const TJunkFileObj&)> get;
    int32_t max;
    const char* message;
  } setters[] = {
      {[](TJunkFileObj& t, int32_t v) { t.SetBackType(v); },
       [](const TJunkFileObj& t) { return static_cast<int32_t>(t.Backtype()); }, 2, "Invalid backup type"},
      {&TJunkFileObj::SetDateRestrictType, &TJunkFileObj::DateRestrictType, 4, "Invalid date restriction"},
      {&TJunkFileObj::SetAgeRestrictType, &TJunkFileObj::AgeRestrictType, 4, "Invalid age restriction"},
      {&TJunkFileObj::SetSizeRestrictType, &TJunkFileObj::SizeRestrictType, 4, "Invalid size restriction"},
      {&TJunkFileObj::SetSizeUnit, &TJunkFileObj::SizeUnit, 2, "Invalid Size unit"},
  };
  for (const auto& s : setters) {
    TJunkFileObj t;
    s.set(t, s.max);
    EXPECT_EQ(s.get(t), s.max);
    for (int32_t bad : {s.max + 1, -1, INT32_MIN}) {
      try {
        s.set(t, bad);
        ADD_FAILURE() << s.message << ": " << bad << " accepted";
      } catch (const JunkTypeError& e) {
        EXPECT_STREQ(e.what(), s.message);
      }
      EXPECT_EQ(s.get(t), s.max);
    }
  }

  TJunkFileObj typed;
  EXPECT_THROW(typed.SetBackType(CleanupMethod{3}), JunkTypeError);
  typed.SetBackType(cuDelete);
  EXPECT_EQ(typed.Backtype(), cuDelete);

  TJunkFileObj t;
  t.SetAgeRestrictType(2);
  TJunkFileObj expected;
  expected.SetAgeRestrictType(2);
  EXPECT_EQ(t, expected);
  EXPECT_EQ(t.DateRestrictType(), 0);
  EXPECT_EQ(t.SizeRestrictType(), 0);
}

TEST(JunkType, SameAs) {
  const auto make = [](std::string name, bool checked, const FolderList& dirs, const SpecList& deletes,
                       const SpecList& prots, bool dateOn, double date) {
    return TJunkFileObj(std::move(name), checked, cuRecycle, dirs, deletes, prots,
                        DateRestriction{dateOn, 1, date, date}, {}, {});
  };
  const TJunkFileObj base = make("A", true, {{"/tmp", pFolAndSub}}, {"*.tmp", "*.bak"}, {"keep.*"}, false, 100);

  const struct {
    TJunkFileObj other;
    bool same;
  } cases[] = {
      {make("B", false, {{"/tmp", pFolAndSub}}, {"*.tmp", "*.bak"}, {"keep.*"}, false, 100), true},
      {make("A", true, {{"/TMP", pFolAndSub}}, {"*.TMP", "*.Bak"}, {"KEEP.*"}, false, 100), true},
      {make("A", true, {{"/tmp", pFolOnly}}, {"*.tmp", "*.bak"}, {"keep.*"}, false, 100), false},
      {make("A", true, {{"/tmp", pFolAndSub}}, {"*.tmp", "*.bak"}, {"keep.*"}, false, 101), false},
      {make("A", true, {{"/tmp", pFolAndSub}}, {"*.bak", "*.tmp"}, {"keep.*"}, false, 100), false},
      {make("A", true, {{"/tmp", pFolAndSub}}, {"*.tmp", "*.bak"}, {"keep.*", ""}, false, 100), false},
      {make("A", true, {{"/tmp", pFolAndSub}}, {"*.tmp", "*.bak"}, {"keep.*"}, true, 100), false},
      {make("A", true, {{"/tmp", pFolAndSub}, {"/var/tmp", pFolAndSub}}, {"*.tmp", "*.bak"}, {"keep.*"}, false, 100),
       false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(base.SameAs(cases[i].other), cases[i].same) << "case " << i;
    EXPECT_EQ(cases[i].other.SameAs(base), cases[i].same) << "case " << i;
  }

  TJunkFileObj method = base;
  method.SetBackType(cuDelete);
  EXPECT_FALSE(base.SameAs(method));
}

}  // namespace
}  // namespace vorlo
