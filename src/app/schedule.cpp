#include "app/schedule.h"

#include <cerrno>

#include "app/schedule_texts.h"
#include "core/text.h"
#include "platform/environment.h"
#include "platform/file_ops.h"

namespace vorlo {

namespace {

constexpr std::string_view kWords[] = {"off", "daily", "weekly", "monthly"};
constexpr std::string_view kOnCalendar = "OnCalendar=";

// The header both units carry, so that someone who finds them knows where
// they come from and how they go away again.
constexpr std::string_view kUnitHeader =
    "# Vorlo's scheduled clean-up, written by \"vorlo-cli schedule\" or the window's\n"
    "# schedule dialog; \"vorlo-cli schedule off\" removes it.\n"
    "[Unit]\n"
    "Description=Vorlo scheduled clean-up\n"
    "Documentation=man:vorlo-cli(1)\n";

std::string UnitPath(const ScheduleSetup& setup, std::string_view unit) {
  return setup.unitFolder + "/" + std::string(unit);
}

// The first line systemctl wrote on its error stream, or its exit status.
std::string SystemctlError(const ProgramRun& run) {
  if (run.startError != 0) return run.startError == ENOENT ? std::string(texts::kNoSystemctl) : ErrorText(run.startError);
  for (const std::string& line : SplitLines(run.err))
    if (line.find_first_not_of(" \t") != std::string::npos) return line;
  return FormatText(texts::kSystemctlStatus, run.exitCode);
}

// Empty when the user's service manager answers and the units have their
// folder; else the refusal.
std::string WhyUnschedulable(const ScheduleSetup& setup) {
  if (setup.unitFolder.empty()) return std::string(texts::kNoUnitFolder);
  const ProgramRun run = setup.manager.Systemctl({"show", "--property=Version"});
  if (run.Succeeded()) return {};
  return FormatText(texts::kNoServiceManager, SystemctlError(run).c_str());
}

// Runs one systemctl step: empty, or what failed.
std::string Step(ServiceManager& manager, const std::vector<std::string>& args) {
  const ProgramRun run = manager.Systemctl(args);
  if (run.Succeeded()) return {};
  std::string command;
  for (const std::string& a : args) command += (command.empty() ? "" : " ") + a;
  return FormatText(texts::kSystemctlFailed, command.c_str(), SystemctlError(run).c_str());
}

// A unit file as it was before a change, to put back when the change fails.
struct SavedUnit {
  std::string path;
  std::optional<std::string> bytes;  // nothing: there was none

  static SavedUnit Of(const std::string& path) {
    FileRead read = ReadWholeFile(path, 1 << 20);
    return {path, read.error == 0 ? std::optional(std::move(read.bytes)) : std::nullopt};
  }
  void PutBack() const {
    if (bytes)
      (void)WriteFileReplacing(path, *bytes);
    else
      (void)RemoveFile(path);
  }
};

// systemd runs no program whose path holds a quote, a backslash or a
// control character, however it is quoted (its arguments may hold them).
bool RunnableBySystemd(std::string_view path) {
  for (const unsigned char c : path)
    if (c < 0x20 || c == 0x7F || c == '"' || c == '\'' || c == '\\') return false;
  return true;
}

std::string TurnOn(const ScheduleSetup& setup, SchedulePeriod period) {
  if (!RunnableBySystemd(setup.program)) return FormatText(texts::kProgramPathUnsafe, ShownName(setup.program).c_str());
  if (const int e = ProgramFileError(setup.program); e != 0)
    return FormatText(texts::kNoProgram, ShownName(setup.program).c_str(), ErrorText(e).c_str());
  if (const int e = CreateFolderTree(setup.unitFolder); e != 0)
    return FormatText(texts::kUnitNotWritten, ShownName(setup.unitFolder).c_str(), ErrorText(e).c_str());
  const std::string service = UnitPath(setup, kServiceUnit);
  const std::string timer = UnitPath(setup, kTimerUnit);
  const SavedUnit saved[] = {SavedUnit::Of(service), SavedUnit::Of(timer)};
  const bool scheduled = saved[1].bytes.has_value();
  const std::string timerName(kTimerUnit);
  const auto fail = [&](std::string why) {
    // A new timer that the manager took up in part is dropped before its file.
    if (!scheduled) (void)setup.manager.Systemctl({"disable", "--now", timerName});
    for (const SavedUnit& s : saved) s.PutBack();
    (void)setup.manager.Systemctl({"daemon-reload"});
    return why;
  };
  // The timer last: it names the service.
  for (const auto& [path, text] : {std::pair{service, ServiceUnitText(setup.program, setup.dataDir)},
                                   std::pair{timer, TimerUnitText(period)}})
    if (const int e = WriteFileReplacing(path, text); e != 0)
      return fail(FormatText(texts::kUnitNotWritten, ShownName(path).c_str(), ErrorText(e).c_str()));
  std::string why = Step(setup.manager, {"daemon-reload"});
  if (why.empty()) why = Step(setup.manager, {"enable", "--now", timerName});
  // A timer that ran already takes its new period from a restart.
  if (why.empty() && scheduled) why = Step(setup.manager, {"restart", timerName});
  return why.empty() ? why : fail(why);
}

std::string TurnOff(const ScheduleSetup& setup) {
  const std::string service = UnitPath(setup, kServiceUnit);
  const std::string timer = UnitPath(setup, kTimerUnit);
  if (!FileExists(timer) && !FileExists(service)) return {};
  if (FileExists(timer))
    if (std::string why = Step(setup.manager, {"disable", "--now", std::string(kTimerUnit)}); !why.empty()) return why;
  for (const std::string& path : {timer, service})
    if (const int e = RemoveFile(path); e != 0 && e != ENOENT)
      return FormatText(texts::kUnitNotRemoved, ShownName(path).c_str(), ErrorText(e).c_str());
  return Step(setup.manager, {"daemon-reload"});
}

// systemctl show's "n/a" and empty values mean none.
std::string ShownTime(const std::string& value) { return value == "n/a" || value == "0" ? std::string() : value; }

}  // namespace

std::string_view PeriodWord(SchedulePeriod period) { return kWords[static_cast<int>(period)]; }

std::optional<SchedulePeriod> PeriodOfWord(std::string_view word) {
  for (int i = 0; i < 4; ++i)
    if (kWords[i] == word) return static_cast<SchedulePeriod>(i);
  return std::nullopt;
}

ProgramRun SystemServiceManager::Systemctl(const std::vector<std::string>& args) {
  std::vector<std::string> argv{"systemctl", "--user"};
  argv.insert(argv.end(), args.begin(), args.end());
  return RunProgram(argv);
}

std::string UserUnitFolder() {
  const std::string config = ConfigHome();
  return config.empty() ? std::string() : config + "/systemd/user";
}

std::string CompanionProgram() { return ProgramFolder() + "/vorlo-cli"; }

std::string UnitQuoted(std::string_view text, bool argument) {
  std::string quoted = "\"";
  for (const char32_t c : DecodeUtf8(text)) {
    if (c >= 0xDC80 && c <= 0xDCFF) {
      quoted += FormatText("\\x%02x", static_cast<unsigned>(c - 0xDC00));  // a byte that is not UTF-8
    } else if (c < 0x20 || c == 0x7F) {
      quoted += FormatText("\\x%02x", static_cast<unsigned>(c));
    } else if (c == '"' || c == '\\') {
      quoted += '\\';
      quoted += static_cast<char>(c);
    } else if (c == '%') {
      quoted += "%%";
    } else if (c == '$' && argument) {
      quoted += "$$";
    } else {
      AppendUtf8(c, quoted);
    }
  }
  return quoted + "\"";
}

std::string ServiceUnitText(const std::string& program, const std::string& dataDir) {
  std::string exec = "ExecStart=" + UnitQuoted(program, false) + " clean --scheduled --yes";
  if (!dataDir.empty()) exec += " --data-dir " + UnitQuoted(dataDir, true);
  // Lowest processor and disk priority: a run never slows the desktop.
  return std::string(kUnitHeader) +
         "\n"
         "[Service]\n"
         "Type=oneshot\n" +
         exec +
         "\n"
         "Nice=19\n"
         "IOSchedulingClass=idle\n";
}

std::string TimerUnitText(SchedulePeriod period) {
  // Persistent: a run missed while the computer was off happens at the next
  // start; the delay spreads the runs of many machines and keeps a run off
  // the busy first minutes of a session.
  return std::string(kUnitHeader) +
         "\n"
         "[Timer]\n" +
         std::string(kOnCalendar) + std::string(PeriodWord(period)) +
         "\n"
         "Persistent=true\n"
         "RandomizedDelaySec=5min\n"
         "\n"
         "[Install]\n"
         "WantedBy=timers.target\n";
}

ScheduleStatus ReadSchedule(const ScheduleSetup& setup) {
  ScheduleStatus status;
  status.unavailable = WhyUnschedulable(setup);
  if (!status.unavailable.empty()) return status;
  status.lastOutcome = LastScheduledRun(setup.files);
  const FileRead timer = ReadWholeFile(UnitPath(setup, kTimerUnit), 1 << 20);
  if (timer.error != 0) return status;
  for (const std::string& line : SplitLines(timer.bytes))
    if (line.starts_with(kOnCalendar))
      if (const auto period = PeriodOfWord(std::string_view(line).substr(kOnCalendar.size())))
        status.period = *period;
  if (status.period == SchedulePeriod::Off) return status;
  const ProgramRun shown = setup.manager.Systemctl(
      {"show", std::string(kTimerUnit), "--property=UnitFileState,NextElapseUSecRealtime,LastTriggerUSec"});
  for (const std::string& line : SplitLines(shown.out)) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string key = line.substr(0, equals);
    const std::string value = line.substr(equals + 1);
    if (key == "UnitFileState") status.enabled = value == "enabled";
    if (key == "NextElapseUSecRealtime") status.nextRun = ShownTime(value);
    if (key == "LastTriggerUSec") status.lastRun = ShownTime(value);
  }
  return status;
}

std::vector<std::string> ScheduleStatusLines(const ScheduleStatus& status, const NumberSeparators& separators) {
  if (!status.unavailable.empty()) return {status.unavailable};
  std::vector<std::string> lines;
  if (status.period == SchedulePeriod::Off) {
    lines.push_back(FormatText(texts::kScheduleIs, std::string(texts::kScheduleOff).c_str()));
  } else {
    std::string period(PeriodWord(status.period));
    if (!status.enabled) period += texts::kNotEnabled;
    lines.push_back(FormatText(texts::kScheduleIs, period.c_str()));
    lines.push_back(
        FormatText(texts::kNextRun, (status.nextRun.empty() ? std::string(texts::kNoNextRun) : status.nextRun).c_str()));
    lines.push_back(
        FormatText(texts::kLastRun, (status.lastRun.empty() ? std::string(texts::kNeverRun) : status.lastRun).c_str()));
  }
  if (status.lastOutcome)
    lines.push_back(FormatText(texts::kLastOutcome, ScheduledRunText(*status.lastOutcome, separators).c_str()));
  return lines;
}

std::string SetSchedule(const ScheduleSetup& setup, SchedulePeriod period) {
  if (std::string why = WhyUnschedulable(setup); !why.empty()) return why;
  return period == SchedulePeriod::Off ? TurnOff(setup) : TurnOn(setup, period);
}

}  // namespace vorlo
