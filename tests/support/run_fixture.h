// A run control on a temporary tree, with a scripted port, a file remover
// whose operations can be made to fail, fixed stamps and an injected bin.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <set>

#include "app/file_remover.h"
#include "app/junk_list.h"
#include "app/run_control.h"
#include "core/local_drives.h"
#include "core/main_thread.h"
#include "core/recycle_bin.h"
#include "platform/clock.h"
#include "support/fake_port.h"
#include "support/temp_dir.h"

namespace vorlo::testing {

class UtcClock final : public Clock {
 public:
  int64_t NowUtc() const override { return 1765000000; }
  std::optional<LocalDateTime> ToLocal(int64_t t) const override {
    if (onToLocal) onToLocal();
    const time_t tt = static_cast<time_t>(t);
    tm u{};
    gmtime_r(&tt, &u);
    return LocalDateTime{u.tm_year + 1900, u.tm_mon + 1, u.tm_mday, u.tm_hour, u.tm_min, u.tm_sec};
  }
  std::function<void()> onToLocal;  // runs on the calling (scan) thread
};

// Real file operations on the tree, with failures on demand. "Trash" and
// "holding" are folders of the tree.
class FakeRemover final : public FileRemover {
 public:
  explicit FakeRemover(std::string bin) : bin_(std::move(bin)) { std::filesystem::create_directories(bin_); }

  // For the tests' own checks; a run never asks.
  bool Exists(const std::string& path) const {
    struct stat st;
    return ::lstat(path.c_str(), &st) == 0;
  }
  RemovalResult Delete(const FoundFile& file) override {
    const std::string path(file.path);
    if (onRemove) onRemove(path);
    if (locked.count(path)) return {EACCES};
    if (const auto it = failing.find(path); it != failing.end()) return {it->second};
    return {::unlink(path.c_str()) == 0 ? 0 : errno};
  }
  RemovalResult MoveToHolding(const FoundFile& file) override { return Move(std::string(file.path)); }
  std::vector<RemovalResult> SendToTrash(const std::vector<TrashItem>& items, const TrashResultHook& onResult) override {
    std::vector<std::string> paths;
    for (const TrashItem& item : items) paths.push_back(item.path);
    {
      const std::lock_guard lock(mutex_);
      sends.push_back(paths);
    }
    std::vector<RemovalResult> results;
    for (const std::string& p : paths) {
      results.push_back(Move(p));
      if (onResult && !onResult(results.size() - 1, results.back(), TrashPlace{})) break;
    }
    results.resize(paths.size(), RemovalResult{ECANCELED});
    return results;
  }

  std::set<std::string> locked;
  std::map<std::string, int> failing;  // path -> the error its removal meets
  std::vector<std::vector<std::string>> sends;
  std::function<void(const std::string&)> onRemove;

 private:
  RemovalResult Move(const std::string& path) {
    if (onRemove) onRemove(path);
    if (locked.count(path)) return {EBUSY};
    if (const auto it = failing.find(path); it != failing.end()) return {it->second};
    const std::string target = bin_ + "/" + std::to_string(++moved_);
    return {::rename(path.c_str(), target.c_str()) == 0 ? 0 : errno};
  }
  std::string bin_;
  int moved_ = 0;
  std::mutex mutex_;
};

class RunFixture {
 public:
  RunFixture()
      : remover(dir / "bin"),
        drives([] { return std::string(); }, [](const MountEntry&) { return false; }),
        bins([this] { return binSettings; }, [this](const std::string&) { return driveSize; }) {
    std::filesystem::create_directories(dir / "data");
    std::filesystem::create_directories(dir / "tree");
  }

  RunControl& Runs() {
    if (!runs) {
      runs = std::make_unique<RunControl>(RunSetup{
          .port = port,
          .list = list,
          .mainThread = mainThread,
          .clock = clock,
          .drives = drives,
          .bins = bins,
          .remover = realRemover ? *realRemover : remover,
          .separators = {",", "."},
          .files = DataFiles(dir / "data/"),
          .programFolder = dir / "program",
          .skipFolders = {},
          .dateTimeStamp = [] { return std::string("DATE  TIME"); },
          .timeStamp = [] { return std::string("TIME"); },
          .undoSetup = undoSetup,
          .dateTimeAt = [](int64_t utc) { return "START " + std::to_string(utc); },
      });
      runs->finished = [this] { finished = true; };
    }
    return *runs;
  }

  // Runs a command and the main thread until the run or count has ended.
  void RunToEnd(const std::function<void(RunControl&)>& command) {
    finished = false;
    command(Runs());
    // Idle and not finished: the run was refused and never started.
    if (Runs().VeryBusy() != RunState::Idle) mainThread.RunUntil([this] { return finished; });
  }

  // A folder type over tree/<folder> with the given method and specs.
  TJunkFileObj FolderType(const std::string& name, CleanupMethod method, const std::string& folder,
                          SpecList deletes = {"*.tmp"}, SpecList prots = {}) {
    return TJunkFileObj(name, true, method, FolderList{{dir / ("tree/" + folder), FolderRule::pFolAndSub}}, deletes,
                        prots, {}, {}, {});
  }

  std::string File(const std::string& relative, size_t bytes = 0) {
    return dir.Write("tree/" + relative, std::string(bytes, 'x'));
  }

  std::string Log() const { return ReadFile(dir / "data/Vorlo.LOG.TXT"); }
  std::string TestLog() const { return ReadFile(dir / "data/Vorlo.TEST.TXT"); }
  const std::string& LastText() const { return port.messages.back().text; }

  TempDir dir;
  FakePort port;
  JunkList list;
  QueueExecutor mainThread;
  UtcClock clock;
  FakeRemover remover;
  FileRemover* realRemover = nullptr;  // used instead of `remover` when set
  std::function<UndoSetup()> undoSetup;  // none: nothing to undo
  LocalDriveSource drives;
  std::vector<TrashDriveSettings> binSettings;
  int64_t driveSize = 0;
  RecycleBinCheck bins;
  std::unique_ptr<RunControl> runs;
  bool finished = false;
};

}  // namespace vorlo::testing
