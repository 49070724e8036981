#include <gtest/gtest.h>
#include <sys/time.h>

#include <algorithm>

#include "core/default_types.h"
#include "support/env_guard.h"
#include "support/run_fixture.h"

namespace vorlo {
namespace {

using testing::RunFixture;

// Sets a file's last write time, in seconds since 1970 UTC.
void SetMtime(const std::string& path, int64_t t) {
  const timeval times[2] = {{static_cast<time_t>(t), 0}, {static_cast<time_t>(t), 0}};
  ASSERT_EQ(::utimes(path.c_str(), times), 0) << path;
}

TEST(LinuxDefaults, AnalysisFindsEachCacheAndLeavesNearMisses) {
  RunFixture f;
  const std::string home = f.dir / "tree/home";
  const std::string cache = f.dir / "tree/xdg-cache";
  testing::EnvGuard env;
  env.Set("HOME", home);
  env.Set("XDG_CACHE_HOME", cache);
  DefaultFolders folders = SystemDefaultFolders();
  folders.varTmp = f.dir / "tree/var-tmp";  // never the machine's own

  // Only the Linux rows: the others search the whole machine.
  std::vector<TJunkFileObj> table;
  AddAllDefaults(table, false, folders);
  const auto first = std::find_if(table.begin(), table.end(),
                                  [](const TJunkFileObj& t) { return t.TypName() == "Thumbnail cache"; });
  ASSERT_EQ(table.end() - first, 9);
  for (auto it = first; it != table.end(); ++it) f.list.Append(*it);

  const std::vector<std::string> junk = {
      f.File("xdg-cache/thumbnails/large/0f3a.png", 10),
      f.File("xdg-cache/google-chrome/Default/Cache/Cache_Data/f_000001", 10),
      f.File("xdg-cache/chromium/Default/Cache/Cache_Data/data_0", 10),
      f.File("xdg-cache/microsoft-edge/Default/Cache/Cache_Data/data_1", 10),
      f.File("xdg-cache/BraveSoftware/Brave-Browser/Default/Cache/index", 10),
      f.File("xdg-cache/opera/Cache/data_2", 10),
      f.File("xdg-cache/vivaldi/Default/Cache/data_3", 10),
      f.File("xdg-cache/mozilla/firefox/p.default/cache2/entries/A1B2", 10),
      f.File("xdg-cache/thunderbird/p.default/cache2/entries/C3D4", 10),
      f.File("home/snap/firefox/common/.cache/mozilla/firefox/p/cache2/entries/E5", 10),
      f.File("home/.var/app/org.mozilla.firefox/cache/firefox/p/cache2/entries/F6", 10),
      f.File("xdg-cache/pip/http-v2/a/b/c", 10),
      f.File("home/.npm/_cacache/content-v2/sha512/ab/cd", 10),
      f.File("xdg-cache/mesa_shader_cache/index", 10),
      f.File("xdg-cache/nvidia/GLCache/1/2/bin", 10),
      // "*~" takes names without a dot, "*.*~" those with one.
      f.File("home/Makefile~", 10),
      f.File("home/src/notes~", 10),
      f.File("home/src/main.c~", 10),
      f.File("home/letter.txt~", 10),
      f.File("home/.xsession-errors.old", 10),
      f.File("var-tmp/sub/old.bin", 10),
  };
  const std::vector<std::string> kept = {
      f.File("home/.config/google-chrome/Default/Bookmarks", 10),  // a profile, not its cache
      f.File("home/notes~txt", 10),
      f.File("xdg-cache/other-app/data.bin", 10),
      f.File("home/.cache/thumbnails/normal/x.png", 10),  // XDG_CACHE_HOME is the cache folder
      f.File("home/.xsession-errors", 10),
      f.File("home/src/.xsession-errors.old", 10),  // only the home folder's own
      f.File("var-tmp/new.bin", 10),
  };
  const int64_t day = 86400;
  for (const std::string& p : junk) SetMtime(p, f.clock.NowUtc() - 60 * day);
  for (const std::string& p : kept) SetMtime(p, f.clock.NowUtc() - 2 * day);

  f.RunToEnd([](RunControl& r) { r.act10Execute(); });

  const std::string log = f.TestLog();
  for (const std::string& p : junk) EXPECT_NE(log.find("\t" + p + "\r\n"), std::string::npos) << p;
  for (const std::string& p : kept) EXPECT_EQ(log.find("\t" + p + "\r\n"), std::string::npos) << p;
  EXPECT_NE(log.find("Processed 9 junk file types and found 21 junk files.\r\n"), std::string::npos) << log;
  for (const std::string& p : junk) EXPECT_TRUE(f.remover.Exists(p)) << p;  // an analysis removes nothing
}

}  // namespace
}  // namespace vorlo
