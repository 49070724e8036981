#include "core/default_types.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace vorlo {
namespace {

using ::testing::ElementsAre;
using enum CleanupMethod;
using enum FolderRule;

// A machine whose file system holds just `folders`.
DefaultFolders WithFolders(DefaultFolders f, std::set<std::string> folders) {
  auto there = std::make_shared<std::set<std::string>>(std::move(folders));
  f.isFolder = [there](const std::string& p) { return there->count(p) > 0; };
  f.subfolders = [there](const std::string& p) {
    std::vector<std::string> names;
    for (const std::string& q : *there)
      if (q.size() > p.size() + 1 && q.starts_with(p + "/") && q.find('/', p.size() + 1) == std::string::npos)
        names.push_back(q.substr(p.size() + 1));
    return names;
  };
  return f;
}

DefaultFolders LinuxFolders() {
  return {"/home/u/.config/", "", "/tmp/", "/tmp", "/", "/home/u", "/home/u/.cache", "/var/tmp"};
}

const char* const kChromiumCaches = "Chrome, Chromium, Edge, Brave, Opera and Vivaldi caches";
const char* const kElectronCaches = "Visual Studio Code and Electron app caches";

const std::vector<std::string> kLinuxRows = {
    "Thumbnail cache",          kChromiumCaches,       "Firefox and Thunderbird caches",
    kElectronCaches,            "Flatpak app caches",  "Python package download cache",
    "npm and Yarn caches",      "Rust and Go build caches", "Graphics shader caches",
    "Editor backup files",      "Old session error log", "Old files in /var/tmp",
    "Old temporary files"};

const std::vector<std::string> kGeneralRows = {
    "OneDrive Log files", "Windows Crash Dumps", "Opera Cache", "Google Chrome Cache",
    "Microsoft Edge Browser Cache", "Mozilla Firefox Browser Cache", "Delphi temporary files",
    "Help temporary files", "Lost cluster files", "Setup temporary files", "Temp folders",
    "Temp folders 2", "Temporary files", "Temporary files", "Visual Studio temp files",
    "Windows diagnostic files", "WS_FTP temporary files", "flashinstall.log",
    "Firefox\\Thunderbird - Browserverlauf", "Dropbox", "Flashplayer", "Samsung KIES",
    "VLC Media Player", "Windows - Cached GDI+ Fonts", "Windows - CBS Logs", "Windows Backup",
    "Windows Cached Fonts", "Windows Fehlerberichte", "Windows Font Cache",
    "Windows Icon-Zwischenspeicher", "Windows Logdateien",
    "Windows Power Efficiency Protokolle", "Windows Remote Desktop Connection",
    "Windows Suche Logdateien", "ZOOM Temporary files", "Temporary Windows Client files"};

std::vector<TJunkFileObj> Table(bool recycleProb, const DefaultFolders& f, DefaultsFor use = DefaultsFor::Chooser) {
  std::vector<TJunkFileObj> list;
  AddAllDefaults(list, recycleProb, f, use);
  return list;
}

std::vector<std::string> Names(const std::vector<TJunkFileObj>& list) {
  std::vector<std::string> names;
  for (const TJunkFileObj& t : list) names.push_back(t.TypName());
  return names;
}

// The names of the rows before the general ones.
std::vector<std::string> LinuxNames(const std::vector<TJunkFileObj>& list) {
  std::vector<std::string> names = Names(list);
  const auto general = std::find(names.begin(), names.end(), "OneDrive Log files");
  return std::vector<std::string>(names.begin(), general);
}

const TJunkFileObj& Row(const std::vector<TJunkFileObj>& list, const std::string& name) {
  const auto it = std::find_if(list.begin(), list.end(), [&](const TJunkFileObj& t) { return t.TypName() == name; });
  if (it == list.end()) throw std::runtime_error("no row " + name);
  return *it;
}

FolderList Tree(std::initializer_list<std::string> paths) {
  FolderList dirs;
  for (const std::string& p : paths) dirs.push_back({p, FolderRule::pFolAndSub});
  return dirs;
}

TEST(DefaultTypes, LinuxRowsFirstAndCheckedThenTheGeneralRowsUnchecked) {
  const std::vector<TJunkFileObj> list = Table(false, LinuxFolders());
  std::vector<std::string> expected = kLinuxRows;
  expected.erase(std::find(expected.begin(), expected.end(), "Flatpak app caches"));  // no app is installed
  expected.insert(expected.end(), kGeneralRows.begin(), kGeneralRows.end());
  EXPECT_EQ(Names(list), expected);
  const size_t linux = expected.size() - kGeneralRows.size();
  for (size_t i = 0; i < list.size(); ++i) {
    const TJunkFileObj& t = list[i];
    EXPECT_EQ(t.IsChecked(), i < linux) << t.TypName();
    EXPECT_FALSE(t.DateRestrict() || t.SizeRestrict()) << t.TypName();
    EXPECT_EQ(t.AgeRestrict(), t.TypName().starts_with("Old files") || t.TypName() == "Old temporary files")
        << t.TypName();
    EXPECT_EQ(t.Backtype(), t.TypName() == "Delphi temporary files" ? cuDelete : cuRecycle) << t.TypName();
  }
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
      {"Thumbnail cache", Tree({"/home/u/.cache/thumbnails", "/home/u/.thumbnails"})},
      {kChromiumCaches,
       Tree({"/home/u/.cache/google-chrome", "/home/u/.cache/chromium", "/home/u/.cache/chromium-headless",
             "/home/u/.cache/microsoft-edge", "/home/u/.cache/BraveSoftware", "/home/u/.cache/opera",
             "/home/u/.cache/vivaldi", "/home/u/snap/chromium/common/.cache/chromium"})},
      {"Firefox and Thunderbird caches",
       Tree({"/home/u/.cache/mozilla", "/home/u/.cache/thunderbird", "/home/u/.cache/librewolf",
             "/home/u/.cache/waterfox", "/home/u/snap/firefox/common/.cache/mozilla",
             "/home/u/.var/app/org.mozilla.firefox/cache", "/home/u/.var/app/org.mozilla.Thunderbird/cache"})},
      {"Python package download cache", Tree({"/home/u/.cache/pip"})},
      {"npm and Yarn caches", Tree({"/home/u/.npm/_cacache", "/home/u/.npm/_logs", "/home/u/.cache/yarn"})},
      {"Rust and Go build caches", Tree({"/home/u/.cargo/registry/cache", "/home/u/.cache/go-build"})},
      {"Graphics shader caches",
       Tree({"/home/u/.cache/mesa_shader_cache", "/home/u/.cache/mesa_shader_cache_db",
             "/home/u/.cache/mesa_shader_cache_sf", "/home/u/.cache/nvidia", "/home/u/.nv/ComputeCache"})},
      {"Editor backup files", {{"/home/u", pFolAndSub}}},
      {"Old session error log", {{"/home/u", pFolOnly}}},
      {"Old files in /var/tmp", {{"/var/tmp", pFolAndSub}}},
      {"Old temporary files", {{"/tmp", pFolAndSub}}},
  };
  for (const auto& c : folders) EXPECT_EQ(Row(list, c.name).Dirs(), c.dirs) << c.name;
  const FolderList& electron = Row(list, kElectronCaches).Dirs();
  ASSERT_EQ(electron.size(), 30u);
  EXPECT_EQ(electron.front().path, "/home/u/.config/Code/Cache");
  EXPECT_EQ(electron[8].path, "/home/u/.config/Code - Insiders/Code Cache");
  EXPECT_EQ(electron.back().path, "/home/u/.config/Slack/GPUCache");
}

// Rows with a variable part take what the machine holds: the caches of each
// browser profile (never the profile itself) and of each Flatpak app.
TEST(DefaultTypes, BrowserProfilesAndFlatpakAppsFoundOnTheMachine) {
  const std::string chromium = "/home/u/.config/chromium", brave = "/home/u/.config/BraveSoftware/Brave-Browser";
  const std::string apps = "/home/u/.var/app";
  const DefaultFolders f =
      WithFolders(LinuxFolders(), {chromium, chromium + "/Default", chromium + "/Profile 2", chromium + "/Crashpad",
                                   chromium + "/Profile x", brave, brave + "/Guest Profile", apps,
                                   apps + "/org.gimp.GIMP", apps + "/org.gimp.GIMP/cache", apps + "/org.a.NoCache",
                                   apps + "/org.a.NoCache/data"});
  const std::vector<TJunkFileObj> list = Table(false, f);
  const FolderList& browsers = Row(list, kChromiumCaches).Dirs();
  std::vector<std::string> found;
  for (size_t i = 8; i < browsers.size(); ++i) found.push_back(browsers[i].path);
  std::vector<std::string> expected;
  for (const std::string& profile : {chromium + "/Default", chromium + "/Profile 2"})
    for (const char* c : {"Cache", "Code Cache", "GPUCache", "DawnCache", "DawnGraphiteCache", "DawnWebGPUCache"})
      expected.push_back(profile + "/" + c);
  for (const char* c : {"ShaderCache", "GrShaderCache", "GraphiteDawnCache", "GPUPersistentCache"}) expected.push_back(chromium + "/" + c);
  for (const char* c : {"Cache", "Code Cache", "GPUCache", "DawnCache", "DawnGraphiteCache", "DawnWebGPUCache"})
    expected.push_back(brave + "/Guest Profile/" + c);
  for (const char* c : {"ShaderCache", "GrShaderCache", "GraphiteDawnCache", "GPUPersistentCache"}) expected.push_back(brave + "/" + c);
  EXPECT_EQ(found, expected);
  EXPECT_EQ(Row(list, "Flatpak app caches").Dirs(), Tree({apps + "/org.gimp.GIMP/cache"}));
}

// At the first start a Linux row comes only when one of its folders is
// there; the chooser offers it whenever its base is known.
TEST(DefaultTypes, FirstStartTakesTheLinuxRowsWhoseFoldersAreThere) {
  const struct {
    const char* what;
    std::set<std::string> folders;
    std::vector<std::string> rows;
  } cases[] = {
      {"a bare home", {"/home/u", "/var/tmp", "/tmp"},
       {"Editor backup files", "Old session error log", "Old files in /var/tmp", "Old temporary files"}},
      {"thumbnails, pip and a Code cache",
       {"/home/u", "/home/u/.cache/thumbnails", "/home/u/.cache/pip", "/home/u/.config/Code/CachedData", "/tmp"},
       {"Thumbnail cache", kElectronCaches, "Python package download cache", "Editor backup files",
        "Old session error log", "Old temporary files"}},
      {"the old thumbnail folder, npm logs, go and mesa",
       {"/home/u", "/home/u/.thumbnails", "/home/u/.npm/_logs", "/home/u/.cache/go-build",
        "/home/u/.cache/mesa_shader_cache_db"},
       {"Thumbnail cache", "npm and Yarn caches", "Rust and Go build caches", "Graphics shader caches",
        "Editor backup files", "Old session error log"}},
      {"a browser profile without a cache yet",
       {"/home/u", "/home/u/.config/google-chrome", "/home/u/.config/google-chrome/Default"},
       {"Editor backup files", "Old session error log"}},
      {"a browser's shader cache",
       {"/home/u", "/home/u/.config/chromium", "/home/u/.config/chromium/ShaderCache"},
       {kChromiumCaches, "Editor backup files", "Old session error log"}},
      {"firefox and a flatpak app",
       {"/home/u", "/home/u/.cache/mozilla", "/home/u/.var/app", "/home/u/.var/app/org.x.Y",
        "/home/u/.var/app/org.x.Y/cache"},
       {"Firefox and Thunderbird caches", "Flatpak app caches", "Editor backup files", "Old session error log"}},
  };
  for (const auto& c : cases) {
    const std::vector<TJunkFileObj> first = Table(false, WithFolders(LinuxFolders(), c.folders), DefaultsFor::FirstStart);
    EXPECT_EQ(LinuxNames(first), c.rows) << c.what;
    // The general rows are always there, unchecked.
    EXPECT_EQ(first.size(), c.rows.size() + kGeneralRows.size()) << c.what;
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
      // Without a home or cache folder, three Linux rows come before the
      // general ones: the app caches below the roaming folder and both
      // temporary folders.
      {"with an internet cache", {"/c/", "/ie/cache", "/tmp/", "/tmp", "/"}, 3 + 37},
      {"short internet cache", {"/c/", "/ie", "/tmp/", "/tmp", "/"}, 3 + 36},
      {"temp path shorter than 4", {"/c/", "", "/t/", "/tmp", "/"}, 3 + 35},
      {"temp variable unset", {"/c/", "", "/tmp/", "", "/"}, 3 + 35},
      {"no windows root", {"/c/", "", "/tmp/", "/tmp", ""}, 3 + 35},
      {"nothing optional", {"/c/", "", "", "", ""}, 2 + 33},
      // Safety: "*.*" below the root or a relative folder is never a default.
      {"temp variable is the root", {"/c/", "", "/tmp/", "//", "/"}, 3 + 35},
      {"relative temp variable", {"/c/", "", "/tmp/", "tmp", "/"}, 3 + 35},
      {"unknown roaming folder", {"", "", "/tmp/", "/tmp", "/"}, 2 + 30},
  };
  for (const auto& c : cases) EXPECT_EQ(Table(false, c.folders).size(), c.count) << c.what;
  EXPECT_EQ(Row(Table(false, cases[0].folders), "Internet Explorer cache").Dirs(),
            FolderList({{"/ie/cache", pFolAndSub}}));
}

TEST(DefaultTypes, LinuxRowsNeedTheirBaseFolder) {
  const struct {
    const char* what;
    std::string home, cache, varTmp;
    std::vector<std::string> rows;
  } cases[] = {
      {"no home", "", "/home/u/.cache", "/var/tmp",
       {"Thumbnail cache", kChromiumCaches, "Firefox and Thunderbird caches", kElectronCaches,
        "Python package download cache", "npm and Yarn caches", "Rust and Go build caches", "Graphics shader caches",
        "Old files in /var/tmp", "Old temporary files"}},
      {"no cache", "/home/u", "", "/var/tmp",
       {"Thumbnail cache", kChromiumCaches, "Firefox and Thunderbird caches", kElectronCaches,
        "npm and Yarn caches", "Rust and Go build caches", "Graphics shader caches", "Editor backup files",
        "Old session error log", "Old files in /var/tmp", "Old temporary files"}},
      // "*.*" over the whole tree is never a default.
      {"neither, no /var/tmp", "", "", "", {kElectronCaches, "Old temporary files"}},
      {"/var/tmp is the root", "", "", "/", {kElectronCaches, "Old temporary files"}},
  };
  for (const auto& c : cases) {
    DefaultFolders f = LinuxFolders();
    f.home = c.home;
    f.cacheHome = c.cache;
    f.varTmp = c.varTmp;
    EXPECT_EQ(LinuxNames(Table(false, f)), c.rows) << c.what;
  }

  DefaultFolders f = LinuxFolders();
  f.home = "u";  // a relative home is no home
  EXPECT_EQ(Row(Table(false, f), "Thumbnail cache").Dirs(), Tree({"/home/u/.cache/thumbnails"}));
  // A home at the root gives no doubled "/".
  f.home = "/";
  EXPECT_EQ(Row(Table(false, f), "npm and Yarn caches").Dirs(),
            Tree({"/.npm/_cacache", "/.npm/_logs", "/home/u/.cache/yarn"}));
}

// Old temporary files are looked for in $TMPDIR, but never in the home
// folder or above it.
TEST(DefaultTypes, OldTemporaryFilesStayOutOfTheHome) {
  const struct {
    std::string tempPath, folder;
  } cases[] = {{"/tmp/", "/tmp"},          {"/home/u/tmp/", "/home/u/tmp"}, {"/home/u/", "/tmp"},
               {"/home/", "/tmp"},         {"/scratch//", "/scratch"}};
  for (const auto& c : cases) {
    DefaultFolders f = LinuxFolders();
    f.tempPath = c.tempPath;
    const std::vector<TJunkFileObj> table = Table(false, f);
    const TJunkFileObj& t = Row(table, "Old temporary files");
    EXPECT_EQ(t.Dirs(), Tree({c.folder})) << c.tempPath;
    EXPECT_THAT(t.Prots(), ElementsAre(".X*-lock", "*.pid", "*.lock"));
    EXPECT_EQ(t.AgeRestrictType(), 1);  // older than
    EXPECT_EQ(t.AgeData1(), 2);         // 1 week
  }
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
  const size_t general = LinuxNames(list).size();
  EXPECT_THAT(list[general + 12].Deletes(), ElementsAre("*.tmp", "*.~*", "~*.*", "*.^*", "*.??$"));
  EXPECT_THAT(list[general + 12].Prots(), ElementsAre("rcveak*.cp$", "~desktop.*"));
  EXPECT_THAT(list[general + 13].Deletes(), ElementsAre("*.tmp"));
  EXPECT_THAT(list[general + 13].Prots(), ElementsAre());
  EXPECT_THAT(Row(list, "Delphi temporary files").Deletes(),
              ElementsAre("*.~dsk", "*.ddp", "*.#??", "*.~*", "*.~bpg", "*.~dfm"));
  EXPECT_THAT(Row(list, "Windows diagnostic files").Prots(), ElementsAre("*.txt"));
  EXPECT_THAT(Row(list, "Windows Crash Dumps").Prots(), ElementsAre("$RECYCLE.BIN"));

  for (const TJunkFileObj& t : std::vector<TJunkFileObj>(list.begin(), list.begin() + general)) {
    const std::string& name = t.TypName();
    if (name == "Editor backup files")
      EXPECT_THAT(t.Deletes(), ElementsAre("*~", "*.*~"));
    else
      EXPECT_THAT(t.Deletes(), ElementsAre(name == "Old session error log" ? ".xsession-errors.old" : "*.*")) << name;
    if (name == "Editor backup files")
      EXPECT_THAT(t.Prots(), ElementsAre(".saves-*", ".*.un~"));
    else if (name != "Old temporary files")
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
  AddAllDefaults(list, false, LinuxFolders(), DefaultsFor::Chooser);
  ASSERT_EQ(list.size(), 1u + 12u + 36u);
  EXPECT_EQ(list[0].TypName(), "Mine");
  EXPECT_EQ(list[1].TypName(), "Thumbnail cache");
  EXPECT_EQ(list[13].TypName(), "OneDrive Log files");
}

}  // namespace
}  // namespace vorlo
