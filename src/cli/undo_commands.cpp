#include "cli/undo_commands.h"

#include "app/junk_list.h"
#include "app/run_control.h"
#include "app/system_services.h"
#include "cli/cli_port.h"
#include "core/byte_text.h"
#include "core/main_thread.h"
#include "core/text.h"
#include "platform/end_signals.h"
#include "platform/file_ops.h"
#include "platform/locale_info.h"

namespace vorlo::cli {

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;

// A data folder named on the command line must be there.
bool HasDataFolder(const DataFiles& files, bool named, std::FILE* err) {
  if (!named || FolderExists(files.folder)) return true;
  std::fprintf(err, "vorlo-cli: no data folder %s\n", ShownName(files.folder).c_str());
  return false;
}

std::string LocalText(const Clock& clock, int64_t utc) {
  const LocalDateTime t = clock.ToLocal(utc).value_or(LocalDateTime{});
  return FormatText("%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour, t.minute, t.second);
}

}  // namespace

int ListRuns(const std::string& dataFolder, std::FILE* out, std::FILE* err) {
  SystemServices services(dataFolder);
  if (!HasDataFolder(services.Files(), !dataFolder.empty(), err)) return kFailed;
  const NumberSeparators separators = UserNumberSeparators();
  for (const RunSummary& run : SummarizeRuns(services.UndoSetupNow())) {
    if (run.files == 0) continue;  // removed nothing: nothing to undo
    std::fprintf(out, "%u  %s  %d files, %s removed, %d can be restored\n", run.number,
                 LocalText(services.SystemTime(), run.startUtc).c_str(), run.files,
                 StringForBytes(run.bytes, separators).c_str(), run.restorable);
  }
  return kDone;
}

int UndoRun(const UndoRequest& request, std::FILE* out, std::FILE* err) {
  SystemServices services(request.dataFolder);
  if (!HasDataFolder(services.Files(), !request.dataFolder.empty(), err)) return kFailed;
  QueueExecutor mainThread;
  // Without --yes the question is typed on a terminal, else answered No.
  CliPort port(out, err, request.yes, !request.yes && IsTerminal(stdin) ? stdin : nullptr);
  JunkList list;
  RunControl runs(services.MakeRunSetup(port, list, mainThread));
  bool finished = false;
  runs.finished = [&] { finished = true; };
  runs.notRestored = [out](const UndoFile& file) {
    std::fprintf(out, "not restored: %s: %s\n", ShownName(file.original).c_str(), UndoReason(file).c_str());
  };
  runs.UndoExecute(request.run);
  const RunControl::Outcome& o = runs.LastOutcome();
  if (runs.VeryBusy() == RunState::Idle && !finished) {
    if (o.stopped) std::fprintf(err, "vorlo-cli: nothing was put back (the undo was declined; --yes answers Yes)\n");
    return o.failed || o.stopped ? kFailed : kDone;
  }
  // Ctrl+C, SIGTERM and SIGHUP stop the undo as the stop command does.
  EndSignals interrupts([&mainThread, &runs](int) { mainThread.Post([&runs] { runs.aCleanupExecute(); }); });
  mainThread.RunUntil([&] { return finished; });
  return o.stopped || o.failed || o.errors > 0 ? kFailed : kDone;
}

}  // namespace vorlo::cli
