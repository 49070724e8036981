#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "core/default_types.h"
#include "support/child_process.h"
#include "support/env_guard.h"
#include "support/run_fixture.h"

namespace vorlo {
namespace {

using testing::RunFixture;
namespace fs = std::filesystem;

constexpr int64_t kDay = 86400;

// Sets a file's last write time, in seconds since 1970 UTC.
void SetMtime(const std::string& path, int64_t t) {
  const timeval times[2] = {{static_cast<time_t>(t), 0}, {static_cast<time_t>(t), 0}};
  ASSERT_EQ(::utimes(path.c_str(), times), 0) << path;
}

// A home folder for one test: HOME, the XDG folders and TMPDIR point into
// the fixture's tree, never at the machine's own.
struct TestHome {
  explicit TestHome(RunFixture& f, bool xdgCache = false)
      : home(f.dir / "tree/home"), tmp(f.dir / "tree/tmp"), varTmp(f.dir / "tree/var-tmp") {
    fs::create_directories(home);
    for (const std::string& shared : {tmp, varTmp}) {
      fs::create_directories(shared);
      ::chmod(shared.c_str(), 01777);
    }
    env.Set("HOME", home);
    env.Set("XDG_CONFIG_HOME", std::nullopt);
    env.Set("XDG_CACHE_HOME", xdgCache ? std::optional<std::string>(f.dir / "tree/xdg-cache") : std::nullopt);
    env.Set("TMPDIR", tmp);
  }
  std::vector<TJunkFileObj> FirstStartTable() const {
    DefaultFolders folders = SystemDefaultFolders();
    folders.varTmp = varTmp;
    std::vector<TJunkFileObj> table;
    AddAllDefaults(table, false, folders, DefaultsFor::FirstStart);
    return table;
  }
  std::string home, tmp, varTmp;
  testing::EnvGuard env;
};

std::vector<std::string> CheckedNames(const std::vector<TJunkFileObj>& table) {
  std::vector<std::string> names;
  for (const TJunkFileObj& t : table)
    if (t.IsChecked()) names.push_back(t.TypName());
  return names;
}

// The first start on homes with and without each program's cache: the
// Linux rows whose folders are there come first, checked, and the general
// rows follow, unchecked.
TEST(LinuxDefaults, FirstStartListFollowsWhatTheHomeHolds) {
  const std::vector<std::string> always = {"Editor backup files", "Old session error log", "Old files in /var/tmp",
                                           "Old temporary files"};
  const struct {
    const char* what;
    bool xdgCache;
    std::vector<std::string> folders;  // below the tree
    std::vector<std::string> rows;     // before the four rows every home has
  } cases[] = {
      {"a fresh home", false, {}, {}},
      {"thumbnails and pip in ~/.cache", false, {"home/.cache/thumbnails/normal", "home/.cache/pip/wheels"},
       {"Thumbnail cache", "Python package download cache"}},
      {"XDG_CACHE_HOME set: ~/.cache is not the cache", true,
       {"home/.cache/thumbnails", "xdg-cache/pip/http-v2", "xdg-cache/go-build/00"},
       {"Python package download cache", "Rust and Go build caches"}},
      {"headless Chromium", false, {"home/.cache/chromium-headless/scoped_dir4HTcwx/Default/Cache"},
       {"Chrome, Chromium, Edge, Brave, Opera and Vivaldi caches"}},
      {"a Chromium profile's GPU cache", false, {"home/.config/chromium/Default/GPUCache"},
       {"Chrome, Chromium, Edge, Brave, Opera and Vivaldi caches"}},
      {"Firefox, npm and Yarn", false,
       {"home/.cache/mozilla/firefox/6gnye7yr.default-esr/cache2", "home/.npm/_logs", "home/.cache/yarn/v6"},
       {"Firefox and Thunderbird caches", "npm and Yarn caches"}},
      {"a Flatpak app and a Code cache", false, {"home/.var/app/org.gimp.GIMP/cache", "home/.config/Code/CachedData"},
       {"Visual Studio Code and Electron app caches", "Flatpak app caches"}},
      {"a profile without caches is no browser cache", false, {"home/.config/google-chrome/Default"}, {}},
  };
  for (const auto& c : cases) {
    RunFixture f;
    const TestHome home(f, c.xdgCache);
    for (const std::string& folder : c.folders) fs::create_directories(f.dir / ("tree/" + folder));
    const std::vector<TJunkFileObj> table = home.FirstStartTable();
    std::vector<std::string> expected = c.rows;
    expected.insert(expected.end(), always.begin(), always.end());
    EXPECT_EQ(CheckedNames(table), expected) << c.what;
    ASSERT_EQ(table.size(), expected.size() + 36) << c.what;  // the general rows, none checked
    EXPECT_EQ(table[expected.size()].TypName(), "OneDrive Log files") << c.what;
  }
}

// An analysis of the first-start list over a home laid out as Chromium,
// Firefox, npm, Yarn, pip, Go and the editors really write it: it takes the
// caches and the backups, and leaves everything a user or another program
// made, including the near misses of the general rows' patterns. A clean-up
// then removes exactly what the analysis listed. The general rows search
// every drive; unchecked, they never run.
TEST(LinuxDefaults, FirstStartRunTakesCachesAndLeavesUsersFiles) {
  RunFixture f;
  const TestHome home(f);
  const std::string chromium = "home/.config/chromium/Default/", firefox = "home/.mozilla/firefox/z09ij4hy.default-esr/";
  const std::vector<std::string> junk = {
      f.File("home/.cache/thumbnails/normal/5d41402abc4b2a76b9719d911017c592.png", 10),
      f.File("home/.cache/thumbnails/large/7d793037a0760186574b0282f2f435e7.png", 10),
      f.File("home/.cache/chromium/Default/Cache/Cache_Data/0a1b2c3d4e5f6a7b_0", 10),
      f.File("home/.cache/chromium/Default/Cache/Cache_Data/index-dir/the-real-index", 10),
      f.File("home/.cache/chromium/Default/Code Cache/js/9f8e7d6c5b4a3f2e_0", 10),
      f.File("home/.cache/chromium-headless/scoped_dirUqfeMd/Default/Cache/Cache_Data/index", 10),
      f.File(chromium + "GPUCache/data_0", 10),
      f.File(chromium + "DawnGraphiteCache/index", 10),
      f.File(chromium + "DawnWebGPUCache/data_1", 10),
      f.File("home/.config/chromium/GPUPersistentCache/GPUCache/J2W3HSVPRRXIOSW2PMUMYVOXMSLIFBC5/cache.db", 10),
      f.File("home/.cache/mozilla/firefox/z09ij4hy.default-esr/cache2/entries/0E5A8C61F2C2F1B0A3D1E8F7C6B5A4D3E2F1A0B9",
             10),
      f.File("home/.cache/mozilla/firefox/z09ij4hy.default-esr/startupCache/scriptCache.bin", 10),
      f.File("home/.npm/_cacache/content-v2/sha512/04/83/14e2c1928d08c1492cca5c8f3a0f4933", 10),
      f.File("home/.npm/_cacache/index-v5/28/af/3f5b8e1c4db46b2c24d0264a2bb8ab473f22a4f1", 10),
      f.File("home/.npm/_logs/2026-12-10T13_10_43_707Z-debug-0.log", 10),
      f.File("home/.cache/yarn/v6/npm-is-number-7.0.0-7535345b896734d5f80c4d06c5-integrity/node_modules/is-number/"
             ".yarn-tarball.tgz",
             10),
      f.File("home/.cache/pip/wheels/02/71/25/c01e8e5e38cde95c08/tinypkg-0.1-py3-none-any.whl", 10),
      f.File("home/.cache/go-build/3a/3a7bd3e2360a3d29eea436fcfb7e44c735d117c42d1c1835420b6b9942dd4f1b-a", 10),
      f.File("home/.cache/go-build/trim.txt", 10),
      f.File("home/notes.md~", 10),                 // Emacs and Vim backups
      f.File("home/src/notes.md.~1~", 10),          // an Emacs numbered backup
      f.File("home/Makefile~", 10),
      f.File("home/.xsession-errors.old", 10),
      f.File("tmp/build-1234.log", 10),             // a week and more untouched
      f.File("tmp/session-x/old.dat", 10),
      f.File("var-tmp/old-download.part", 10),
  };
  std::vector<std::string> kept = {
      f.File("home/src/contracts/contracts/Token.sol", 10),   // Solidity, not a Flash cookie
      f.File("home/src/ios/App/App-Prefix.pch", 10),          // a prefix header, not a build product
      f.File(chromium + "History", 10),
      f.File(chromium + "History-journal", 0),
      f.File(chromium + "Cookies", 10),
      f.File(chromium + "Bookmarks", 10),
      f.File(chromium + "Login Data", 10),
      f.File(chromium + "Preferences", 10),
      f.File(chromium + "Local Storage/leveldb/000003.log", 10),
      f.File("home/.config/chromium/Local State", 10),
      // The database's own write-ahead log, beside it in a cache folder.
      f.File("home/.config/chromium/GPUPersistentCache/GPUCache/J2W3HSVPRRXIOSW2PMUMYVOXMSLIFBC5/cache.db-wal", 10),
      f.File(firefox + "places.sqlite", 10),
      f.File(firefox + "places.sqlite-wal", 295160),  // history not yet in places.sqlite
      f.File(firefox + "cookies.sqlite", 10),
      f.File(firefox + "logins.db", 10),
      f.File(firefox + "key4.db", 10),
      f.File("home/Documents/letter.odt", 10),
      f.File("home/Documents/.~lock.letter.odt#", 10),  // LibreOffice's lock of an open document
      f.File("home/.cache/other-app/data.bin", 10),     // a cache no row names
      f.File("home/go/pkg/mod/example.com/greet@v1.0.0/greet.go", 10),
      f.File("home/.cargo/registry/CACHEDIR.TAG", 10),
      f.File("home/.xsession-errors", 10),
      f.File("home/.emacs.d/auto-save-list/.saves-4242-laptop~", 10),  // what Emacs recovers after a crash
      f.File("home/src/.notes.md.un~", 10),                             // Vim's undo history
      f.File("home/src/#notes.md#", 10),                                // Emacs's unsaved edits
      f.File("home/src/.notes.md.swp", 10),                             // Vim's
      f.File("tmp/fresh.log", 10),   // written two days ago
      f.File("tmp/.X61-lock", 10),   // a running X server's, however old
      f.File("tmp/daemon.pid", 10),
  };
  // Another user's files in the shared temporary folders; only root can
  // give a file away.
  if (::geteuid() == 0)
    for (const char* theirs : {"tmp/theirs.log", "var-tmp/theirs.bin"}) {
      kept.push_back(f.File(theirs, 10));
      ASSERT_EQ(::chown(kept.back().c_str(), testing::kNobody, testing::kNobody), 0);
    }
  const int64_t now = f.clock.NowUtc();
  for (const std::string& p : junk) SetMtime(p, now - 60 * kDay);
  for (const std::string& p : kept) SetMtime(p, now - 60 * kDay);
  SetMtime(f.dir / "tree/tmp/fresh.log", now - 2 * kDay);

  const std::vector<TJunkFileObj> table = home.FirstStartTable();
  for (const TJunkFileObj& t : table) {
    f.list.Append(t);
    if (!t.IsChecked()) continue;
    // Nothing of the first start walks the whole machine.
    EXPECT_FALSE(t.SearchesLocalDrives()) << t.TypName();
    for (const FolderEntry& e : t.Dirs()) EXPECT_TRUE(e.path.starts_with(f.dir / "tree/")) << t.TypName() << e.path;
  }

  f.RunToEnd([](RunControl& r) { r.act10Execute(); });
  const std::string log = f.TestLog();
  for (const std::string& p : junk) EXPECT_NE(log.find("\t" + p + "\r\n"), std::string::npos) << p;
  for (const std::string& p : kept) EXPECT_EQ(log.find("\t" + p + "\r\n"), std::string::npos) << p;
  EXPECT_NE(log.find("found " + std::to_string(junk.size()) + " junk files.\r\n"), std::string::npos) << log;

  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });
  for (const std::string& p : junk) EXPECT_FALSE(f.remover.Exists(p)) << p;
  for (const std::string& p : kept) EXPECT_TRUE(f.remover.Exists(p)) << p;
}

}  // namespace
}  // namespace vorlo
