#include "core/default_types.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace vorlo {
namespace {

using ::testing::ElementsAre;
using enum CleanupMethod;
using enum FolderRule;

DefaultFolders LinuxFolders() {
  return {"/home/u/.config/", "", "/tmp/", "/tmp", "/", "/home/u", "/home/u/.cache", "/var/tmp"};
}

const char* const kChromiumCaches = "Chrome, Chromium, Edge, Brave, Opera and Vivaldi caches";

std::vector<TJunkFileObj> Table(bool recycleProb, const DefaultFolders& f) {
  std::vector<TJunkFileObj> list;
  AddAllDefaults(list, recycleProb, f);
  return list;
}

std::vector<std::string> Names(const std::vector<TJunkFileObj>& list) {
  std::vector<std::string> names;
  for (const TJunkFileObj& t : list) names.push_back(t.TypName());
  return names;
}

const TJunkFileObj& Row(const std::vector<TJunkFileObj>& list, const std::string& name) {
  const auto it = std::find_if(list.begin(), list.end(), [&](const TJunkFileObj& t) { return t.TypName() == name; });
  if (it == list.end()) throw std::runtime_error("no row " + name);
  return *it;
}

TEST(DefaultTypes, LinuxTableInOrderWithFoldersAndPlainTypes) {
  const std::vector<TJunkFileObj> list = Table(false, LinuxFolders());
  EXPECT_THAT(Names(list),
              ElementsAre("OneDrive Log files", "Windows Crash Dumps", "Opera Cache", "Google Chrome Cache",
                          "Microsoft Edge Browser Cache", "Mozilla Firefox Browser Cache", "Delphi temporary files",
                          "Help temporary files", "Lost cluster files", "Setup temporary files", "Temp folders",
                          "Temp folders 2", "Temporary files", "Temporary files", "Visual Studio temp files",
                          "Windows diagnostic files", "WS_FTP temporary files", "flashinstall.log",
                          "Firefox\\Thunderbird - Browserverlauf", "Dropbox", "Flashplayer", "Samsung KIES",
                          "VLC Media Player", "Windows - Cached GDI+ Fonts", "Windows - CBS Logs", "Windows Backup",
                          "Windows Cached Fonts", "Windows Fehlerberichte", "Windows Font Cache",
                          "Windows Icon-Zwischenspeicher", "Windows Logdateien",
                          "Windows Power Efficiency Protokolle", "Windows Remote Desktop Connection",
                          "Windows Suche Logdateien", "ZOOM Temporary files", "Temporary Windows Client files",
                          "Thumbnail cache", kChromiumCaches, "Firefox and Thunderbird caches",
                          "Python package download cache", "npm package cache", "Graphics shader caches",
                          "Editor backup files", "Old session error log", "Old files in /var/tmp"));
  const struct {
    const char* name;
    FolderList dirs;
  } folders[] = {
      {"OneDrive Log files", {{"/home/u/.config/Microsoft/OneDrive/Logs", pFolAndSub}}},
      {"Windows Crash Dumps", {{"/home/u/.config/CrashDumps", pFolAndSub}}},
      {"Opera Cache", {{"/home/u/.config/Opera Software/Opera Stable/Cache", pFolAndSub}}},
      {"Google Chrome Cache", {{"/home/u/.config/Google/Chrome/User Data/Default/Cache", pFolAndSub}}},
      {"Microsoft Edge Browser Cache",
       {{"/home/u/.config/Microsoft/Edge/User Data/Default/Cache/Cache_Data", pFolAndSub}}},
      {"Mozilla Firefox Browser Cache", {{"/home/u/.config/Mozilla/Firefox/Profiles", pFolAndSub}}},
      {"Delphi temporary files", {{"/", pFolAndSub}}},
      {"Temp folders", {{"/tmp/", pFolOnly}}},
      {"Temp folders 2", {{"/tmp", pFolAndSub}}},
      {"Windows diagnostic files", {{"/", pFolAndSub}}},
      {"Help temporary files", {}},
      {"Thumbnail cache", {{"/home/u/.cache/thumbnails", pFolAndSub}}},
      {kChromiumCaches,
       {{"/home/u/.cache/google-chrome", pFolAndSub},
        {"/home/u/.cache/chromium", pFolAndSub},
        {"/home/u/.cache/microsoft-edge", pFolAndSub},
        {"/home/u/.cache/BraveSoftware", pFolAndSub},
        {"/home/u/.cache/opera", pFolAndSub},
        {"/home/u/.cache/vivaldi", pFolAndSub}}},
      {"Firefox and Thunderbird caches",
       {{"/home/u/.cache/mozilla", pFolAndSub},
        {"/home/u/.cache/thunderbird", pFolAndSub},
        {"/home/u/snap/firefox/common/.cache/mozilla", pFolAndSub},
        {"/home/u/.var/app/org.mozilla.firefox/cache", pFolAndSub}}},
      {"Python package download cache", {{"/home/u/.cache/pip", pFolAndSub}}},
      {"npm package cache", {{"/home/u/.npm/_cacache", pFolAndSub}}},
      {"Graphics shader caches",
       {{"/home/u/.cache/mesa_shader_cache", pFolAndSub}, {"/home/u/.cache/nvidia", pFolAndSub}}},
      {"Editor backup files", {{"/home/u", pFolAndSub}}},
      {"Old session error log", {{"/home/u", pFolOnly}}},
      {"Old files in /var/tmp", {{"/var/tmp", pFolAndSub}}},
  };
  for (const auto& c : folders) EXPECT_EQ(Row(list, c.name).Dirs(), c.dirs) << c.name;
  for (const TJunkFileObj& t : list) {
    EXPECT_TRUE(t.IsChecked()) << t.TypName();
    EXPECT_FALSE(t.DateRestrict() || t.SizeRestrict()) << t.TypName();
    EXPECT_EQ(t.AgeRestrict(), t.TypName() == "Old files in /var/tmp") << t.TypName();
    EXPECT_EQ(t.Backtype(), t.TypName() == "Delphi temporary files" ? cuDelete : cuRecycle) << t.TypName();
  }
}

TEST(DefaultTypes, RecycleProblemMovesEveryRowButDelphiToTheHoldingFolder) {
  for (const TJunkFileObj& t : Table(true, LinuxFolders()))
    EXPECT_EQ(t.Backtype(), t.TypName() == "Delphi temporary files" ? cuDelete : cuHolding) << t.TypName();
}

TEST(DefaultTypes, ConditionalRows) {
  const struct {
    const char* what;
    DefaultFolders folders;
    size_t count;
  } cases[] = {
      // Without a home or cache folder only the /var/tmp row follows the design's rows.
      {"Linux", LinuxFolders(), 36 + 9},
      {"with an internet cache", {"/c/", "/ie/cache", "/tmp/", "/tmp", "/"}, 37 + 1},
      {"short internet cache", {"/c/", "/ie", "/tmp/", "/tmp", "/"}, 36 + 1},
      {"temp path shorter than 4", {"/c/", "", "/t/", "/tmp", "/"}, 35 + 1},
      {"temp variable unset", {"/c/", "", "/tmp/", "", "/"}, 35 + 1},
      {"no windows root", {"/c/", "", "/tmp/", "/tmp", ""}, 35 + 1},
      {"nothing optional", {"/c/", "", "", "", ""}, 33 + 1},
      // Safety: "*.*" below the root or a relative folder is never a default.
      {"temp variable is the root", {"/c/", "", "/tmp/", "//", "/"}, 35 + 1},
      {"relative temp variable", {"/c/", "", "/tmp/", "tmp", "/"}, 35 + 1},
      {"unknown roaming folder", {"", "", "/tmp/", "/tmp", "/"}, 30 + 1},
  };
  for (const auto& c : cases) EXPECT_EQ(Table(false, c.folders).size(), c.count) << c.what;
  EXPECT_EQ(Row(Table(false, cases[1].folders), "Internet Explorer cache").Dirs(),
            FolderList({{"/ie/cache", pFolAndSub}}));
}

TEST(DefaultTypes, LinuxRowsNeedTheirBaseFolder) {
  const struct {
    const char* what;
    std::string home, cache, varTmp;
    std::vector<std::string> rows;
  } cases[] = {
      {"no home", "", "/home/u/.cache", "/var/tmp",
       {"Thumbnail cache", kChromiumCaches, "Python package download cache", "Graphics shader caches",
        "Old files in /var/tmp"}},
      {"relative home", "u", "/home/u/.cache", "/var/tmp",
       {"Thumbnail cache", kChromiumCaches, "Python package download cache", "Graphics shader caches",
        "Old files in /var/tmp"}},
      {"no cache", "/home/u", "", "/var/tmp",
       {"npm package cache", "Editor backup files", "Old session error log", "Old files in /var/tmp"}},
      {"neither", "", "", "/var/tmp", {"Old files in /var/tmp"}},
      // "*.*" over the whole tree is never a default.
      {"no /var/tmp", "", "", "", {}},
      {"/var/tmp is the root", "", "", "/", {}},
  };
  for (const auto& c : cases) {
    DefaultFolders f = LinuxFolders();
    f.home = c.home;
    f.cacheHome = c.cache;
    f.varTmp = c.varTmp;
    const std::vector<std::string> names = Names(Table(false, f));
    EXPECT_EQ(std::vector<std::string>(names.begin() + 36, names.end()), c.rows) << c.what;
  }

  // A home at the root gives no doubled "/".
  DefaultFolders f = LinuxFolders();
  f.home = "/";
  EXPECT_EQ(Row(Table(false, f), "npm package cache").Dirs(), FolderList({{"/.npm/_cacache", pFolAndSub}}));
}

TEST(DefaultTypes, EnvironmentFoldersStayOneEntry) {
  DefaultFolders f = LinuxFolders();
  f.tempVar = "/tmp\n/";
  EXPECT_EQ(Row(Table(false, f), "Temp folders 2").Dirs(), FolderList({{"/tmp\n/", pFolAndSub}}));
}

TEST(DefaultTypes, SpecificationListsAreExact) {
  const std::vector<TJunkFileObj> list = Table(false, LinuxFolders());
  const TJunkFileObj& logs = Row(list, "Windows Logdateien");
  EXPECT_THAT(logs.Deletes(), ElementsAre("setupact.log", "setuperr.log", "pfro.log", "windowsupdate.log",
                                          "reportingevents.log", "netsetup.log", "wiatrace.log", "cbs.log",
                                          "windowsupdate.log", "edb.log", "edb0002e.log"));
  EXPECT_THAT(logs.Prots(), ElementsAre("", "edbres.jrs", "edb.chk", "edb.log", "edb.chk", "*.jrs",
                                        "WindowsUpdate.log", "cbs.log", "Events.log"));
  EXPECT_THAT(Row(list, "Windows Power Efficiency Protokolle").Deletes(),
              ElementsAre("energy-report.html", "energy-trace.etl", "energy-ntkl.etl", "energy-report-*.xml",
                          "engergy-report.latest.xml", "energy-report-*.xml"));
  EXPECT_THAT(list[12].Deletes(), ElementsAre("*.tmp", "*.~*", "~*.*", "*.^*", "*.??$"));
  EXPECT_THAT(list[12].Prots(), ElementsAre("rcveak*.cp$", "~desktop.*"));
  EXPECT_THAT(list[13].Deletes(), ElementsAre("*.tmp"));
  EXPECT_THAT(list[13].Prots(), ElementsAre());
  EXPECT_THAT(Row(list, "Delphi temporary files").Deletes(),
              ElementsAre("*.~dsk", "*.ddp", "*.#??", "*.~*", "*.~bpg", "*.~dfm"));
  EXPECT_THAT(Row(list, "Windows diagnostic files").Prots(), ElementsAre("*.txt"));
  EXPECT_THAT(Row(list, "Windows Crash Dumps").Prots(), ElementsAre("$RECYCLE.BIN"));

  for (const TJunkFileObj& t : std::vector<TJunkFileObj>(list.begin() + 36, list.end())) {
    const std::string& name = t.TypName();
    if (name == "Editor backup files")
      EXPECT_THAT(t.Deletes(), ElementsAre("*~", "*.*~"));
    else
      EXPECT_THAT(t.Deletes(), ElementsAre(name == "Old session error log" ? ".xsession-errors.old" : "*.*")) << name;
    EXPECT_THAT(t.Prots(), ElementsAre()) << name;
  }
  const TJunkFileObj& varTmp = Row(list, "Old files in /var/tmp");
  EXPECT_EQ(varTmp.AgeRestrictType(), 1);  // older than
  EXPECT_EQ(varTmp.AgeData1(), 3);         // 1 month
  EXPECT_EQ(varTmp.AgeData2(), 0);
}

TEST(DefaultTypes, AppendsAfterExistingRows) {
  std::vector<TJunkFileObj> list(1);
  list[0].SetTypName("Mine");
  AddAllDefaults(list, false, LinuxFolders());
  ASSERT_EQ(list.size(), 46u);
  EXPECT_EQ(list[0].TypName(), "Mine");
  EXPECT_EQ(list[1].TypName(), "OneDrive Log files");
}

}  // namespace
}  // namespace vorlo
