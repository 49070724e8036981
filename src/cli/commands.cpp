#include "cli/commands.h"

#include <charconv>
#include <ctime>
#include <optional>

#include "app/schedule.h"
#include "app/system_services.h"
#include "cli/found_list.h"
#include "cli/list_format.h"
#include "cli/run_commands.h"
#include "cli/schedule_command.h"
#include "cli/stored_list.h"
#include "cli/undo_commands.h"
#include "core/default_types.h"
#include "core/description.h"
#include "core/text.h"
#include "core/junk_list_file.h"
#include "core/local_drives.h"
#include "core/version_info.h"
#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/file_ops.h"
#include "platform/locale_info.h"

namespace vorlo::cli {

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;
constexpr int kUsage = 2;

constexpr const char* kUsageText =
    "usage: vorlo-cli list [--data-dir DIR | --file FILE]\n"
    "       vorlo-cli describe N [--data-dir DIR | --file FILE]\n"
    "       vorlo-cli defaults [--recycle-problem]\n"
    "       vorlo-cli export-defaults FILE\n"
    "       vorlo-cli analyze [--data-dir DIR] [--yes]\n"
    "       vorlo-cli found [--data-dir DIR] [-0]\n"
    "       vorlo-cli clean [--data-dir DIR] [--yes] [--scheduled]\n"
    "       vorlo-cli clean --found FILE [-0] [--data-dir DIR] [--yes]\n"
    "       vorlo-cli count N [--data-dir DIR] [--yes]\n"
    "       vorlo-cli runs [--data-dir DIR]\n"
    "       vorlo-cli undo [RUN] [--data-dir DIR] [--yes]\n"
    "       vorlo-cli schedule daily|weekly|monthly|off|status [--data-dir DIR]\n"
    "       vorlo-cli --help | --version\n";

struct Options {
  std::vector<std::string> positional;
  std::optional<std::string> dataDir;
  std::optional<std::string> file;
  std::optional<std::string> found;  // clean --found FILE
  bool recycleProblem = false;
  bool yes = false;
  bool nul = false;  // -0: entries end with a zero byte
  bool scheduled = false;
};

// Parses the options after the command word; nothing on bad usage. An
// option given twice is bad usage: which of two folders was meant is not
// for the program to guess.
std::optional<Options> ParseOptions(const std::vector<std::string>& args) {
  Options o;
  for (size_t i = 1; i < args.size(); ++i) {
    const std::string& a = args[i];
    if ((a == "--data-dir" || a == "--file" || a == "--found") && i + 1 < args.size()) {
      std::optional<std::string>& value = a == "--file" ? o.file : a == "--found" ? o.found : o.dataDir;
      if (value) return std::nullopt;
      value = args[++i];
    } else if (a == "--recycle-problem" || a == "--yes" || a == "-0" || a == "--scheduled") {
      bool& flag = a == "--yes" ? o.yes : a == "-0" ? o.nul : a == "--scheduled" ? o.scheduled : o.recycleProblem;
      if (flag) return std::nullopt;
      flag = true;
    } else if (a.starts_with("-") && a != "-") {
      return std::nullopt;
    } else {
      o.positional.push_back(a);
    }
  }
  if (o.file && o.dataDir) return std::nullopt;
  return o;
}

class Session {
 public:
  Session(std::FILE* out, std::FILE* err) : out_(out), err_(err) {}

  int Fail(const std::string& message) const {
    std::fprintf(err_, "vorlo-cli: %s\n", message.c_str());
    return kFailed;
  }

  void Line(const std::string& text) const { std::fprintf(out_, "%s\n", text.c_str()); }
  void Text(const std::string& text) const { std::fputs(text.c_str(), out_); }

  // The list a command works on: a given list file, or the one Vorlo loads
  // at start from a data folder. Reports a read error and keeps the records
  // read before it.
  std::vector<TJunkFileObj> LoadList(const Options& o, bool& failed) const {
    failed = false;
    if (o.file) {
      JunkListRead read = LoadJTFromFile(*o.file);
      if (read.error) failed = (Fail(*read.error), true);
      return std::move(read.types);
    }
    const DataFiles files(o.dataDir ? *o.dataDir : DataFolder());
    if (o.dataDir && !FolderExists(files.folder)) {
      failed = (Fail("no data folder " + ShownName(files.folder)), true);
      return {};
    }
    // The default table as the runs make it, for this machine's Recycle Bin.
    SystemServices services(files.folder);
    StartupList list = LoadStoredList(files, services.Bins(), err_);
    failed = list.failed;
    return std::move(list.types);
  }

  void PrintList(const std::vector<TJunkFileObj>& types) const {
    for (size_t i = 0; i < types.size(); ++i) Line(std::to_string(i + 1) + ". " + FormatJunkType(types[i]));
  }

 private:
  std::FILE* out_;
  std::FILE* err_;
};

std::optional<size_t> ParseIndex(const std::string& text) {
  size_t n = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return n;
}

std::vector<TJunkFileObj> DefaultTable(bool recycleProblem) {
  std::vector<TJunkFileObj> types;
  AddAllDefaults(types, recycleProblem, SystemDefaultFolders(), DefaultsFor::Chooser);
  return types;
}

int List(const Session& s, const Options& o) {
  bool failed;
  const std::vector<TJunkFileObj> types = s.LoadList(o, failed);
  s.PrintList(types);
  return failed ? kFailed : kDone;
}

int Describe(const Session& s, const Options& o) {
  const std::optional<size_t> n = ParseIndex(o.positional[0]);
  if (!n) return kUsage;
  bool failed;
  const std::vector<TJunkFileObj> types = s.LoadList(o, failed);
  if (*n < 1 || *n > types.size())
    return s.Fail("no junk type " + o.positional[0] + " (the list has " + std::to_string(types.size()) + ")");
  LocalDriveSource drives = SystemLocalDriveSource();
  const DescriptionContext context{drives.NameForAll(), UserDateSeparator()};
  // Names, folders and specifications are shown, never acted on.
  std::vector<DescPiece> pieces = REDisplay(types[*n - 1], context);
  for (DescPiece& piece : pieces) piece.text = ShownName(piece.text);
  std::string text = DescriptionPlainText(pieces);
  std::erase(text, '\r');
  s.Text(text);
  return failed ? kFailed : kDone;
}

// The kept results of the last analysis, one file a line.
int Found(const Options& o, std::FILE* out, std::FILE* err) {
  const DataFiles files(o.dataDir ? *o.dataDir : DataFolder());
  const std::optional<FoundResults> kept = LoadKeptResults(files, err);
  if (!kept) return kFailed;
  const SystemClock clock;
  for (size_t i = 0; i < kept->size(); ++i) {
    if ((*kept)[i].IsDupe()) continue;
    const std::string line = FoundLine(*kept, i, clock, o.nul);
    std::fwrite(line.data(), 1, line.size(), out);
  }
  return std::fflush(out) == 0 ? kDone : kFailed;
}

int Runs(RunKind kind, const Options& o, std::FILE* out, std::FILE* err) {
  RunRequest request{kind, o.dataDir.value_or(""), 0, o.yes, o.found, o.nul, o.scheduled};
  if (kind == RunKind::Count) {
    const std::optional<size_t> n = ParseIndex(o.positional[0]);
    if (!n) return kUsage;
    request.countIndex = *n;
  }
  return RunOnStoredList(request, out, err);
}

int Undo(const Options& o, std::FILE* out, std::FILE* err) {
  UndoRequest request{o.dataDir.value_or(""), 0, o.yes};
  if (!o.positional.empty()) {
    const std::optional<size_t> n = ParseIndex(o.positional[0]);
    if (!n || *n == 0 || *n > UINT32_MAX) return kUsage;
    request.run = static_cast<uint32_t>(*n);
  }
  return UndoRun(request, out, err);
}

// The version line and build line of the about box, the date and time in
// the user's locale.
std::string VersionText() {
  const BuildInfo info = CompiledBuildInfo();
  const auto in = [](const char* format) {
    return [format](const CivilTime& c) {
      std::tm t{};
      t.tm_year = c.year - 1900;
      t.tm_mon = c.month - 1;
      t.tm_mday = c.day;
      t.tm_hour = c.hour;
      t.tm_min = c.minute;
      t.tm_sec = c.second;
      return UserTimeText(format, t);
    };
  };
  return VersionLine(AppTitle, info.VerStr, info.PreRel) + "\n" + BuildLine(info.buildTime, in("%x"), in("%X")) + "\n";
}

int ExportDefaults(const Session& s, const Options& o) {
  try {
    SaveJTToFile(o.positional[0], DefaultTable(false));
  } catch (const std::exception& e) {
    return s.Fail(e.what());
  }
  return kDone;
}

}  // namespace

int Run(const std::vector<std::string>& args, std::FILE* out, std::FILE* err) {
  const std::optional<Options> o = args.empty() ? std::nullopt : ParseOptions(args);
  const std::string command = args.empty() ? "" : args[0];
  const size_t positional = o ? o->positional.size() : 0;
  const Session s(out, err);
  int rc = kUsage;
  if (args.size() == 1 && (command == "--help" || command == "--version")) {
    std::fputs(command == "--help" ? kUsageText : VersionText().c_str(), out);
    rc = kDone;
  } else if (!o) {
  } else if ((o->nul && command != "found" && !(command == "clean" && o->found)) || (o->found && command != "clean") ||
             (o->scheduled && (command != "clean" || o->found))) {
    // Options that no command of this kind takes.
  } else if (command == "list" && positional == 0) {
    rc = List(s, *o);
  } else if (command == "describe" && positional == 1) {
    rc = Describe(s, *o);
  } else if (command == "defaults" && positional == 0 && !o->file && !o->dataDir) {
    s.PrintList(DefaultTable(o->recycleProblem));
    rc = kDone;
  } else if (command == "export-defaults" && positional == 1 && !o->file && !o->dataDir) {
    rc = ExportDefaults(s, *o);
  } else if (command == "found" && positional == 0 && !o->file && !o->yes) {
    rc = Found(*o, out, err);
  } else if ((command == "analyze" || command == "clean") && positional == 0 && !o->file) {
    rc = Runs(command == "clean" ? RunKind::Clean : RunKind::Analyze, *o, out, err);
  } else if (command == "count" && positional == 1 && !o->file) {
    rc = Runs(RunKind::Count, *o, out, err);
  } else if (command == "runs" && positional == 0 && !o->file && !o->yes) {
    rc = ListRuns(o->dataDir.value_or(""), out, err);
  } else if (command == "undo" && positional <= 1 && !o->file) {
    rc = Undo(*o, out, err);
  } else if (command == "schedule" && positional == 1 && !o->file && !o->yes && !o->recycleProblem &&
             (o->positional[0] == "status" || PeriodOfWord(o->positional[0]))) {
    rc = ScheduleCommand(o->positional[0], o->dataDir.value_or(""), out, err);
  }
  if (rc == kUsage) std::fputs(kUsageText, err);
  return rc;
}

}  // namespace vorlo::cli
