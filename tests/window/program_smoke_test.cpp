#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <thread>

#include "support/temp_dir.h"

extern char** environ;

namespace vorlo {
namespace {

// The real program starts offscreen on a temporary home, shows the default
// list and closes cleanly when the session ends it, saving its placement.
TEST(Program, StartsAndClosesCleanly) {
  testing::TempDir home;
  std::vector<std::string> env = {"HOME=" + home.path(), "XDG_DATA_HOME=" + home / "data",
                                  "XDG_CONFIG_HOME=" + home / "config", "QT_QPA_PLATFORM=offscreen"};
  for (char** e = environ; *e != nullptr; ++e)
    if (std::string(*e).rfind("HOME=", 0) != 0 && std::string(*e).rfind("XDG_", 0) != 0) env.emplace_back(*e);
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  std::string program = VORLO_PROGRAM_PATH;
  char* argv[] = {program.data(), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
  EXPECT_NE(testing::ReadFile(home / "data/Vorlo/Vorlo.ini").find("[MainForm Settings]"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(home / "data/Vorlo/Vorlo.DAT"));  // nothing changed, nothing written
}

}  // namespace
}  // namespace vorlo
