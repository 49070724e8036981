#include "core/description.h"

#include <gtest/gtest.h>

#include <limits>
#include <ostream>

#include "core/day_number.h"

namespace vorlo {

void PrintTo(const DescPiece& p, std::ostream* os) {
  static const char* const kStyles[] = {"Bold", "Italic", "BoldUnderline", "Regular"};
  *os << "{" << kStyles[static_cast<int>(p.style)] << " " << p.size << ", " << p.rets << ", \"" << p.text << "\"}";
}

namespace {

using S = TextStyle;
using enum CleanupMethod;
using enum FolderRule;

const DescriptionContext kContext{"Local drives (/,/home)", "/"};

struct Restrictions {
  DateRestriction date;
  AgeRestriction age;
  SizeRestriction size;
};

TJunkFileObj Restricted(const Restrictions& r, CleanupMethod backtype = cuRecycle) {
  return TJunkFileObj("R", true, backtype, {{"/tmp", pFolOnly}}, {"*.tmp"}, {}, r.date, r.age, r.size);
}

std::string Text(const TJunkFileObj& t, const DescriptionContext& context = kContext) {
  return DescriptionPlainText(REDisplay(t, context));
}

// The pieces from the restriction heading up to the empty line before the
// method (the types used here have no protect list).
std::vector<DescPiece> RestrictionPieces(const TJunkFileObj& t, const DescriptionContext& context = kContext) {
  const auto pieces = REDisplay(t, context);
  std::vector<DescPiece> out;
  bool in = false;
  for (const auto& p : pieces) {
    if (p.text == "Restrict file matching by date or size:") in = true;
    if (p.text == "Clean up matching files by:") break;
    if (in) out.push_back(p);
  }
  if (!out.empty()) out.pop_back();
  return out;
}

TEST(Description, EmptyTypeSearchesLocalDrivesWithPluralHeading) {
  TJunkFileObj t;
  t.SetTypName("Tmp");
  const std::vector<DescPiece> expected = {
      {S::Bold, 14, 0, "Type: "},
      {S::BoldUnderline, 14, 0, "Tmp"},
      {S::Bold, 14, 2, " (enabled)"},
      {S::Italic, 12, 1, "Search Local drives (/,/home)"},
      {S::Italic, 12, 1, "Search for files matching these file specifications:"},
      {S::Regular, 10, 1, ""},
      {S::Italic, 12, 1, "Clean up matching files by:"},
      {S::Regular, 10, 1, "\tmoving them to the Recycle bin"},
  };
  EXPECT_EQ(REDisplay(t, kContext), expected);

  t.SetIsChecked(false);
  EXPECT_EQ(REDisplay(t, kContext)[2].text, " (disabled)");
}

TEST(Description, StoredLocalDrivesEntryShowsTheCurrentText) {
  TJunkFileObj t;
  t.SetDirs({{"Local drives (X:)", pFolOnly}});
  EXPECT_EQ(REDisplay(t, kContext)[3], (DescPiece{S::Italic, 12, 1, "Search Local drives (/,/home)"}));
}

TEST(Description, FolderRulesAndHeadings) {
  TJunkFileObj t;
  t.SetDirs({{"/a", pFolAndSub}, {"/b", pFolOnly}, {"/c", pSubOnly}, {"/d", FolderRule{7}}});
  t.SetDeletes({"*.bak", "*.old"});
  t.SetProts({"keep.bak", "x.old"});
  t.SetBackType(cuDelete);
  EXPECT_EQ(Text(t),
            "Type:  (enabled)\r\n\r\n"
            "Search for files in these folders:\r\n"
            "\t/a\t and its subfolders\r\n"
            "\t/b\t but not its subfolders\r\n"
            "\t/c\t's subfolders only\r\n"
            "\t/d\t and its subfolders\r\n"
            "Search for files matching these file specifications:\r\n"
            "\t*.bak\r\n\t*.old\r\n"
            "Protect files matching these file specifications:\r\n"
            "\tkeep.bak\r\n\tx.old\r\n"
            "\r\n"
            "Clean up matching files by:\r\n"
            "\tdeleting them permanently\r\n");

  const auto pieces = REDisplay(t, kContext);
  EXPECT_EQ(pieces[4], (DescPiece{S::Regular, 10, 0, "\t/a"}));
  EXPECT_EQ(pieces[5], (DescPiece{S::Italic, 10, 1, "\t and its subfolders"}));
}

TEST(Description, TempFoldersExampleLineByLine) {
  const TJunkFileObj t("Temp folders", true, cuRecycle, "/tmp/", "*.*", "", 1);
  EXPECT_EQ(Text(t),
            "Type: Temp folders (enabled)\r\n"
            "\r\n"
            "Search for files in this folder:\r\n"
            "\t/tmp/\t but not its subfolders\r\n"
            "Search for files matching this file specification:\r\n"
            "\t*.*\r\n"
            "\r\n"
            "Clean up matching files by:\r\n"
            "\tmoving them to the Recycle bin\r\n");
  EXPECT_EQ(REDisplay(t, kContext)[3], (DescPiece{S::Italic, 12, 1, "Search for files in this folder:"}));
}

TEST(Description, OneEmptyProtectEntryShowsSingularHeadingAndATab) {
  TJunkFileObj t;
  t.SetProts({""});
  t.SetBackType(cuHolding);
  EXPECT_EQ(Text(t),
            "Type:  (enabled)\r\n\r\n"
            "Search Local drives (/,/home)\r\n"
            "Search for files matching these file specifications:\r\n"
            "Protect files matching this file specification:\r\n"
            "\t\r\n"
            "\r\n"
            "Clean up matching files by:\r\n"
            "\tbacking them up to a holding folder\r\n");
}

TEST(Description, DateAndSizeShareOneHeadingDateFirst) {
  const double march5 = static_cast<double>(DayNumber(CivilDate{2024, 3, 5}));
  Restrictions r;
  r.date.on = true;
  r.date.type = 2;
  r.date.data1 = march5;
  r.size.on = true;
  r.size.type = 4;
  r.size.data1 = -20;
  r.size.data2 = 1500000;
  r.size.unit = 2;
  const std::vector<DescPiece> expected = {
      {S::Italic, 12, 1, "Restrict file matching by date or size:"},
      {S::Regular, 10, 0, "\tFile date must be "},
      {S::Regular, 10, 0, "after "},
      {S::Bold, 10, 1, "3.5.2024"},
      {S::Regular, 10, 0, "\tFile size must be "},
      {S::Regular, 10, 0, "not between "},
      {S::Bold, 10, 0, "-20 "},
      {S::Regular, 10, 0, "and "},
      {S::Bold, 10, 0, "1500000 "},
      {S::Regular, 10, 1, "MB"},
  };
  EXPECT_EQ(RestrictionPieces(Restricted(r), {"", "."}), expected);
}

TEST(Description, DateRangeUsesBothDates) {
  Restrictions r;
  r.date.on = true;
  r.date.type = 3;
  r.date.data1 = static_cast<double>(DayNumber(CivilDate{1999, 12, 31}));
  r.date.data2 = static_cast<double>(DayNumber(CivilDate{2024, 11, 2}));
  const auto pieces = RestrictionPieces(Restricted(r));
  ASSERT_EQ(pieces.size(), 6u);
  EXPECT_EQ(pieces[3], (DescPiece{S::Bold, 10, 0, "12/31/1999"}));
  EXPECT_EQ(pieces[4], (DescPiece{S::Regular, 10, 0, " and "}));
  EXPECT_EQ(pieces[5], (DescPiece{S::Bold, 10, 1, "11/2/2024"}));
}

TEST(Description, AgeBetweenWeekAndMonth) {
  Restrictions r;
  r.age.on = true;
  r.age.type = 3;
  r.age.data1 = 2;
  r.age.data2 = 3;
  const std::vector<DescPiece> expected = {
      {S::Italic, 12, 1, "Restrict file matching by date or size:"},
      {S::Regular, 10, 0, "\tFile must be "},
      {S::Regular, 10, 0, "between "},
      {S::Bold, 10, 0, "1 week"},
      {S::Regular, 10, 0, " and "},
      {S::Bold, 10, 0, "1 month"},
      {S::Regular, 10, 1, " old"},
  };
  EXPECT_EQ(RestrictionPieces(Restricted(r)), expected);
}

TEST(Description, SizeLessThanHundredKilobytes) {
  Restrictions r;
  r.size.on = true;
  r.size.type = 1;
  r.size.data1 = 100;
  r.size.unit = 1;
  const std::vector<DescPiece> expected = {
      {S::Italic, 12, 1, "Restrict file matching by date or size:"},
      {S::Regular, 10, 0, "\tFile size must be "},
      {S::Regular, 10, 0, "less than "},
      {S::Bold, 10, 0, "100 "},
      {S::Regular, 10, 1, "KB"},
  };
  EXPECT_EQ(RestrictionPieces(Restricted(r)), expected);
  EXPECT_NE(Text(Restricted(r)).find("\tFile size must be less than 100 KB\r\n"), std::string::npos);
}

TEST(Description, OutOfRangeValuesShowEmptyPhrases) {
  Restrictions r;
  r.date.on = true;
  r.date.type = 9;
  r.date.data1 = std::numeric_limits<double>::quiet_NaN();
  r.age.on = true;
  r.age.type = -1;
  r.age.data1 = -3;
  r.size.on = true;
  r.size.type = 77;
  r.size.data1 = 5;
  r.size.unit = 3;
  const TJunkFileObj t = Restricted(r, CleanupMethod{42});
  const std::string text = Text(t);
  EXPECT_NE(text.find("\tFile date must be \r\n\tFile must be  old\r\n\tFile size must be 5 \r\n"),
            std::string::npos);
  EXPECT_TRUE(text.ends_with("Clean up matching files by:\r\n\t\r\n"));

  r.date.type = 0;
  r.date.data1 = 1e300;
  EXPECT_EQ(RestrictionPieces(Restricted(r))[3], (DescPiece{S::Bold, 10, 1, ""}));
}

TEST(Description, ShortDateText) {
  EXPECT_EQ(ShortDateText(static_cast<double>(DayNumber(CivilDate{2024, 3, 5})) + 0.75, "/"), "3/5/2024");
  EXPECT_EQ(ShortDateText(0, "-"), "12-30-1899");
  EXPECT_EQ(ShortDateText(static_cast<double>(DayNumber(CivilDate{99, 1, 2})), "/"), "1/2/0099");
  EXPECT_EQ(ShortDateText(static_cast<double>(DayNumber(CivilDate{10000, 1, 1})), "/"), "");
  EXPECT_EQ(ShortDateText(-std::numeric_limits<double>::infinity(), "/"), "");
}

}  // namespace
}  // namespace vorlo
