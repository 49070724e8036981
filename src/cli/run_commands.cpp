#include "cli/run_commands.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

#include "app/junk_list.h"
#include "app/run_control.h"
#include "app/system_services.h"
#include "cli/cli_port.h"
#include "cli/found_list.h"
#include "cli/stored_list.h"
#include "core/main_thread.h"
#include "core/text.h"
#include "platform/end_signals.h"
#include "platform/file_ops.h"

namespace vorlo::cli {

namespace {

constexpr int kDone = 0;
constexpr int kFailed = 1;

// One line on a terminal's error stream, redrawn from the sampled progress
// about five times a second and erased at the end. A ticker thread only
// posts the redraw; the run's state is read on the main thread.
class ProgressLine {
 public:
  ProgressLine(std::FILE* err, CliPort& port, MainThreadExecutor& mainThread, RunControl& runs, const JunkList& list)
      : err_(err), port_(port), runs_(runs), list_(list) {
    for (size_t i = 0; i < list.size(); ++i) checked_ += list[i].checked ? 1 : 0;
    Draw();  // at once: a short run shows its line too
    ticker_ = std::thread([this, &mainThread] {
      std::unique_lock lock(mutex_);
      while (!stop_.wait_for(lock, std::chrono::milliseconds(200), [this] { return stopping_; }))
        mainThread.Post([this] { Draw(); });
    });
  }
  ~ProgressLine() {
    {
      const std::lock_guard lock(mutex_);
      stopping_ = true;
    }
    stop_.notify_one();
    ticker_.join();
    port_.ClearLine();
  }
  // Posted redraws still queued after the end must not draw again.
  void End() { ended_ = true; }

 private:
  void Draw() {
    const int32_t row = runs_.CleanIdx();
    if (ended_ || runs_.VeryBusy() != RunState::Running || row < 0 || static_cast<size_t>(row) >= list_.size()) return;
    std::fprintf(err_, "\r\033[Ktype %d of %d: %s, %d files found, %lld folders searched", runs_.TypesStarted(),
                 checked_, ShownName(list_[static_cast<size_t>(row)].caption).c_str(), runs_.CleanCountOneNow(),
                 static_cast<long long>(runs_.Progress().FoldersSearched()));
    std::fflush(err_);
    port_.lineShown = true;
  }

  std::FILE* err_;
  CliPort& port_;
  RunControl& runs_;
  const JunkList& list_;
  int checked_ = 0;
  bool ended_ = false;
  std::mutex mutex_;
  std::condition_variable stop_;
  bool stopping_ = false;
  std::thread ticker_;
};

}  // namespace

int RunOnStoredList(const RunRequest& request, std::FILE* out, std::FILE* err) {
  SystemServices services(request.dataFolder);
  const DataFiles& files = services.Files();
  // The user's own folder is made as the window's first start makes it; a
  // folder named on the command line must be there already.
  if (request.dataFolder.empty() && !files.folder.empty()) {
    if (const int e = CreateFolderTree(files.folder); e != 0) {
      std::fprintf(err, "vorlo-cli: cannot create the data folder %s: %s\n", ShownName(files.folder).c_str(),
                   ErrorText(e).c_str());
      return kFailed;
    }
  }
  if (files.folder.empty() || !FolderExists(files.folder)) {
    std::fprintf(err, "vorlo-cli: no data folder %s\n", ShownName(files.folder).c_str());
    return kFailed;
  }
  // The list Vorlo loads at start; a bad data file is not run at all.
  StartupList stored = LoadStoredList(files, services.Bins(), err);
  if (stored.failed) return kFailed;
  JunkList list;
  for (TJunkFileObj& t : stored.types) list.Append(std::move(t));
  if (request.kind == RunKind::Count && (request.countIndex < 1 || request.countIndex > list.size())) {
    std::fprintf(err, "vorlo-cli: no junk type %zu (the list has %zu)\n", request.countIndex, list.size());
    return kFailed;
  }

  // clean --found: the listed files of the kept results, and no others.
  std::optional<FoundResults> listed;
  bool unlisted = false;
  if (request.found) {
    listed = SelectListedFiles(files, *request.found, request.nul, services.SystemTime(), err, &unlisted);
    if (!listed) return kFailed;
  }

  QueueExecutor mainThread;
  CliPort port(out, err, request.yes);
  RunControl runs(services.MakeRunSetup(port, list, mainThread));
  bool finished = false;
  runs.finished = [&] { finished = true; };
  const int countRow = static_cast<int>(request.countIndex) - 1;
  const auto command = [&] {
    switch (request.kind) {
      case RunKind::Analyze: runs.act10Execute(); break;
      case RunKind::Clean:
        if (listed && runs.VeryBusy() == RunState::Idle)
          (void)runs.CleanUpFound(std::move(*listed));
        else
          runs.aCleanupExecute();
        break;
      case RunKind::Count: runs.aCountExecute(countRow); break;
    }
  };

  // Ctrl+C, SIGTERM and SIGHUP stop the run: the same command stops what it started.
  EndSignals interrupts([&mainThread, &command](int) { mainThread.Post(command); });
  command();
  if (runs.VeryBusy() == RunState::Idle && !finished) {
    // A refused run has said why already.
    if (!runs.LastOutcome().failed)
      std::fprintf(err, "vorlo-cli: nothing was run (no junk type is checked, or the run was declined)\n");
    return kFailed;
  }
  {
    std::optional<ProgressLine> progress;
    if (request.kind != RunKind::Count && IsTerminal(err)) progress.emplace(err, port, mainThread, runs, list);
    mainThread.RunUntil([&] { return finished; });
    if (progress) progress->End();
  }
  const RunControl::Outcome& o = runs.LastOutcome();
  return o.stopped || o.failed || o.errors > 0 || unlisted ? kFailed : kDone;
}

}  // namespace vorlo::cli
