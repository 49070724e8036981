// Scheduled clean-ups: a systemd user timer that runs
// `vorlo-cli clean --scheduled --yes` every day, week or month, kept by the
// user's own service manager. vorlo-cli's schedule command and the window's
// schedule dialog both set and read it here.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/scheduled_run.h"
#include "core/data_files.h"
#include "platform/program_run.h"

namespace vorlo {

enum class SchedulePeriod { Off, Daily, Weekly, Monthly };

// "off", "daily", "weekly", "monthly": the command's words, and for the
// three periods the timer's calendar event.
std::string_view PeriodWord(SchedulePeriod period);
std::optional<SchedulePeriod> PeriodOfWord(std::string_view word);

inline constexpr std::string_view kServiceUnit = "vorlo-clean.service";
inline constexpr std::string_view kTimerUnit = "vorlo-clean.timer";

// The user's service manager, reached through `systemctl --user`.
class ServiceManager {
 public:
  virtual ~ServiceManager() = default;
  // Runs `systemctl --user` with `args`.
  virtual ProgramRun Systemctl(const std::vector<std::string>& args) = 0;
};

// The real one: systemctl from PATH.
class SystemServiceManager final : public ServiceManager {
 public:
  ProgramRun Systemctl(const std::vector<std::string>& args) override;
};

struct ScheduleSetup {
  ServiceManager& manager;
  std::string unitFolder;  // where the unit files go
  std::string program;     // the vorlo-cli the service runs
  std::string dataDir;     // the run's --data-dir, absolute; empty: the user's data folder
  DataFiles files;         // where the scheduled runs record their outcome
};

// $XDG_CONFIG_HOME/systemd/user (default ~/.config/systemd/user).
std::string UserUnitFolder();
// The vorlo-cli beside the running program: the installed one for an
// installed program, the build's own in a build folder.
std::string CompanionProgram();

struct ScheduleStatus {
  // Why the service manager cannot be used; empty when it answers. Nothing
  // else is filled in then.
  std::string unavailable;
  SchedulePeriod period = SchedulePeriod::Off;  // as the timer file says; Off without one
  bool enabled = false;                         // the service manager has the timer enabled
  std::string nextRun;                          // as the service manager shows them; empty: none
  std::string lastRun;
  std::optional<ScheduledRunOutcome> lastOutcome;
};

ScheduleStatus ReadSchedule(const ScheduleSetup& setup);
// The status as vorlo-cli prints it, a line each: the period, then for a
// schedule the next and last run, then the last run's outcome if recorded.
std::vector<std::string> ScheduleStatusLines(const ScheduleStatus& status, const NumberSeparators& separators);

// Writes the units for `period` and enables the timer, or for Off disables
// it and removes them. Refused, writing nothing, without a service manager.
// When a step fails the unit files are put back as they were. Empty, or
// what went wrong in one line.
std::string SetSchedule(const ScheduleSetup& setup, SchedulePeriod period);

// The unit files' text.
std::string ServiceUnitText(const std::string& program, const std::string& dataDir);
std::string TimerUnitText(SchedulePeriod period);
// A word of an ExecStart= line that systemd reads back as `text` exactly:
// quoted, with C escapes for quotes, backslashes, control characters and
// bytes that are not UTF-8, "%%" for "%" and, in an argument (not in the
// program's path, which systemd does not expand), "$$" for "$". (systemd
// refuses a program path with quotes, backslashes or control characters:
// SetSchedule does not write one.)
std::string UnitQuoted(std::string_view text, bool argument);

}  // namespace vorlo
