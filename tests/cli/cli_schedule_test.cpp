// vorlo-cli schedule against a stand-in systemctl on PATH that records its
// calls and answers as systemctl does, and without a service manager: no
// systemctl at all, or the real one with no bus to reach.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "core/junk_list_file.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using testing::CommandResult;
using testing::ReadFile;
using testing::TempDir;
namespace fs = std::filesystem;

// Like systemctl, enabling a timer needs its unit file in the user's unit
// folder.
constexpr const char* kFakeSystemctl = R"(#!/bin/sh
state="$FAKE_SYSTEMCTL_STATE"
printf '%s\n' "$*" >> "$state/calls"
[ "$1" = --user ] || { echo "not --user: $*" >&2; exit 64; }
shift
units="$XDG_CONFIG_HOME/systemd/user"
case "$1" in
  show)
    if [ "$2" = --property=Version ]; then echo Version=252; exit 0; fi
    if [ -e "$state/enabled" ]; then echo UnitFileState=enabled; else echo UnitFileState=disabled; fi
    echo "NextElapseUSecRealtime=Mon 2030-01-07 00:03:00 UTC"
    echo "LastTriggerUSec=n/a"
    exit 0 ;;
  enable)
    [ -f "$units/$3" ] || { echo "Failed to enable unit: Unit file $3 does not exist." >&2; exit 1; }
    [ -e "$state/fail-enable" ] && { echo "Failed to enable unit: Access denied" >&2; exit 1; }
    touch "$state/enabled" ;;
  disable) rm -f "$state/enabled" ;;
esac
exit 0
)";

class CliSchedule : public ::testing::Test {
 protected:
  CliSchedule() {
    fs::create_directories(home_ / "state");
    fs::create_directories(home_ / "data");
    const std::string fake = home_.Write("bin/systemctl", kFakeSystemctl);
    ::chmod(fake.c_str(), 0755);
  }

  std::string Units() const { return home_ / "config/systemd/user"; }
  std::vector<std::string> Env(const std::string& path) const {
    return {"HOME=" + home_.path(),           "XDG_DATA_HOME=" + home_ / "data", "XDG_CONFIG_HOME=" + home_ / "config",
            "FAKE_SYSTEMCTL_STATE=" + home_ / "state", "PATH=" + path,            "LC_ALL=C"};
  }
  // vorlo-cli from `folder`, with the stand-in systemctl first on PATH.
  CommandResult Run(const std::vector<std::string>& args, const std::string& folder = "/") {
    std::vector<std::string> argv{"sh", "-c", "cd \"$0\" && exec \"$@\"", folder, VORLO_CLI_PATH};
    argv.insert(argv.end(), args.begin(), args.end());
    return testing::RunCommand(argv, Env(home_ / "bin:/usr/bin:/bin"));
  }
  std::vector<std::string> Calls() {
    std::vector<std::string> steps;
    std::ifstream in(home_ / "state/calls");
    for (std::string line; std::getline(in, line);)
      if (line != "--user show --property=Version" && !line.starts_with("--user show vorlo-clean.timer"))
        steps.push_back(line);
    fs::remove(home_ / "state/calls");
    return steps;
  }

  TempDir home_;
};

using Steps = std::vector<std::string>;

TEST_F(CliSchedule, OnStatusChangeAndOff) {
  const CommandResult off = Run({"schedule", "status"});
  EXPECT_EQ(off.exitCode, 0) << off.err;
  EXPECT_EQ(off.out, "Schedule: off\n");

  // A relative data folder is scheduled by its absolute path; the service
  // runs this very vorlo-cli.
  fs::create_directories(home_ / "work/my data");
  const CommandResult weekly = Run({"schedule", "weekly", "--data-dir", "my data"}, home_ / "work");
  ASSERT_EQ(weekly.exitCode, 0) << weekly.err;
  EXPECT_EQ(weekly.err, "");
  EXPECT_EQ(weekly.out, "Schedule: weekly\nNext run: Mon 2030-01-07 00:03:00 UTC\nLast run: never\n");
  EXPECT_EQ(Calls(), (Steps{"--user daemon-reload", "--user enable --now vorlo-clean.timer"}));
  const std::string exec = "\nExecStart=\"" + fs::canonical(VORLO_CLI_PATH).string() +
                           "\" clean --scheduled --yes --data-dir \"" + home_ / "work/my data" + "\"\n";
  EXPECT_NE(ReadFile(Units() + "/vorlo-clean.service").find(exec), std::string::npos)
      << ReadFile(Units() + "/vorlo-clean.service");
  EXPECT_NE(ReadFile(Units() + "/vorlo-clean.timer").find("\nOnCalendar=weekly\n"), std::string::npos);

  // The last run's outcome comes from the data folder the status is asked for.
  home_.Write("work/my data/Vorlo.scheduled.txt", "files=3\nbytes=512\nerrors=1\nskipped=\n");
  const CommandResult daily = Run({"schedule", "daily", "--data-dir", home_ / "work/my data"});
  ASSERT_EQ(daily.exitCode, 0) << daily.err;
  EXPECT_EQ(daily.out,
            "Schedule: daily\nNext run: Mon 2030-01-07 00:03:00 UTC\nLast run: never\n"
            "Last outcome: Removed 3 files (512 bytes). 1 file could not be removed: see the log.\n");
  EXPECT_EQ(Calls(), (Steps{"--user daemon-reload", "--user enable --now vorlo-clean.timer",
                            "--user restart vorlo-clean.timer"}));

  const CommandResult stopped = Run({"schedule", "off"});
  ASSERT_EQ(stopped.exitCode, 0) << stopped.err;
  EXPECT_EQ(stopped.out, "Schedule: off\n");
  EXPECT_EQ(Calls(), (Steps{"--user disable --now vorlo-clean.timer", "--user daemon-reload"}));
  EXPECT_TRUE(fs::is_empty(Units()));

  // A refused enable leaves no unit behind.
  home_.Write("state/fail-enable");
  const CommandResult refused = Run({"schedule", "monthly"});
  EXPECT_EQ(refused.exitCode, 1);
  EXPECT_EQ(refused.err, "vorlo-cli: systemctl --user enable --now vorlo-clean.timer failed: Failed to enable unit: "
                         "Access denied\n");
  EXPECT_TRUE(fs::is_empty(Units()));
}

// Without a user service manager each schedule command says so in one line,
// exits 1 and writes nothing.
TEST_F(CliSchedule, WithoutAServiceManagerNothingIsWritten) {
  TempDir runtime;  // an empty runtime folder: no bus, no manager
  const struct {
    const char* name;
    std::string path;
    const char* reason;
  } managers[] = {
      {"no systemctl", home_ / "nowhere", "systemctl was not found"},
      {"no bus", "/usr/bin:/bin", "Failed to connect to bus"},
  };
  for (const auto& m : managers) {
    if (std::string(m.name) == "no bus" && !fs::exists("/usr/bin/systemctl")) continue;
    for (const char* word : {"weekly", "off", "status"}) {
      SCOPED_TRACE(std::string(m.name) + ", " + word);
      // The real systemctl finds no bus of the session it could reach.
      std::vector<std::string> argv{"/usr/bin/env", "-u", "DBUS_SESSION_BUS_ADDRESS", VORLO_CLI_PATH, "schedule", word};
      std::vector<std::string> env = Env(m.path);
      env.push_back("XDG_RUNTIME_DIR=" + runtime.path());
      const CommandResult r = testing::RunCommand(argv, env);
      EXPECT_EQ(r.exitCode, 1);
      EXPECT_EQ(r.out, "");
      EXPECT_EQ(std::count(r.err.begin(), r.err.end(), '\n'), 1) << r.err;
      EXPECT_TRUE(r.err.starts_with("vorlo-cli: Vorlo cannot schedule clean-ups here: the user's service manager "
                                    "(systemctl --user) is not available: "))
          << r.err;
      EXPECT_NE(r.err.find(m.reason), std::string::npos) << r.err;
      EXPECT_FALSE(fs::exists(home_ / "config/systemd")) << r.err;
    }
  }
}

TEST_F(CliSchedule, BadUsage) {
  const std::vector<std::string> cases[] = {
      {"schedule"},
      {"schedule", "hourly"},
      {"schedule", "weekly", "daily"},
      {"schedule", "weekly", "--yes"},
      {"schedule", "weekly", "--file", "x"},
      {"schedule", "status", "--scheduled"},
      {"analyze", "--scheduled"},
      {"list", "--scheduled"},
      {"clean", "--scheduled", "--scheduled"},
  };
  for (const auto& args : cases) {
    const CommandResult r = Run(args);
    EXPECT_EQ(r.exitCode, 2) << args.back() << " " << r.err;
    EXPECT_NE(r.err.find("vorlo-cli schedule daily|weekly|monthly|off|status [--data-dir DIR]"), std::string::npos);
  }
  EXPECT_EQ(Run({"schedule", "weekly", "--data-dir", home_ / "missing"}).exitCode, 1);
  EXPECT_FALSE(fs::exists(home_ / "state/calls"));  // nothing was asked of the service manager
}

// For now a scheduled clean-up is an ordinary one over the stored list.
TEST_F(CliSchedule, CleanTakesScheduled) {
  const std::string junk = home_.Write("tree/a.tmp", "1234");
  fs::create_directories(home_ / "data/Vorlo");
  SaveJTToFile(home_ / "data/Vorlo/Vorlo.DAT",
               {TJunkFileObj("Tree", true, CleanupMethod::cuDelete, FolderList{{home_ / "tree", FolderRule::pFolAndSub}},
                             {"*.tmp"}, {}, {}, {}, {})});
  const CommandResult r = Run({"clean", "--scheduled", "--yes"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_FALSE(fs::exists(junk));
  EXPECT_FALSE(fs::exists(home_ / "state/calls"));
}

}  // namespace
}  // namespace vorlo
