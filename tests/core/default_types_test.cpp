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

DefaultFolders LinuxFolders() { return {"/home/u/.config/", "", "/tmp/", "/tmp", "/"}; }

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
                          "Windows Suche Logdateien", "ZOOM Temporary files", "Temporary Windows Client files"));
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
  };
  for (const auto& c : folders) EXPECT_EQ(Row(list, c.name).Dirs(), c.dirs) << c.name;
  for (const TJunkFileObj& t : list) {
    EXPECT_TRUE(t.IsChecked()) << t.TypName();
    EXPECT_FALSE(t.DateRestrict() || t.AgeRestrict() || t.SizeRestrict()) << t.TypName();
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
      {"Linux", LinuxFolders(), 36},
      {"with an internet cache", {"/c/", "/ie/cache", "/tmp/", "/tmp", "/"}, 37},
      {"short internet cache", {"/c/", "/ie", "/tmp/", "/tmp", "/"}, 36},
      {"temp path shorter than 4", {"/c/", "", "/t/", "/tmp", "/"}, 35},
      {"temp variable unset", {"/c/", "", "/tmp/", "", "/"}, 35},
      {"no windows root", {"/c/", "", "/tmp/", "/tmp", ""}, 35},
      {"nothing optional", {"/c/", "", "", "", ""}, 33},
      // Safety: "*.*" below the root or a relative folder is never a default.
      {"temp variable is the root", {"/c/", "", "/tmp/", "//", "/"}, 35},
      {"relative temp variable", {"/c/", "", "/tmp/", "tmp", "/"}, 35},
      {"unknown roaming folder", {"", "", "/tmp/", "/tmp", "/"}, 30},
  };
  for (const auto& c : cases) EXPECT_EQ(Table(false, c.folders).size(), c.count) << c.what;
  EXPECT_EQ(Row(Table(false, cases[1].folders), "Internet Explorer cache").Dirs(),
            FolderList({{"/ie/cache", pFolAndSub}}));
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
}

TEST(DefaultTypes, AppendsAfterExistingRows) {
  std::vector<TJunkFileObj> list(1);
  list[0].SetTypName("Mine");
  AddAllDefaults(list, false, LinuxFolders());
  ASSERT_EQ(list.size(), 37u);
  EXPECT_EQ(list[0].TypName(), "Mine");
  EXPECT_EQ(list[1].TypName(), "OneDrive Log files");
}

}  // namespace
}  // namespace vorlo
