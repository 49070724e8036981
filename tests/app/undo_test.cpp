#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <set>

#include "app/file_remover.h"
#include "app/texts.h"
#include "app/undo_journal.h"
#include "app/undo_run.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "support/child_process.h"
#include "support/deep_tree.h"
#include "support/run_command.h"
#include "support/run_fixture.h"
#include "support/undoable.h"

namespace vorlo {
namespace {

using testing::Chain;
using testing::ReadFile;
using testing::RemoveTreeAt;
using testing::RunFixture;
using testing::Undoable;
using enum CleanupMethod;
using enum FolderRule;
namespace fs = std::filesystem;

using testing::kNobody;

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

TJunkFileObj TypeOver(CleanupMethod m, const std::string& folder) {
  return TJunkFileObj("T", true, m, FolderList{{folder, pFolAndSub}}, {"*.tmp"}, {}, {}, {}, {});
}

void CleanUp(RunFixture& f) {
  f.port.answers = {MsgButton::No};  // the log is not viewed
  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });
}

void Undo(RunFixture& f, uint32_t run = 0) {
  f.port.answers = {MsgButton::Yes, MsgButton::No};  // go ahead; the log is not viewed
  f.RunToEnd([run](RunControl& r) { r.UndoExecute(run); });
}

// A file of any path length, looked at through its folder's descriptor.
class Far {
 public:
  explicit Far(const std::string& path) {
    const size_t slash = path.rfind('/');
    name_ = path.substr(slash + 1);
    std::vector<std::string> parts;
    std::string folder = path.substr(0, slash);
    fd_ = ::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC);
    for (size_t pos = 1; fd_ >= 0 && pos <= folder.size();) {
      const size_t end = std::min(folder.find('/', pos), folder.size());
      const int next = ::openat(fd_, folder.substr(pos, end - pos).c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
      ::close(fd_);
      fd_ = next;
      pos = end + 1;
    }
  }
  ~Far() {
    if (fd_ >= 0) ::close(fd_);
  }
  // A short path to the same file.
  std::string Short() const { return "/proc/self/fd/" + std::to_string(fd_) + "/" + name_; }

 private:
  int fd_ = -1;
  std::string name_;
};

enum class Obstacle {
  None,
  PathTaken,       // another file has the path now
  Emptied,         // another program emptied the trash, or the holding folder
  RenamedInTrash,  // another program renamed it and its info file in the trash
  ParentRemoved,   // the file's folder and the one above are gone
  OthersTrash,     // the trash's files folder belongs to another user now
  OddName,         // a line break and bytes that are no UTF-8 in its name
  LongPath,        // a path longer than PATH_MAX
};

struct Case {
  CleanupMethod method;
  Obstacle obstacle;
  std::string_view reason;  // empty: restored
};

std::string MakeVictim(RunFixture& f, Obstacle o) {
  if (o == Obstacle::LongPath) {
    const std::string name(240, 'd'), top = f.dir / "tree/u";
    fs::create_directories(top);
    const int levels = PATH_MAX / 240 + 2;
    const int deepest = Chain(top, name, levels, true);
    const int fd = ::openat(deepest, "far.tmp", O_WRONLY | O_CREAT | O_CLOEXEC, 0600);
    EXPECT_EQ(::write(fd, "far away", 8), 8);
    ::close(fd);
    ::close(deepest);
    std::string path = top;
    for (int i = 0; i < levels; ++i) path += "/" + name;
    return path + "/far.tmp";
  }
  return f.File(o == Obstacle::OddName ? "u/a/b/odd\nname\xff.tmp" : "u/a/b/x.tmp", 0);
}

// Every method against every obstacle: what comes back has its bytes, mode
// and modification time and has left the trash (trash-list no longer lists
// it) or the holding folder; what does not is named with its reason, and
// stays where the run put it when it is still there.
TEST(Undo, EachMethodAgainstEachObstacle) {
  const std::string inTheWay(texts::kUndoInTheWay), noTrash(texts::kUndoNotInTrash),
      noHolding(texts::kUndoNotInHolding), deleted(texts::kUndoDeleted);
  const std::vector<Case> cases = {
      {cuRecycle, Obstacle::None, ""},
      {cuRecycle, Obstacle::PathTaken, inTheWay},
      {cuRecycle, Obstacle::Emptied, noTrash},
      {cuRecycle, Obstacle::RenamedInTrash, ""},
      {cuRecycle, Obstacle::ParentRemoved, ""},
      {cuRecycle, Obstacle::OthersTrash, "Operation not permitted"},
      {cuRecycle, Obstacle::OddName, ""},
      {cuRecycle, Obstacle::LongPath, ""},
      {cuHolding, Obstacle::None, ""},
      {cuHolding, Obstacle::PathTaken, inTheWay},
      {cuHolding, Obstacle::Emptied, noHolding},
      {cuHolding, Obstacle::ParentRemoved, ""},
      {cuHolding, Obstacle::OddName, ""},
      {cuHolding, Obstacle::LongPath, ""},
      {cuDelete, Obstacle::None, deleted},
      {cuDelete, Obstacle::ParentRemoved, deleted},
  };
  const bool haveTrashList = ::access("/usr/bin/trash-list", X_OK) == 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(static_cast<int>(c.method)) + "/" + std::to_string(static_cast<int>(c.obstacle)));
    RunFixture f;
    Undoable u(f);
    const std::string original = MakeVictim(f, c.obstacle);
    const std::string name = original.substr(original.rfind('/') + 1);
    if (c.obstacle != Obstacle::LongPath) {
      std::ofstream(original, std::ios::binary) << "the bytes";
      ASSERT_EQ(::chmod(original.c_str(), 0640), 0);
      const timespec times[2] = {{1600000000, 123456789}, {1600000000, 123456789}};
      ASSERT_EQ(::utimensat(AT_FDCWD, original.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
      ASSERT_EQ(::chmod((f.dir / "tree/u/a/b").c_str(), 0750), 0);
    }
    struct stat before {};
    ASSERT_EQ(::stat(Far(original).Short().c_str(), &before), 0);
    f.list.Append(TypeOver(c.method, f.dir / "tree/u"));
    CleanUp(f);
    ASSERT_EQ(f.Runs().LastOutcome().files, 1) << f.Log();
    ASSERT_FALSE(Exists(Far(original).Short()));

    if (c.method == cuRecycle && c.obstacle == Obstacle::None && haveTrashList) {
      EXPECT_NE(u.TrashList().find(original), std::string::npos);
    }
    // Where the run put it.
    const std::string there = c.method == cuRecycle ? u.Trashed(name) : c.method == cuHolding ? u.Held(original) : "";
    switch (c.obstacle) {
      case Obstacle::PathTaken:
        f.dir.Write(original.substr(f.dir.path().size() + 1), "newer");
        break;
      case Obstacle::Emptied:
        fs::remove(there);
        if (c.method == cuRecycle) fs::remove(u.Info(name));
        break;
      case Obstacle::RenamedInTrash:
        fs::rename(there, u.Trashed("renamed.tmp"));
        fs::rename(u.Info(name), u.Info("renamed.tmp"));
        break;
      case Obstacle::ParentRemoved:
        fs::remove_all(f.dir / "tree/u/a");
        break;
      case Obstacle::OthersTrash:
        ASSERT_EQ(::chown((u.trash.homeTrash + "/files").c_str(), kNobody, kNobody), 0);
        break;
      default:
        break;
    }

    Undo(f);

    const RunControl::Outcome& o = f.Runs().LastOutcome();
    const std::string log = f.Log();
    if (c.reason.empty()) {
      EXPECT_EQ(o.files, 1) << log;
      EXPECT_EQ(o.errors, 0);
      const Far back(original);
      EXPECT_EQ(ReadFile(back.Short()), c.obstacle == Obstacle::LongPath ? "far away" : "the bytes");
      struct stat after {};
      ASSERT_EQ(::stat(back.Short().c_str(), &after), 0);
      EXPECT_EQ(after.st_mode, before.st_mode);
      EXPECT_EQ(after.st_mtim.tv_sec, before.st_mtim.tv_sec);
      EXPECT_EQ(after.st_mtim.tv_nsec, before.st_mtim.tv_nsec);
      EXPECT_EQ(after.st_ino, before.st_ino);  // renamed back, not copied
      if (c.obstacle == Obstacle::ParentRemoved) {
        struct stat folder {};
        ASSERT_EQ(::stat((f.dir / "tree/u/a/b").c_str(), &folder), 0);
        EXPECT_EQ(folder.st_mode & 07777, 0750u);  // as the journal knew it
        ASSERT_EQ(::stat((f.dir / "tree/u/a").c_str(), &folder), 0);
        EXPECT_EQ(folder.st_mode & 07777, 0700u);
      }
      if (c.method == cuRecycle) {
        EXPECT_TRUE(fs::is_empty(u.trash.homeTrash + "/files"));
        EXPECT_TRUE(fs::is_empty(u.trash.homeTrash + "/info"));
        if (haveTrashList) {
          EXPECT_EQ(u.TrashList().find(name.substr(0, 3)), std::string::npos);
        }
      }
      if (c.method == cuHolding) {
        EXPECT_FALSE(Exists(Far(there).Short()));
      }
      EXPECT_EQ(log.find("ERR"), std::string::npos) << log;
      EXPECT_EQ(f.port.messages.back().text.substr(0, 22), "Restored 1 of 1 files.");
    } else {
      EXPECT_EQ(o.files, 0);
      EXPECT_NE(log.find("ERR\t" + ShownName(original) + "\r\n\t* " + std::string(c.reason) + "\r\n"),
                std::string::npos)
          << log;
      EXPECT_NE(f.port.messages.back().text.find("Restored 0 of 1 files."), std::string::npos);
      // A file in the way, or a trash that is not the user's: nothing there
      // is touched and the file stays restorable.
      const bool stays = c.obstacle == Obstacle::PathTaken || c.obstacle == Obstacle::OthersTrash;
      EXPECT_EQ(o.errors, stays ? 1 : 0);
      if (stays) {
        EXPECT_TRUE(Exists(Far(there).Short()));
        EXPECT_TRUE(f.Runs().CanUndo());
      }
      if (c.obstacle == Obstacle::PathTaken) {
        EXPECT_EQ(ReadFile(original), "newer");
        // Once the path is free again, the same run's undo brings it back.
        fs::remove(original);
        Undo(f);
        EXPECT_EQ(ReadFile(original), "the bytes");
        EXPECT_EQ(f.Runs().LastOutcome().files, 1);
      }
    }
    if (c.obstacle == Obstacle::OthersTrash) ::chown((u.trash.homeTrash + "/files").c_str(), ::getuid(), ::getgid());
    if (c.obstacle == Obstacle::LongPath) {
      RemoveTreeAt(AT_FDCWD, (f.dir / "tree/u").c_str());
      RemoveTreeAt(AT_FDCWD, (f.dir / kHoldingFolderName).c_str());
    }
  }
}

// The .trashinfo files of a trash (not the temporaries a crash may leave).
std::set<std::string> InfoFiles(const std::string& trash) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(trash + "/info", ec))
    if (e.path().extension() == ".trashinfo") names.insert(e.path().filename().string());
  return names;
}

// A clean-up killed at every step of a trash send, in a child process that
// really ends there: an undo afterwards puts every file that left back, and
// a second undo has nothing left to do.
TEST(Undo, AfterACrashAtAnyStepOfTheTrashEveryFileComesBack) {
  for (const TrashStep step : {TrashStep::kWriteInfo, TrashStep::kPublishInfo, TrashStep::kMove, TrashStep::kSent}) {
    SCOPED_TRACE(static_cast<int>(step));
    RunFixture f;
    Undoable u(f);
    const std::vector<std::string> files = {f.File("c/a.tmp", 1), f.File("c/b.tmp", 2), f.File("c/c.tmp", 3)};
    f.list.Append(TypeOver(cuRecycle, f.dir / "tree/c"));
    const pid_t child = ::fork();
    if (child == 0) {
      int seen = 0;
      u.remover.trashSteps = [&](TrashStep s) {
        if (s == step && ++seen == 2) ::_exit(42);  // at the second file
        return 0;
      };
      CleanUp(f);
      ::_exit(1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 42) << status;
    // The first file went; the second went when the crash came after its move.
    const int back = step == TrashStep::kSent ? 2 : 1;
    EXPECT_EQ(std::count_if(files.begin(), files.end(), [](const std::string& p) { return !Exists(p); }), back);

    Undo(f);

    for (const std::string& file : files) EXPECT_TRUE(Exists(file)) << file;
    EXPECT_TRUE(fs::is_empty(u.trash.homeTrash + "/files"));
    // Only an info file whose send the crash cut short before its move is
    // left; the next send into the trash clears it.
    EXPECT_EQ(InfoFiles(u.trash.homeTrash).size(), step == TrashStep::kMove ? 1u : 0u);
    EXPECT_NE(f.port.messages.back().text.find(FormatText(texts::kRestoredOf, back, back)), std::string::npos)
        << f.port.messages.back().text;
    EXPECT_FALSE(f.Runs().CanUndo());
    f.port.messages.clear();
    f.RunToEnd([](RunControl& r) { r.UndoExecute(); });
    EXPECT_EQ(f.port.messages.back().text, texts::kNothingToUndo);
    f.RunToEnd([](RunControl& r) { r.UndoExecute(1); });
    EXPECT_EQ(f.port.messages.back().text, FormatText(texts::kUndoneAlready, 1u));
  }
}

// Where a file went is only a shortcut: a journal that lost it (the run
// ended between the move and its record) still finds every file by its
// identity, in the trash and in the holding folder.
TEST(Undo, FilesAreFoundWithoutTheRecordOfWhereTheyWent) {
  for (const CleanupMethod m : {cuRecycle, cuHolding}) {
    SCOPED_TRACE(static_cast<int>(m));
    RunFixture f;
    Undoable u(f);
    const std::string a = f.File("p/a.tmp", 1), b = f.File("p/sub/b.tmp", 2);
    f.list.Append(TypeOver(m, f.dir / "tree/p"));
    CleanUp(f);
    ASSERT_FALSE(Exists(a));
    const std::string journal = u.journalFolder + "/run-000001.undo";
    std::string kept;
    for (const std::string& line : SplitLines(ReadFile(journal)))
      if (!line.starts_with("S ") && !line.starts_with("M ")) kept += line + "\n";
    std::ofstream(journal, std::ios::binary | std::ios::trunc) << kept;

    Undo(f);

    EXPECT_EQ(ReadFile(a), "x");
    EXPECT_EQ(ReadFile(b), "xx");
    EXPECT_EQ(f.Runs().LastOutcome().files, 2) << f.Log();
  }
}

// An undo that ended half-way (after putting some files back, one of them
// before its trash entry went) finishes when run again.
TEST(Undo, AnUndoCutShortFinishesWhenRunAgain) {
  RunFixture f;
  Undoable u(f);
  std::vector<std::string> files;
  for (const char* name : {"a.tmp", "b.tmp", "c.tmp", "d.tmp"}) files.push_back(f.File(std::string("h/") + name, 1));
  f.list.Append(TypeOver(cuRecycle, f.dir / "tree/h"));
  CleanUp(f);
  const pid_t child = ::fork();
  if (child == 0) {
    RunUndo undo(f.undoSetup());
    if (!undo.Load(0) || undo.Files() != 4) ::_exit(1);
    (void)undo.Restore(0);
    (void)undo.Restore(1);
    ::_exit(42);  // before the journal learns of it
  }
  int status = 0;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 42) << status;
  // A third file renamed back with its trash entry still there.
  std::string third;
  for (const auto& e : fs::directory_iterator(u.trash.homeTrash + "/files")) third = e.path().filename().string();
  const std::string original = f.dir / ("tree/h/" + third);
  fs::rename(u.Trashed(third), original);
  ASSERT_TRUE(Exists(u.Info(third)));

  Undo(f);

  for (const std::string& file : files) EXPECT_TRUE(Exists(file)) << file;
  EXPECT_TRUE(InfoFiles(u.trash.homeTrash).empty());
  EXPECT_NE(f.port.messages.back().text.find(FormatText(texts::kRestoredOf, 4, 4)), std::string::npos);
  EXPECT_FALSE(f.Runs().CanUndo());
}

// The journal reads back what it wrote, names of any bytes included, passes
// over a line a crash cut short, and keeps the newest runs only.
TEST(UndoJournal, RoundTripAndTheRunsKept) {
  testing::TempDir dir;
  const std::string folder = dir / "Vorlo.undo";
  UndoJournal journal(folder);
  const std::string odd = "/t/a b%\n\xff\x7f.tmp";
  ASSERT_EQ(journal.Begin(1700000000), 0);
  const FileIdentity id{1, 2, 3, 4, 5};
  const uint32_t first = journal.Intend(JournalMethod::Trash, {{odd, id, 0750}, {"/t/b", id, 0}});
  ASSERT_EQ(first, 1u);
  journal.Sent(first, {"/t/Trash", "a b.tmp"});
  journal.Deleted("/t/gone", 9);
  const uint32_t held = journal.Intend(JournalMethod::Holding, {{"/t/h", id, 0700}});
  journal.Moved(held, "/t/Vorlo$$$.$$$/h");
  journal.End();
  {
    std::ofstream(folder + "/run-000001.undo", std::ios::app) << "R 2\nS 2 /cut";  // the last line unfinished
  }
  std::vector<JournalRun> runs = UndoJournal::ReadRuns(folder);
  ASSERT_EQ(runs.size(), 1u);
  const JournalRun& run = runs[0];
  EXPECT_EQ(run.number, 1u);
  EXPECT_EQ(run.startUtc, 1700000000);
  ASSERT_EQ(run.entries.size(), 4u);
  EXPECT_EQ(run.entries[0].original, odd);
  EXPECT_EQ(run.entries[0].folderMode, 0750u);
  EXPECT_EQ(run.entries[0].identity.ino, 2u);
  EXPECT_EQ(run.entries[0].identity.mtimeNs, 4);
  EXPECT_TRUE(run.entries[0].placed);
  EXPECT_EQ(run.entries[0].trash.name, "a b.tmp");
  EXPECT_FALSE(run.entries[1].placed);
  EXPECT_TRUE(run.entries[1].restored);
  EXPECT_EQ(run.entries[2].method, JournalMethod::Deleted);
  EXPECT_EQ(run.entries[2].identity.size, 9);
  EXPECT_EQ(run.entries[3].held, "/t/Vorlo$$$.$$$/h");

  for (int i = 0; i < 24; ++i) {
    ASSERT_EQ(journal.Begin(1700000000 + i), 0);
    journal.End();
  }
  runs = UndoJournal::ReadRuns(folder);
  ASSERT_EQ(runs.size(), UndoJournal::kRunsKept);
  EXPECT_EQ(runs.front().number, 25u);
  EXPECT_EQ(runs.back().number, 6u);
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 20);
}

// Nothing leaves without the record that lets it come back: a journal that
// cannot be made refuses the clean-up.
TEST(UndoJournal, ACleanUpWithoutItsJournalRemovesNothing) {
  RunFixture f;
  Undoable u(f);
  f.dir.Write("data/Vorlo.undo", "not a folder");
  const std::string file = f.File("j/a.tmp", 1);
  f.list.Append(TypeOver(cuRecycle, f.dir / "tree/j"));
  CleanUp(f);
  EXPECT_TRUE(Exists(file));
  EXPECT_TRUE(f.Runs().LastOutcome().failed);
  EXPECT_NE(f.LastText().find("undo journal"), std::string::npos) << f.LastText();
  EXPECT_NE(f.LastText().find(texts::kNothingRemoved), std::string::npos);
}

// What `vorlo-cli runs` and the window's question count: files and bytes a
// run removed, and those still restorable.
TEST(UndoJournal, RunsAreSummarizedNewestFirst) {
  RunFixture f;
  Undoable u(f);
  f.File("s/a.tmp", 10);
  const std::string b = f.File("s/b.tmp", 20);
  f.File("d/c.tmp", 5);
  f.list.Append(TypeOver(cuRecycle, f.dir / "tree/s"));
  f.list.Append(TypeOver(cuDelete, f.dir / "tree/d"));
  CleanUp(f);
  f.File("s/later.tmp", 1);
  CleanUp(f);
  fs::remove(u.Trashed("b.tmp"));

  const std::vector<RunSummary> runs = SummarizeRuns(f.undoSetup());
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].number, 2u);
  EXPECT_EQ(runs[0].files, 1);
  EXPECT_EQ(runs[1].number, 1u);
  EXPECT_EQ(runs[1].startUtc, f.clock.NowUtc());
  EXPECT_EQ(runs[1].files, 3);
  EXPECT_EQ(runs[1].bytes, 35);
  EXPECT_EQ(runs[1].restorable, 1);  // b.tmp was emptied from the trash, c.tmp deleted
}

}  // namespace
}  // namespace vorlo
