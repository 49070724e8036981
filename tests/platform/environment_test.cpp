#include "platform/environment.h"

#include <errno.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "support/env_guard.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

TEST(Environment, SpecialFoldersFollowXdgAndHome) {
  testing::TempDir home;
  testing::EnvGuard env;
  env.Set("HOME", home.path() + "/");
  env.Set("XDG_CONFIG_HOME", std::nullopt);
  env.Set("XDG_DATA_HOME", "");
  env.Set("XDG_CACHE_HOME", std::nullopt);
  EXPECT_EQ(getWinSpecialFolder(CSIDL_APPDATA), home.path() + "/.config/");
  EXPECT_EQ(getWinSpecialFolder(CSIDL_LOCAL_APPDATA), home.path() + "/.local/share/");
  EXPECT_EQ(DataFolder(), home.path() + "/.local/share/Vorlo/");
  EXPECT_EQ(DataHome(), home.path() + "/.local/share");
  EXPECT_EQ(CacheHome(), home.path() + "/.cache");
  EXPECT_FALSE(FolderExists(home.path() + "/.config")) << "asking never creates";

  env.Set("XDG_CONFIG_HOME", home.path() + "/cfg/");
  env.Set("XDG_DATA_HOME", "relative/data");  // not absolute: ignored
  env.Set("XDG_CACHE_HOME", home.path() + "/c/");
  EXPECT_EQ(CacheHome(), home.path() + "/c");
  EXPECT_EQ(getWinSpecialFolder(CSIDL_APPDATA), home.path() + "/cfg/");
  EXPECT_EQ(getWinSpecialFolder(CSIDL_LOCAL_APPDATA), home.path() + "/.local/share/");
  EXPECT_EQ(getWinSpecialFolder(CSIDL_INTERNET_CACHE), "");
  EXPECT_EQ(getWinSpecialFolder(0), "");
  EXPECT_EQ(IECache(), "");
}

TEST(Environment, TemporaryFolders) {
  testing::TempDir dir;  // made before TMPDIR changes
  testing::EnvGuard env;
  const struct {
    std::optional<std::string> tmpdir;
    std::string tempDir;
    std::string systemTemp;
  } cases[] = {
      {dir.path(), dir.path(), dir.path() + "/"},
      {dir.path() + "/", dir.path() + "/", dir.path() + "/"},
      {dir.path() + "/missing", dir.path() + "/missing", "/tmp/"},
      {"", "", "/tmp/"},
      {std::nullopt, "", "/tmp/"},
  };
  for (const auto& c : cases) {
    env.Set("TMPDIR", c.tmpdir);
    EXPECT_EQ(GetTempDir(), c.tempDir) << c.tmpdir.value_or("(unset)");
    EXPECT_EQ(SystemTempPath(), c.systemTemp) << c.tmpdir.value_or("(unset)");
  }
}

TEST(Environment, ProgramFolderHoldsThisProgram) {
  const std::string folder = ProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder[0], '/');
  EXPECT_NE(folder.back(), '/');
  EXPECT_TRUE(FileExists(folder + "/" + program_invocation_short_name));
}

TEST(Environment, GetEnvIsEmptyWhenUnset) {
  testing::EnvGuard env;
  env.Set("VORLO_TEST_VARIABLE", std::nullopt);
  EXPECT_EQ(GetEnv("VORLO_TEST_VARIABLE"), "");
  env.Set("VORLO_TEST_VARIABLE", " a b ");
  EXPECT_EQ(GetEnv("VORLO_TEST_VARIABLE"), " a b ");
}

}  // namespace
}  // namespace vorlo
