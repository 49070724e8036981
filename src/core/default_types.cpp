#include "core/default_types.h"

#include <initializer_list>
#include <optional>
#include <string_view>

#include "platform/environment.h"

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
  TableBuilder(std::vector<TJunkFileObj>& list, CleanupMethod method) : list_(list), method_(method) {}

  // A row searching all local drives.
  void AllDrives(std::string name, std::string_view deletes, std::string_view prots = {}) {
    list_.emplace_back(std::move(name), true, method_, std::string_view(), deletes, prots, 0u);
  }

  // A row searching one folder. Folders that come from the environment are
  // set as one entry, so a line break inside one cannot add other folders.
  void InFolder(std::string name, const std::string& folder, FolderRule rule, std::string_view deletes,
                std::string_view prots = {}, std::optional<CleanupMethod> method = {}) {
    TJunkFileObj& t =
        list_.emplace_back(std::move(name), true, method.value_or(method_), std::string_view(), deletes, prots, 0u);
    t.SetDirs({{folder, rule}});
  }

  // A row searching several folders, each with its own subfolders.
  void InFolders(std::string name, const std::vector<std::string>& folders, std::string_view deletes) {
    TJunkFileObj& t = list_.emplace_back(std::move(name), true, method_, std::string_view(), deletes,
                                         std::string_view(), 0u);
    FolderList dirs;
    for (const std::string& folder : folders) dirs.push_back({folder, FolderRule::pFolAndSub});
    t.SetDirs(dirs);
  }

  // A row searching one folder and its subfolders for files older than the
  // age index `olderThan`.
  void OlderThan(std::string name, const std::string& folder, const SpecList& deletes, int32_t olderThan) {
    list_.emplace_back(std::move(name), true, method_, FolderList{{folder, FolderRule::pFolAndSub}}, deletes,
                       SpecList(), DateRestriction(), AgeRestriction{.on = true, .type = 1, .data1 = olderThan},
                       SizeRestriction());
  }

 private:
  std::vector<TJunkFileObj>& list_;
  CleanupMethod method_;
};

bool IsAbsolute(const std::string& path) { return !path.empty() && path[0] == '/'; }

// The temporary folder variable may name any folder; the root (or a
// relative path, which the scan would take from its working folder) would
// turn "*.*" loose on far more than temporary files.
bool UsableTempVar(const std::string& path) {
  return IsAbsolute(path) && path.find_first_not_of('/') != std::string::npos;
}

// `sub` below `base`, without a doubled "/" when `base` is the root.
std::string Below(const std::string& base, std::string_view sub) {
  return (base == "/" ? std::string() : base) + "/" + std::string(sub);
}

// Caches that their programs rebuild by themselves, the user's editor
// backups and old temporary files; each row only when its base is known.
void AddLinuxRows(TableBuilder& add, const DefaultFolders& f) {
  const std::string all = Lines({"*.*"});
  const bool haveHome = IsAbsolute(f.home);
  const bool haveCache = IsAbsolute(f.cacheHome);
  const auto cache = [&](std::string_view sub) { return Below(f.cacheHome, sub); };
  const auto home = [&](std::string_view sub) { return Below(f.home, sub); };

  if (haveCache) {
    add.InFolders("Thumbnail cache", {cache("thumbnails")}, all);
    add.InFolders("Chrome, Chromium, Edge, Brave, Opera and Vivaldi caches",
                  {cache("google-chrome"), cache("chromium"), cache("microsoft-edge"), cache("BraveSoftware"),
                   cache("opera"), cache("vivaldi")},
                  all);
  }
  if (haveCache && haveHome)
    add.InFolders("Firefox and Thunderbird caches",
                  {cache("mozilla"), cache("thunderbird"), home("snap/firefox/common/.cache/mozilla"),
                   home(".var/app/org.mozilla.firefox/cache")},
                  all);
  if (haveCache) add.InFolders("Python package download cache", {cache("pip")}, all);
  if (haveHome) add.InFolders("npm package cache", {home(".npm/_cacache")}, all);
  if (haveCache) add.InFolders("Graphics shader caches", {cache("mesa_shader_cache"), cache("nvidia")}, all);
  if (haveHome) {
    add.InFolders("Editor backup files", {f.home}, Lines({"*~", "*.*~"}));
    add.InFolder("Old session error log", f.home, FolderRule::pFolOnly, Lines({".xsession-errors.old"}));
  }
  // Age index 3 is "1 month".
  if (UsableTempVar(f.varTmp)) add.OlderThan("Old files in /var/tmp", f.varTmp, {"*.*"}, 3);
}

}  // namespace

DefaultFolders SystemDefaultFolders() {
  return DefaultFolders{.appData = getWinSpecialFolder(CSIDL_APPDATA),
                        .ieCache = IECache(),
                        .tempPath = SystemTempPath(),
                        .tempVar = GetTempDir(),
                        .windowsRoot = "/",
                        .home = HomeFolder(),
                        .cacheHome = CacheHome()};
}

void AddAllDefaults(std::vector<TJunkFileObj>& list, bool RecycleProb, const DefaultFolders& f) {
  using enum CleanupMethod;
  using enum FolderRule;
  TableBuilder add(list, RecycleProb ? cuHolding : cuRecycle);
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
  AddLinuxRows(add, f);
}

}  // namespace vorlo
