// The scheduled clean-up's units, as systemd reads them, and how setting a
// schedule keeps the unit files whole when a step of the service manager
// fails; the status; the notification texts and the run's record.
#include "app/schedule.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "app/scheduled_run.h"
#include "support/fake_service_manager.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using testing::FakeServiceManager;
using testing::ReadFile;
using testing::TempDir;

std::string MakeProgram(const std::string& path) {
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  std::ofstream(path) << "#!/bin/sh\nexit 0\n";
  ::chmod(path.c_str(), 0755);
  return path;
}

struct Units {
  explicit Units(const std::string& root) : folder(root + "/config/systemd/user") {}
  std::string Service() const { return folder + "/vorlo-clean.service"; }
  std::string Timer() const { return folder + "/vorlo-clean.timer"; }
  bool Exist() const { return std::filesystem::exists(Service()) || std::filesystem::exists(Timer()); }
  std::string folder;
};

// systemd-analyze in user mode needs a runtime folder of the user's; the
// test gives it one of its own, and its own config and home folders.
testing::CommandResult Verify(const TempDir& root, const std::vector<std::string>& files) {
  std::filesystem::create_directories(root / "runtime");
  ::chmod((root / "runtime").c_str(), 0700);
  // The man page is not installed beside a build.
  std::vector<std::string> argv{"systemd-analyze", "--user", "verify", "--man=no"};
  argv.insert(argv.end(), files.begin(), files.end());
  return testing::RunCommand(argv, {"XDG_RUNTIME_DIR=" + root / "runtime", "XDG_CONFIG_HOME=" + root / "config",
                                    "HOME=" + root / "home", "SYSTEMD_LOG_COLOR=0"});
}

// The paths hold what systemd's unit syntax treats specially: a space, a
// specifier ("%h" would become the home folder), a "$" and a byte that is
// not UTF-8, and in the data folder also quotes, a backslash and a line
// break. systemd checks that the service's program can be run, so only a
// program path it reads back exactly passes. A program path with a quote is
// refused: systemd runs none.
TEST(Schedule, UnitFilesPassSystemdAnalyzeVerify) {
  TempDir root;
  if (RunProgram({"systemd-analyze", "--version"}).startError != 0)
    GTEST_SKIP() << "systemd-analyze is not installed (Debian package systemd)";
  const std::string canary = root.Write("canary/canary.service", "[Service]\nType=oneshot\nExecStart=/bin/true\n");
  if (const auto r = Verify(root, {canary}); r.exitCode != 0)
    GTEST_SKIP() << "systemd-analyze --user verify cannot run here: " << r.err;

  const std::string program = MakeProgram(root / "50%hot $HOME \xff/vorlo-cli");
  FakeServiceManager manager;
  const Units units(root.path());
  const ScheduleSetup setup{manager, units.folder, program, root / "data 100%h $x \\ \"q\" 'r'\n\xff", DataFiles(root / "data")};
  ASSERT_EQ(SetSchedule(setup, SchedulePeriod::Weekly), "");
  const auto verified = Verify(root, {units.Timer(), units.Service()});
  EXPECT_EQ(verified.exitCode, 0) << verified.err;
  EXPECT_EQ(verified.err.find("vorlo-clean"), std::string::npos) << verified.err;
  const std::string timer = ReadFile(units.Timer());
  for (const char* line : {"\nOnCalendar=weekly\n", "\nPersistent=true\n", "\nRandomizedDelaySec=5min\n",
                           "\nWantedBy=timers.target\n"})
    EXPECT_NE(timer.find(line), std::string::npos) << line;
  const std::string service = ReadFile(units.Service());
  for (const char* line : {"\nNice=19\n", "\nIOSchedulingClass=idle\n", " clean --scheduled --yes --data-dir \""})
    EXPECT_NE(service.find(line), std::string::npos) << line;

  // The same path written as it is does not pass: the check has teeth.
  const std::string raw = root.Write("raw/raw.service", "[Service]\nType=oneshot\nExecStart=" + program + " clean\n");
  EXPECT_NE(Verify(root, {raw}).exitCode, 0);

  const ScheduleSetup quoted{manager, root / "other", MakeProgram(root / "it's/vorlo-cli"), {}, setup.files};
  EXPECT_NE(SetSchedule(quoted, SchedulePeriod::Weekly).find("refuses to run"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(root / "other"));
}

// A schedule is never left half made: when a step fails, both unit files
// are as they were before (none, or the previous schedule's), and the
// reason names the step.
TEST(Schedule, AFailedStepLeavesTheUnitFilesAsTheyWere) {
  const struct {
    const char* name;
    bool scheduledBefore;
    const char* failing;  // a systemctl verb; empty: the manager is missing
    SchedulePeriod to;
    const char* reason;
  } cases[] = {
      {"no manager, new", false, "", SchedulePeriod::Weekly, "is not available: Failed to connect to bus"},
      {"no manager, off", true, "", SchedulePeriod::Off, "is not available: Failed to connect to bus"},
      {"reload, new", false, "daemon-reload", SchedulePeriod::Weekly, "systemctl --user daemon-reload failed"},
      {"enable, new", false, "enable", SchedulePeriod::Daily, "systemctl --user enable --now vorlo-clean.timer failed"},
      {"enable, change", true, "enable", SchedulePeriod::Monthly, "enable --now vorlo-clean.timer failed"},
      {"restart, change", true, "restart", SchedulePeriod::Daily, "systemctl --user restart vorlo-clean.timer failed"},
      {"disable, off", true, "disable", SchedulePeriod::Off, "systemctl --user disable --now vorlo-clean.timer failed"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TempDir root;
    FakeServiceManager manager;
    const Units units(root.path());
    const ScheduleSetup setup{manager, units.folder, MakeProgram(root / "bin/vorlo-cli"), {}, DataFiles(root / "data")};
    std::string service, timer;
    if (c.scheduledBefore) {
      ASSERT_EQ(SetSchedule(setup, SchedulePeriod::Weekly), "");
      service = ReadFile(units.Service());
      timer = ReadFile(units.Timer());
    }
    if (*c.failing)
      manager.failing.insert(c.failing);
    else
      manager.missing = "Failed to connect to bus: No medium found";
    const std::string why = SetSchedule(setup, c.to);
    EXPECT_NE(why.find(c.reason), std::string::npos) << why;
    EXPECT_EQ(why.find('\n'), std::string::npos);
    if (c.scheduledBefore) {
      EXPECT_EQ(ReadFile(units.Service()), service);
      EXPECT_EQ(ReadFile(units.Timer()), timer);
    } else {
      EXPECT_FALSE(units.Exist());
    }
    if (!*c.failing && !c.scheduledBefore) {
      EXPECT_FALSE(std::filesystem::exists(units.folder));  // refused before anything was made
    }
  }
}

TEST(Schedule, OnStatusAndOff) {
  TempDir root;
  FakeServiceManager manager;
  const Units units(root.path());
  const ScheduleSetup setup{manager, units.folder, MakeProgram(root / "bin/vorlo-cli"), {}, DataFiles(root / "data")};
  std::filesystem::create_directories(root / "data");
  const NumberSeparators separators{",", "."};
  const auto lines = [&] { return ScheduleStatusLines(ReadSchedule(setup), separators); };
  using Lines = std::vector<std::string>;

  EXPECT_EQ(lines(), Lines{"Schedule: off"});
  ASSERT_EQ(SetSchedule(setup, SchedulePeriod::Weekly), "");
  EXPECT_EQ(manager.Steps(), (Lines{"daemon-reload", "enable --now vorlo-clean.timer"}));
  EXPECT_EQ(lines(), (Lines{"Schedule: weekly", "Next run: Mon 2030-01-07 00:03:00 UTC", "Last run: never"}));
  // The service runs the program without --data-dir: the user's data folder.
  EXPECT_NE(ReadFile(units.Service()).find("\nExecStart=\"" + root / "bin/vorlo-cli" + "\" clean --scheduled --yes\n"),
            std::string::npos);

  manager.calls.clear();
  ASSERT_EQ(SetSchedule(setup, SchedulePeriod::Monthly), "");
  EXPECT_EQ(manager.Steps(), (Lines{"daemon-reload", "enable --now vorlo-clean.timer", "restart vorlo-clean.timer"}));
  manager.last = "Sun 2030-01-06 00:04:10 UTC";
  ASSERT_EQ(RecordScheduledRun(setup.files, {.files = 1, .bytes = 2048, .errors = 0, .skipped = {}}), 0);
  EXPECT_EQ(lines(), (Lines{"Schedule: monthly", "Next run: Mon 2030-01-07 00:03:00 UTC",
                            "Last run: Sun 2030-01-06 00:04:10 UTC", "Last outcome: Removed 1 file (2,048 bytes)."}));
  manager.enabled = false;  // disabled behind Vorlo's back
  EXPECT_EQ(lines()[0], "Schedule: monthly, but its timer is not enabled");

  manager.calls.clear();
  ASSERT_EQ(SetSchedule(setup, SchedulePeriod::Off), "");
  EXPECT_EQ(manager.Steps(), (Lines{"disable --now vorlo-clean.timer", "daemon-reload"}));
  EXPECT_FALSE(units.Exist());
  EXPECT_EQ(lines(), (Lines{"Schedule: off", "Last outcome: Removed 1 file (2,048 bytes)."}));
  // Off again has nothing to do.
  manager.calls.clear();
  EXPECT_EQ(SetSchedule(setup, SchedulePeriod::Off), "");
  EXPECT_TRUE(manager.Steps().empty());
  // Without a home folder the units have no folder: nothing is written.
  const ScheduleSetup homeless{manager, {}, setup.program, {}, DataFiles()};
  EXPECT_NE(SetSchedule(homeless, SchedulePeriod::Daily).find("the home folder is not known"), std::string::npos);
  EXPECT_NE(ReadSchedule(homeless).unavailable.find("the home folder is not known"), std::string::npos);
  // A program that is not there is not scheduled.
  const ScheduleSetup missing{manager, units.folder, root / "none/vorlo-cli", {}, setup.files};
  EXPECT_NE(SetSchedule(missing, SchedulePeriod::Daily).find("cannot be run"), std::string::npos);
  EXPECT_FALSE(units.Exist());
}

TEST(ScheduledRun, NoticeTextsAndTheRecord) {
  const struct {
    int32_t files;
    const char* bytes;
    int32_t errors;
    const char* body;  // empty: no notification
  } cases[] = {
      {0, "0 bytes", 0, ""},
      {1, "12 bytes", 0, "Removed 1 file (12 bytes)."},
      {120, "3.38 MB", 2, "Removed 120 files (3.38 MB). 2 files could not be removed: see the log."},
      {0, "0 bytes", 1, "Removed 0 files (0 bytes). 1 file could not be removed: see the log."},
  };
  for (const auto& c : cases) {
    const auto notice = ScheduledRunNotice(c.files, c.bytes, c.errors);
    ASSERT_EQ(notice.has_value(), *c.body != '\0') << c.body;
    if (!notice) continue;
    EXPECT_EQ(notice->summary, "Vorlo's scheduled clean-up");
    EXPECT_EQ(notice->body, c.body);
    using Actions = std::vector<std::pair<std::string, std::string>>;
    EXPECT_EQ(notice->actions, (Actions{{"undo", "Undo"}, {"open-log", "Open log"}}));
  }

  TempDir root;
  const DataFiles files(root.path());
  EXPECT_FALSE(LastScheduledRun(files));
  const ScheduledRunOutcome ran{.files = 7, .bytes = int64_t{5} << 40, .errors = 3, .skipped = {}};
  ASSERT_EQ(RecordScheduledRun(files, ran), 0);
  EXPECT_EQ(LastScheduledRun(files), ran);
  ASSERT_EQ(RecordScheduledRun(files, {.skipped = "another run was using\nthe data folder"}), 0);
  EXPECT_EQ(LastScheduledRun(files)->skipped, "another run was using the data folder");
  EXPECT_EQ(ScheduledRunText(*LastScheduledRun(files), {",", "."}), "Skipped: another run was using the data folder");
  root.Write("Vorlo.scheduled.txt", "files=-1\n");
  EXPECT_FALSE(LastScheduledRun(files));
}

}  // namespace
}  // namespace vorlo
