// A temporary home for vorlo-cli: HOME and the XDG folders in it, a data
// folder, and the stored list a run takes.
#pragma once

#include <gtest/gtest.h>
#include <fcntl.h>
#include <spawn.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/junk_list_file.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

extern char** environ;

namespace vorlo::testing {

class CliHome : public ::testing::Test {
 protected:
  CliHome() { std::filesystem::create_directories(DataFolder()); }

  std::string DataFolder() const { return home_ / "data/Vorlo"; }
  std::vector<std::string> Env() const {
    return {"HOME=" + home_.path(), "XDG_DATA_HOME=" + home_ / "data", "XDG_CONFIG_HOME=" + home_ / "config",
            "XDG_CACHE_HOME=" + home_ / "cache"};
  }
  CommandResult Run(std::vector<std::string> args, bool cli = true) {
    if (cli) args.insert(args.begin(), VORLO_CLI_PATH);
    return testing::RunCommand(args, Env());
  }
  static TJunkFileObj Type(const std::string& name, CleanupMethod method, const std::string& folder) {
    return TJunkFileObj(name, true, method, FolderList{{folder, FolderRule::pFolAndSub}}, {"*.tmp"}, {}, {}, {}, {});
  }
  // Starts vorlo-cli with `args`, its output to the file `out`, errors
  // dropped; the child's pid, or -1.
  pid_t Spawn(std::vector<std::string> args, const std::string& out) const {
    std::vector<std::string> envStrings = Env();
    for (char** e = environ; *e != nullptr; ++e) envStrings.emplace_back(*e);
    std::vector<char*> envp, argv;
    for (std::string& e : envStrings) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string cli = VORLO_CLI_PATH;
    argv.push_back(cli.data());
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = -1;
    if (posix_spawn(&pid, cli.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    return pid;
  }
  void Store(const std::vector<TJunkFileObj>& types) { SaveJTToFile(DataFolder() + "/Vorlo.DAT", types); }

  TempDir home_;
};

}  // namespace vorlo::testing
