#include "core/default_types.h"

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <string_view>

#include "platform/dir_listing.h"
#include "platform/environment.h"
#include "platform/file_ops.h"

namespace vorlo {

namespace {

std::string Lines(std::initializer_list<std::string_view> entries) {
  std::string text;
  for (std::string_view e : entries) {
    text += e;
    text += "\r\n";
  }
  return text;
}

class TableBuilder {
 public:
  TableBuilder(std::vector<TJunkFileObj>& list, CleanupMethod method, bool checked)
      : list_(list), method_(method), checked_(checked) {}

  // A row searching all local drives.
  void AllDrives(std::string name, std::string_view deletes, std::string_view prots = {}) {
    list_.emplace_back(std::move(name), checked_, method_, std::string_view(), deletes, prots, 0u);
  }

  // A row searching one folder. Folders that come from the environment are
  // set as one entry, so a line break inside one cannot add other folders.
  void InFolder(std::string name, const std::string& folder, FolderRule rule, std::string_view deletes,
                std::string_view prots = {}, std::optional<CleanupMethod> method = {}) {
    TJunkFileObj& t = list_.emplace_back(std::move(name), checked_, method.value_or(method_), std::string_view(),
                                         deletes, prots, 0u);
    t.SetDirs({{folder, rule}});
  }

  // A row searching the folders of `dirs`, with optional protections and an
  // age limit ("older than" the age index).
  void InFolders(std::string name, const FolderList& dirs, const SpecList& deletes, const SpecList& prots = {},
                 std::optional<int32_t> olderThan = {}) {
    AgeRestriction age;
    if (olderThan) age = {.on = true, .type = 1, .data1 = *olderThan};
    list_.emplace_back(std::move(name), checked_, method_, dirs, deletes, prots, DateRestriction(), age,
                       SizeRestriction());
  }

 private:
  std::vector<TJunkFileObj>& list_;
  CleanupMethod method_;
  bool checked_;
};

bool IsAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

// The temporary folder variable may name any folder; the root (or a
// relative path, which the scan would take from its working folder) would
// turn "*.*" loose on far more than temporary files.
bool UsableTempVar(const std::string& path) {
  return IsAbsolute(path) && path.find_first_not_of('/') != std::string::npos;
}

// `sub` below `base`, without a doubled "/" when `base` is the root; empty
// when the base is unknown.
std::string Below(const std::string& base, std::string_view sub) {
  if (!IsAbsolute(base)) return {};
  return (base == "/" ? std::string() : base) + "/" + std::string(sub);
}

std::string WithoutTrailingSlash(std::string path) {
  while (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// The temporary folder for old temporary files: never the home folder or a
// folder above it, whatever $TMPDIR says.
std::string OldTempFolder(const DefaultFolders& f) {
  const std::string tmp = WithoutTrailingSlash(f.tempPath);
  if (!UsableTempVar(tmp)) return {};
  const std::string home = WithoutTrailingSlash(f.home);
  if (IsAbsolute(home) && (home == tmp || home.starts_with(tmp + "/"))) return "/tmp";
  return tmp;
}

// The folders of this machine that a Linux row may name.
class LinuxPlaces {
 public:
  explicit LinuxPlaces(const DefaultFolders& f)
      : f_(f), config_(WithoutTrailingSlash(f.appData)) {}

  std::string Home(std::string_view sub) const { return Below(f_.home, sub); }
  std::string Cache(std::string_view sub) const { return Below(f_.cacheHome, sub); }
  std::string Config(std::string_view sub) const { return Below(config_, sub); }

  bool IsFolder(const std::string& path) const { return f_.isFolder && !path.empty() && f_.isFolder(path); }
  std::vector<std::string> Subfolders(const std::string& path) const {
    if (!f_.subfolders || path.empty()) return {};
    return f_.subfolders(path);
  }

 private:
  const DefaultFolders& f_;
  std::string config_;
};

// Folder entries with their subfolders; unknown (empty) paths left out.
class Folders {
 public:
  Folders& Add(const std::string& path, FolderRule rule = FolderRule::pFolAndSub) {
    if (!path.empty()) dirs_.push_back({path, rule});
    return *this;
  }
  Folders& Add(std::initializer_list<std::string> paths) {
    for (const std::string& p : paths) Add(p);
    return *this;
  }
  const FolderList& List() const { return dirs_; }

 private:
  FolderList dirs_;
};

// Where Chromium-based browsers keep their profiles: the configuration
// folder, and those of the Snap and Flatpak packages.
std::vector<std::string> ChromiumProfileHomes(const LinuxPlaces& at) {
  std::vector<std::string> homes;
  for (const char* browser :
       {"google-chrome", "google-chrome-beta", "google-chrome-unstable", "chromium", "microsoft-edge",
        "microsoft-edge-beta", "microsoft-edge-dev", "BraveSoftware/Brave-Browser",
        "BraveSoftware/Brave-Browser-Beta", "BraveSoftware/Brave-Browser-Nightly", "opera", "opera-beta",
        "opera-developer", "vivaldi", "vivaldi-snapshot"})
    homes.push_back(at.Config(browser));
  for (const char* sub :
       {"snap/chromium/common/chromium", ".var/app/com.google.Chrome/config/google-chrome",
        ".var/app/org.chromium.Chromium/config/chromium", ".var/app/com.microsoft.Edge/config/microsoft-edge",
        ".var/app/com.brave.Browser/config/BraveSoftware/Brave-Browser", ".var/app/com.opera.Opera/config/opera",
        ".var/app/com.vivaldi.Vivaldi/config/vivaldi"})
    homes.push_back(at.Home(sub));
  return homes;
}

// A browser profile folder: "Default", "Guest Profile", "System Profile"
// or "Profile " and a number.
bool IsChromiumProfile(std::string_view name) {
  if (name == "Default" || name == "Guest Profile" || name == "System Profile") return true;
  constexpr std::string_view kProfile = "Profile ";
  return name.starts_with(kProfile) && name.size() > kProfile.size() &&
         name.find_first_not_of("0123456789", kProfile.size()) == std::string_view::npos;
}

// The caches of each Chromium-based browser that is installed: of each of
// its profiles and of the browser as a whole. Its history, cookies,
// bookmarks, passwords and settings sit beside them and are not named.
void AddChromiumProfileCaches(const LinuxPlaces& at, Folders& dirs) {
  for (const std::string& browser : ChromiumProfileHomes(at)) {
    if (!at.IsFolder(browser)) continue;
    for (const std::string& profile : at.Subfolders(browser)) {
      if (!IsChromiumProfile(profile)) continue;
      for (const char* cache :
           {"Cache", "Code Cache", "GPUCache", "DawnCache", "DawnGraphiteCache", "DawnWebGPUCache"})
        dirs.Add(browser + "/" + profile + "/" + cache);
    }
    for (const char* cache : {"ShaderCache", "GrShaderCache", "GraphiteDawnCache", "GPUPersistentCache"})
      dirs.Add(browser + "/" + cache);
  }
}

// The cache folder of each installed Flatpak app.
void AddFlatpakCaches(const LinuxPlaces& at, Folders& dirs) {
  const std::string apps = at.Home(".var/app");
  if (!at.IsFolder(apps)) return;
  for (const std::string& app : at.Subfolders(apps))
    if (const std::string cache = apps + "/" + app + "/cache"; at.IsFolder(cache)) dirs.Add(cache);
}

// Caches that their programs rebuild by themselves, the user's editor
// backups and old temporary files. A row needs a known base for at least
// one folder; at the first start, one of its folders must be there.
void AddLinuxRows(TableBuilder& add, const DefaultFolders& f, DefaultsFor use) {
  const SpecList all{"*.*"};
  const LinuxPlaces at(f);
  const auto row = [&](std::string name, const Folders& dirs, const SpecList& deletes, const SpecList& prots = {},
                       std::optional<int32_t> olderThan = {}) {
    const FolderList& list = dirs.List();
    // No folder would mean every local drive.
    if (list.empty()) return;
    if (use == DefaultsFor::FirstStart &&
        std::none_of(list.begin(), list.end(), [&](const FolderEntry& e) { return at.IsFolder(e.path); }))
      return;
    add.InFolders(std::move(name), list, deletes, prots, olderThan);
  };

  row("Thumbnail cache", Folders().Add({at.Cache("thumbnails"), at.Home(".thumbnails")}), all);

  Folders chromium;
  chromium.Add({at.Cache("google-chrome"), at.Cache("chromium"), at.Cache("chromium-headless"),
                at.Cache("microsoft-edge"), at.Cache("BraveSoftware"), at.Cache("opera"), at.Cache("vivaldi"),
                at.Home("snap/chromium/common/.cache/chromium")});
  AddChromiumProfileCaches(at, chromium);
  row("Chrome, Chromium, Edge, Brave, Opera and Vivaldi caches", chromium, all);

  row("Firefox and Thunderbird caches",
      Folders().Add({at.Cache("mozilla"), at.Cache("thunderbird"), at.Cache("librewolf"), at.Cache("waterfox"),
                     at.Home("snap/firefox/common/.cache/mozilla"), at.Home(".var/app/org.mozilla.firefox/cache"),
                     at.Home(".var/app/org.mozilla.Thunderbird/cache")}),
      all);

  Folders electron;
  for (const char* app : {"Code", "Code - Insiders", "VSCodium", "Cursor", "discord", "Slack"})
    for (const char* cache : {"Cache", "CachedData", "CachedExtensionVSIXs", "Code Cache", "GPUCache"})
      electron.Add(at.Config(std::string(app) + "/" + cache));
  row("Visual Studio Code and Electron app caches", electron, all);

  Folders flatpak;
  AddFlatpakCaches(at, flatpak);
  row("Flatpak app caches", flatpak, all);

  row("Python package download cache", Folders().Add(at.Cache("pip")), all);
  row("npm and Yarn caches", Folders().Add({at.Home(".npm/_cacache"), at.Home(".npm/_logs"), at.Cache("yarn")}),
      all);
  row("Rust and Go build caches", Folders().Add({at.Home(".cargo/registry/cache"), at.Cache("go-build")}), all);
  row("Graphics shader caches",
      Folders().Add({at.Cache("mesa_shader_cache"), at.Cache("mesa_shader_cache_db"),
                     at.Cache("mesa_shader_cache_sf"), at.Cache("nvidia"), at.Home(".nv/ComputeCache")}),
      all);
  if (IsAbsolute(f.home)) {
    // Emacs's list of its auto-save files and Vim's undo history end in "~"
    // too, but are no backups: they hold what a crash or an undo needs.
    row("Editor backup files", Folders().Add(f.home), {"*~", "*.*~"}, {".saves-*", ".*.un~"});
    row("Old session error log", Folders().Add(f.home, FolderRule::pFolOnly), {".xsession-errors.old"});
  }
  // Age index 3 is "1 month", 2 is "1 week".
  if (UsableTempVar(f.varTmp)) row("Old files in /var/tmp", Folders().Add(f.varTmp), all, {}, 3);
  // Live X servers and daemons keep lock and pid files here for as long as
  // they run, however old.
  row("Old temporary files", Folders().Add(OldTempFolder(f)), all, {".X*-lock", "*.pid", "*.lock"}, 2);
}

}  // namespace

DefaultFolders SystemDefaultFolders() {
  return DefaultFolders{.appData = getWinSpecialFolder(CSIDL_APPDATA),
                        .ieCache = IECache(),
                        .tempPath = SystemTempPath(),
                        .tempVar = GetTempDir(),
                        .windowsRoot = "/",
                        .home = HomeFolder(),
                        .cacheHome = CacheHome(),
                        .isFolder = [](const std::string& path) { return FolderExists(path); },
                        .subfolders = [](const std::string& path) { return SubfolderNames(path); }};
}

void AddAllDefaults(std::vector<TJunkFileObj>& list, bool RecycleProb, const DefaultFolders& f, DefaultsFor use) {
  using enum CleanupMethod;
  using enum FolderRule;
  const CleanupMethod method = RecycleProb ? cuHolding : cuRecycle;
  TableBuilder linux(list, method, true);
  AddLinuxRows(linux, f, use);

  // The general rows, as the table has them, but unchecked: on Linux their
  // names belong to other programs' files (Solidity sources, prefix
  // headers, editor backups, live lock files), so only a user who chose one
  // gets it.
  TableBuilder add(list, method, false);
  const std::string all = Lines({"*.*"});
  // Without a known home there is no roaming folder; its rows would search
  // relative to the working folder.
  const bool haveAppData = IsAbsolute(f.appData);

  if (haveAppData) {
    add.InFolder("OneDrive Log files", f.appData + "Microsoft/OneDrive/Logs", pFolAndSub, Lines({"*.odl"}));
    add.InFolder("Windows Crash Dumps", f.appData + "CrashDumps", pFolAndSub, Lines({"*.dmp"}),
                 Lines({"$RECYCLE.BIN"}));
  }
  if (f.ieCache.size() >= 4)
    add.InFolder("Internet Explorer cache", f.ieCache, pFolAndSub, all, Lines({"index.dat"}));
  if (haveAppData) {
    add.InFolder("Opera Cache", f.appData + "Opera Software/Opera Stable/Cache", pFolAndSub, all);
    add.InFolder("Google Chrome Cache", f.appData + "Google/Chrome/User Data/Default/Cache", pFolAndSub, all);
    add.InFolder("Microsoft Edge Browser Cache", f.appData + "Microsoft/Edge/User Data/Default/Cache/Cache_Data",
                 pFolAndSub, all);
    add.InFolder("Mozilla Firefox Browser Cache", f.appData + "Mozilla/Firefox/Profiles", pFolAndSub, all);
  }
  add.InFolder("Delphi temporary files", "/", pFolAndSub,
               Lines({"*.~dsk", "*.ddp", "*.#??", "*.~*", "*.~bpg", "*.~dfm"}), {}, cuDelete);
  add.AllDrives("Help temporary files", Lines({"*.gid", "*.fts", "*.ftg"}));
  add.AllDrives("Lost cluster files", Lines({"chklist.*", "file???._dd", "file????._dd"}), Lines({"chklist.dll"}));
  add.AllDrives("Setup temporary files", Lines({"mscreate.dir", "*.---"}));
  if (f.tempPath.size() >= 4) add.InFolder("Temp folders", f.tempPath, pFolOnly, all);
  if (UsableTempVar(f.tempVar)) add.InFolder("Temp folders 2", f.tempVar, pFolAndSub, all);
  add.AllDrives("Temporary files", Lines({"*.tmp", "*.~*", "~*.*", "*.^*", "*.??$"}),
                Lines({"rcveak*.cp$", "~desktop.*"}));
  add.AllDrives("Temporary files", Lines({"*.tmp"}));
  add.AllDrives("Visual Studio temp files", Lines({"*.bsc", "*.ilk", "*.pch"}));
  if (const std::string root = f.windowsRoot.substr(0, 3); !root.empty())
    add.InFolder("Windows diagnostic files", root, pFolAndSub,
                 Lines({"bootlog.prv", "modemdet.txt", "suhdlg.dat", "system.1st", "*log.txt"}), Lines({"*.txt"}));
  add.AllDrives("WS_FTP temporary files", Lines({"ws_ftp.log"}));
  add.AllDrives("flashinstall.log", Lines({"flashinstall.log"}));
  add.AllDrives("Firefox\\Thunderbird - Browserverlauf",
                Lines({"places.sqlite-shm", "places.sqlite-wal", "urlclassifierkey3.txt"}));
  add.AllDrives("Dropbox", Lines({"dropbox.exe.log"}));
  add.AllDrives("Flashplayer", Lines({"*.sol"}));
  add.AllDrives("Samsung KIES", Lines({"*.mlpb"}));
  add.AllDrives("VLC Media Player", Lines({"vlc-qt.interface.ini"}));
  add.AllDrives("Windows - Cached GDI+ Fonts", Lines({"gdipfontcachev1.dat"}));
  add.AllDrives("Windows - CBS Logs", Lines({"cbspersist_*.cab"}));
  add.AllDrives("Windows Backup", Lines({"windowsbackup.etl"}));
  add.AllDrives("Windows Cached Fonts", Lines({"fntcache.dat"}));
  add.AllDrives("Windows Fehlerberichte", Lines({"*.wer", "*.resp"}));
  add.AllDrives("Windows Font Cache", Lines({"fontcache*.dat", "fontcache-system.dat"}));
  add.AllDrives("Windows Icon-Zwischenspeicher", Lines({"iconcache.db"}));
  add.AllDrives("Windows Logdateien",
                Lines({"setupact.log", "setuperr.log", "pfro.log", "windowsupdate.log", "reportingevents.log",
                       "netsetup.log", "wiatrace.log", "cbs.log", "windowsupdate.log", "edb.log", "edb0002e.log"}),
                Lines({"", "edbres.jrs", "edb.chk", "edb.log", "edb.chk", "*.jrs", "WindowsUpdate.log", "cbs.log",
                       "Events.log"}));
  add.AllDrives("Windows Power Efficiency Protokolle",
                Lines({"energy-report.html", "energy-trace.etl", "energy-ntkl.etl", "energy-report-*.xml",
                       "engergy-report.latest.xml", "energy-report-*.xml"}));
  add.AllDrives("Windows Remote Desktop Connection", Lines({"default.rdp"}));
  add.AllDrives("Windows Suche Logdateien", Lines({"mss.log", "msstmp.log", "mss*.log", "mssres*.jrs"}));
  add.AllDrives("ZOOM Temporary files", Lines({"*_default_image"}));
  add.AllDrives("Temporary Windows Client files",
                Lines({"SearchUnifiedTileModelCache.dat", "*Encoded_Data.bin", "*Encoded_Header.bin"}));
}

}  // namespace vorlo
