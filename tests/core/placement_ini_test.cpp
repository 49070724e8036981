#include "core/placement_ini.h"

#include <gtest/gtest.h>

namespace vorlo {
namespace {

const PlacementRect Work{0, 0, 1920, 1040};
constexpr int W = 400, H = 300;

WindowPlacement Restore(const std::string& ini, const std::string& name, bool Siz,
                        const PlacementRect& work = Work) {
  return RestorePlacement(IniDocument::Parse(ini), name, Siz, work, W, H, WindowPlacement{});
}

TEST(PlacementIni, WritesKeysInOrderWithCrLf) {
  IniDocument ini;
  WindowPlacement p;
  p.normal = {10, 20, 410, 320};
  p.ShowCmd = 3;
  StorePlacement(ini, "MainForm", true, p);
  p.ShowCmd = 1;
  StorePlacement(ini, "FoundForm", false, p);
  EXPECT_EQ(ini.Text(),
            "[MainForm Settings]\r\nLeft=10\r\nTop=20\r\nRight=410\r\nBottom=320\r\n"
            "MinX=0\r\nMinY=0\r\nMaxX=0\r\nMaxY=0\r\nShowCmd=3\r\nflags=0\r\n"
            "[FoundForm Settings]\r\nLeft=10\r\nTop=20\r\n"
            "MinX=0\r\nMinY=0\r\nMaxX=0\r\nMaxY=0\r\nShowCmd=1\r\nflags=0\r\n");
}

TEST(PlacementIni, RewriteKeepsOtherSectionsAndKeys) {
  IniDocument ini = IniDocument::Parse(
      "[nameform settings]\nInitialDir=/home/u/\xff dir\nTop=5\nShowCmd=2\n"
      "[Other]\nA = b\n; note\n");
  WindowPlacement p;
  p.normal = {1, 2, 3, 4};
  StorePlacement(ini, "NameForm", false, p);
  // The section is found whatever its letter case; the placement keys come
  // first, the rest follows unchanged.
  EXPECT_EQ(ini.Text(),
            "[nameform settings]\r\nLeft=1\r\nTop=2\r\nMinX=0\r\nMinY=0\r\nMaxX=0\r\nMaxY=0\r\n"
            "ShowCmd=1\r\nflags=0\r\nInitialDir=/home/u/\xff dir\r\n"
            "[Other]\r\nA = b\r\n; note\r\n");
  EXPECT_EQ(ini.Value("Other", "a"), "b");
  EXPECT_EQ(ini.Value("NameForm Settings", "InitialDir"), "/home/u/\xff dir");

  ini.SetValue("NameForm Settings", "InitialDir", "/tmp/");
  ini.SetValue("Other", "New", "1");
  EXPECT_EQ(ini.Value("NameForm Settings", "InitialDir"), "/tmp/");
  EXPECT_EQ(ini.Keys("Other"), (std::vector<std::string>{"A", "New"}));
}

TEST(PlacementIni, IntegerValues) {
  const IniDocument ini = IniDocument::Parse(
      "[S]\r\na= -12 \r\nb=+7\r\nc=12abc\r\nd=\r\ne=2147483648\r\nf=-2147483648\r\ng=1.5\r\n");
  EXPECT_EQ(ini.IntValue("S", "a"), -12);
  EXPECT_EQ(ini.IntValue("S", "b"), 7);
  EXPECT_EQ(ini.IntValue("S", "c"), std::nullopt);
  EXPECT_EQ(ini.IntValue("S", "d"), std::nullopt);
  EXPECT_EQ(ini.IntValue("S", "e"), std::nullopt);
  EXPECT_EQ(ini.IntValue("S", "f"), -2147483648);
  EXPECT_EQ(ini.IntValue("S", "g"), std::nullopt);
  EXPECT_EQ(ini.IntValue("S", "missing"), std::nullopt);
  EXPECT_EQ(ini.IntValue("T", "a"), std::nullopt);
}

TEST(PlacementIni, NoSettingsCentresAtDesignSize) {
  EXPECT_EQ(Restore("", "MainForm", true).normal, (PlacementRect{760, 370, 1160, 670}));
  EXPECT_EQ(Restore("", "FoundForm", false).normal, (PlacementRect{760, 370, 1160, 670}));
  // Truncation toward zero: an odd remainder, and a window wider than the
  // work area (-101 / 2 is -50, not -51).
  EXPECT_EQ(Restore("", "X", false, {0, 0, 1919, 1040}).normal.Left, 759);
  EXPECT_EQ(Restore("", "X", false, {0, 0, 299, 1040}).normal.Left, -50);
  // Not an integer: the default.
  EXPECT_EQ(Restore("[X Settings]\r\nLeft=abc\r\nTop=5\r\n", "X", false).normal, (PlacementRect{760, 5, 1160, 305}));
}

TEST(PlacementIni, SizeRestoringWindowIsFittedIntoTheWorkArea) {
  const struct {
    const char* keys;
    PlacementRect expected;
  } cases[] = {
      // 100 pixels beyond the right edge: moved left by 100, same size.
      {"Left=1620\r\nTop=100\r\nRight=2020\r\nBottom=500", {1520, 100, 1920, 500}},
      // Below the bottom edge: moved up.
      {"Left=10\r\nTop=900\r\nRight=510\r\nBottom=1100", {10, 840, 510, 1040}},
      // Negative left: 0, the right edge kept, so it grows wider.
      {"Left=-50\r\nTop=-7\r\nRight=350\r\nBottom=200", {0, 0, 350, 200}},
      // Wider than the work area: shifted left, then clamped at 0.
      {"Left=100\r\nTop=0\r\nRight=2500\r\nBottom=300", {0, 0, 1920, 300}},
      // Only Left and Top saved: the design size from the centred default.
      {"Left=10\r\nTop=20", {10, 20, 1160, 670}},
      // An inverted rectangle keeps the design size.
      {"Left=300\r\nTop=20\r\nRight=100\r\nBottom=10", {300, 20, 700, 320}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Restore(std::string("[MainForm Settings]\r\n") + c.keys + "\r\n", "MainForm", true).normal, c.expected)
        << c.keys;
}

TEST(PlacementIni, FixedSizeWindowKeepsItsSavedPosition) {
  const std::string ini = "[LegendForm Settings]\r\nLeft=3000\r\nTop=-200\r\nRight=9999\r\nBottom=9999\r\n";
  EXPECT_EQ(Restore(ini, "LegendForm", false).normal, (PlacementRect{3000, -200, 3400, 100}));
}

TEST(PlacementIni, OtherFieldsDefaultToTheCurrentRecord) {
  WindowPlacement current;
  current.MinX = -1;
  current.MaxY = 9;
  current.ShowCmd = 2;
  const WindowPlacement p = RestorePlacement(IniDocument::Parse("[A Settings]\r\nMinY=4\r\nShowCmd=3\r\nflags=2\r\n"),
                                             "A", true, Work, W, H, current);
  EXPECT_EQ(p.MinX, -1);
  EXPECT_EQ(p.MinY, 4);
  EXPECT_EQ(p.MaxY, 9);
  EXPECT_EQ(p.flags, 2);
  EXPECT_EQ(p.ShowCmd, 2);  // never read from the file
}

TEST(PlacementIni, WindowOffEveryScreenIsBroughtBack) {
  const std::vector<PlacementRect> screens{{0, 0, 1920, 1080}, {1920, 0, 3200, 1024}};
  // Partly on the second screen: left alone.
  EXPECT_EQ(BringIntoView({3000, 500, 3400, 800}, screens, Work), (PlacementRect{3000, 500, 3400, 800}));
  // Beyond both screens: into the work area, same size.
  EXPECT_EQ(BringIntoView({5000, -900, 5400, -600}, screens, Work), (PlacementRect{1520, 0, 1920, 300}));
  EXPECT_EQ(BringIntoView({-5000, 50, -4000, 150}, screens, Work), (PlacementRect{0, 50, 1000, 150}));
}

}  // namespace
}  // namespace vorlo
