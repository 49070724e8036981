#include "core/spec_rules.h"

#include <gtest/gtest.h>

namespace vorlo {
namespace {

TEST(SpecRules, StatusAndAcceptanceOfSpecifications) {
  const struct {
    const char* text;
    std::string_view status;
    bool ok;
  } cases[] = {
      {"", kStatNoName, false},
      {"...", kStatNoName, false},
      {".txt", kStatExact, true},  // a dot-file's name
      {"*.*", kStatAllFiles, true},
      {"*.t*", kStatStarBoth, true},
      {"readme.txt", kStatExact, true},
      {"*.tmp", "", true},
      {"a?.log", "", true},
      {"*.html", kStatLongExt, true},
      {"*.\xc3\xa4\xc3\xb6\xc3\xbc", "", true},  // three letters, six bytes
      {"*~", kStatNoExt, true},
      {"core", kStatNoExt, true},
      {"Makefile~", kStatNoExt, true},
      {".xsession-errors.old", kStatExact, true},
      {"name.", kStatNoExt, true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SpecStatus(c.text), c.status) << c.text;
    EXPECT_EQ(SpecOk(c.text), c.ok) << c.text;
  }
}

TEST(SpecRules, FullNamesAndStoredProtectPatterns) {
  EXPECT_EQ(FullNameStatus("relative/x", true), kStatNotFull);
  EXPECT_EQ(FullNameStatus("/etc/x", true), kStatExists);
  EXPECT_EQ(FullNameStatus("/etc/x", false), kStatMissing);
  EXPECT_EQ(StoredProtectPattern("core"), "core.");
  EXPECT_EQ(StoredProtectPattern("*~"), "*~.");
  EXPECT_EQ(StoredProtectPattern("*.tmp"), "*.tmp");
  EXPECT_EQ(StoredProtectPattern(".saves-*"), ".saves-*");
}

TEST(SpecRules, RestrictionsAreCompleteOnlyWithTheirValues) {
  const auto date = [](int type, double d1, double d2) {
    RestrictionChoice c;
    c.dateOn = c.byDate = true;
    c.dateType = type;
    c.date1 = d1;
    c.date2 = d2;
    return c;
  };
  const auto age = [](int type, int a1, int a2) {
    RestrictionChoice c;
    c.dateOn = c.byAge = true;
    c.dateType = type;
    c.age1 = a1;
    c.age2 = a2;
    return c;
  };
  const auto size = [](int type, int unit, const char* s1, const char* s2) {
    RestrictionChoice c;
    c.sizeOn = true;
    c.sizeType = type;
    c.sizeUnit = unit;
    c.size1 = s1;
    c.size2 = s2;
    return c;
  };
  RestrictionChoice neither;
  neither.dateOn = true;
  const struct {
    const char* what;
    RestrictionChoice choice;
    bool complete;
  } cases[] = {
      {"nothing on", RestrictionChoice{}, true},
      {"date before", date(1, 45000, 0), true},
      {"date without comparison", date(-1, 45000, 0), false},
      {"date range of one day", date(3, 45000, 45000), false},
      {"date range", date(4, 45000, 45001), true},
      {"age older than", age(1, 2, -1), true},
      {"age without value", age(1, -1, -1), false},
      {"age range, same ends", age(3, 2, 2), false},
      {"age range", age(3, 2, 4), true},
      {"neither date nor age", neither, false},
      {"size greater", size(2, 1, "100", ""), true},
      {"size without number", size(2, 1, "", ""), false},
      {"size without unit", size(2, -1, "100", ""), false},
      {"size beyond 32 bits", size(2, 0, "2147483648", ""), false},
      {"size range", size(3, 0, "1", "2"), true},
      {"size range, same ends", size(4, 0, "7", "7"), false},
      {"size range, one end", size(3, 0, "7", ""), false},
  };
  for (const auto& c : cases) EXPECT_EQ(RestrictionsComplete(c.choice), c.complete) << c.what;
  EXPECT_EQ(SizeNumber("2147483647"), 2147483647);
  EXPECT_EQ(SizeNumber("12a"), std::nullopt);
}

}  // namespace
}  // namespace vorlo
