#include "platform/environment.h"

#include <errno.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "platform/file_ops.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

// Sets or clears variables for one test and puts the old values back.
class EnvGuard {
 public:
  ~EnvGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Apply(it->first, it->second);
  }
  void Set(const std::string& name, std::optional<std::string> value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    Apply(name, value);
  }

 private:
  static void Apply(const std::string& name, const std::optional<std::string>& value) {
    if (value)
      ::setenv(name.c_str(), value->c_str(), 1);
    else
      ::unsetenv(name.c_str());
  }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(Environment, SpecialFoldersFollowXdgAndHome) {
  testing::TempDir home;
  EnvGuard env;
  env.Set("HOME", home.path() + "/");
  env.Set("XDG_CONFIG_HOME", std::nullopt);
  env.Set("XDG_DATA_HOME", "");
  EXPECT_EQ(getWinSpecialFolder(CSIDL_APPDATA), home.path() + "/.config/");
  EXPECT_EQ(getWinSpecialFolder(CSIDL_LOCAL_APPDATA), home.path() + "/.local/share/");
  EXPECT_EQ(DataFolder(), home.path() + "/.local/share/Vorlo/");
  EXPECT_EQ(DataHome(), home.path() + "/.local/share");
  EXPECT_FALSE(FolderExists(home.path() + "/.config")) << "asking never creates";

  env.Set("XDG_CONFIG_HOME", home.path() + "/cfg/");
  env.Set("XDG_DATA_HOME", "relative/data");  // not absolute: ignored
  EXPECT_EQ(getWinSpecialFolder(CSIDL_APPDATA), home.path() + "/cfg/");
  EXPECT_EQ(getWinSpecialFolder(CSIDL_LOCAL_APPDATA), home.path() + "/.local/share/");
  EXPECT_EQ(getWinSpecialFolder(CSIDL_INTERNET_CACHE), "");
  EXPECT_EQ(getWinSpecialFolder(0), "");
  EXPECT_EQ(IECache(), "");
}

TEST(Environment, TemporaryFolders) {
  testing::TempDir dir;  // made before TMPDIR changes
  EnvGuard env;
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
  EnvGuard env;
  env.Set("VORLO_TEST_VARIABLE", std::nullopt);
  EXPECT_EQ(GetEnv("VORLO_TEST_VARIABLE"), "");
  env.Set("VORLO_TEST_VARIABLE", " a b ");
  EXPECT_EQ(GetEnv("VORLO_TEST_VARIABLE"), " a b ");
}

}  // namespace
}  // namespace vorlo
