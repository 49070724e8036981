#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "platform/file_lock.h"
#include "support/cli_home.h"

namespace vorlo {
namespace {

using testing::CommandResult;
using testing::ReadFile;
using enum CleanupMethod;
namespace fs = std::filesystem;

using CliUndo = testing::CliHome;

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

// runs, undo with a file in the way and a deleted one, the same run again
// once the way is free, and a third time; exit codes and the lines printed.
TEST_F(CliUndo, RunsAndUndoFromTheCommandLine) {
  const std::string a = home_.Write("tree/a.tmp", "aaaa"), b = home_.Write("tree/sub/b.tmp", "bb"),
                    gone = home_.Write("del/gone.tmp", "g");
  Store({Type("Tree", cuRecycle, home_ / "tree"), Type("Del", cuDelete, home_ / "del")});
  ASSERT_EQ(Run({"clean", "--yes"}).exitCode, 0);
  ASSERT_FALSE(Exists(a));
  EXPECT_TRUE(fs::is_directory(DataFolder() + "/Vorlo.undo"));

  const CommandResult runs = Run({"runs"});
  EXPECT_EQ(runs.exitCode, 0) << runs.err;
  EXPECT_EQ(runs.out.substr(0, 3), "1  ") << runs.out;
  EXPECT_NE(runs.out.find("  3 files, 7 bytes removed, 2 can be restored\n"), std::string::npos) << runs.out;

  home_.Write("tree/a.tmp", "new a");
  const CommandResult first = Run({"undo", "--yes"});
  EXPECT_EQ(first.exitCode, 1) << first.out << first.err;
  EXPECT_NE(first.out.find("not restored: " + a + ": a file is in the way\n"), std::string::npos) << first.out;
  EXPECT_NE(first.out.find("not restored: " + gone + ": deleted permanently\n"), std::string::npos);
  EXPECT_NE(first.out.find("Restored 1 of 3 files."), std::string::npos);
  EXPECT_EQ(ReadFile(b), "bb");
  EXPECT_EQ(ReadFile(a), "new a");
  const std::string log = ReadFile(DataFolder() + "/Vorlo.LOG.TXT");
  EXPECT_NE(log.find("Vorlo Undo - "), std::string::npos);
  EXPECT_NE(log.find("\t" + b + "\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("ERR\t" + a + "\r\n\t* a file is in the way\r\n"), std::string::npos) << log;

  fs::remove(a);
  const CommandResult second = Run({"undo", "--yes"});
  EXPECT_EQ(second.exitCode, 0) << second.out << second.err;
  EXPECT_NE(second.out.find("Restored 1 of 1 files."), std::string::npos) << second.out;
  EXPECT_EQ(second.out.find("not restored"), std::string::npos) << second.out;
  EXPECT_EQ(ReadFile(a), "aaaa");

  const CommandResult again = Run({"undo", "1", "--yes"});
  EXPECT_EQ(again.exitCode, 0);
  EXPECT_EQ(again.out, "Run 1 has been undone already: nothing is left to restore.\n");
  const CommandResult none = Run({"undo", "--yes"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.out, "No clean-up is left to undo.\n");
  EXPECT_EQ(Run({"undo", "7", "--yes"}).exitCode, 1);
  EXPECT_NE(Run({"runs"}).out.find("0 can be restored"), std::string::npos);

  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"undo", "x"}, {"undo", "0"}, {"undo", "1", "2"}, {"runs", "1"}, {"runs", "--yes"},
        {"undo", "--file", a}})
    EXPECT_EQ(Run(bad).exitCode, 2) << bad[1];
  EXPECT_EQ(Run({"runs", "--data-dir", home_ / "missing"}).exitCode, 1);
}

// Without --yes the question is answered on a terminal, or No elsewhere;
// another run on the data folder refuses the undo.
TEST_F(CliUndo, AsksFirstAndTakesTheRunLock) {
  const std::string a = home_.Write("tree/a.tmp", "a");
  Store({Type("Tree", cuRecycle, home_ / "tree")});
  ASSERT_EQ(Run({"clean", "--yes"}).exitCode, 0);

  const CommandResult piped = Run({"undo"});
  EXPECT_EQ(piped.exitCode, 1);
  EXPECT_NE(piped.out.find("Undo the clean-up of "), std::string::npos) << piped.out;
  EXPECT_NE(piped.err.find("nothing was put back"), std::string::npos) << piped.err;
  EXPECT_FALSE(Exists(a));
  {
    FileLock otherRun;
    ASSERT_EQ(otherRun.TryExclusive(DataFolder() + "/Vorlo.lock"), 0);
    const CommandResult busy = Run({"undo", "--yes"});
    EXPECT_EQ(busy.exitCode, 1);
    EXPECT_NE(busy.err.find("Another Vorlo run is using the data folder " + DataFolder() +
                            "/. Nothing has been put back."),
              std::string::npos)
        << busy.err;
    EXPECT_FALSE(Exists(a));
  }
  // script(1) gives it a terminal; the answer is typed on it.
  const CommandResult typed = Run({"sh", "-c", "printf 'y\\n' | script -qec \"$0 undo\" /dev/null", VORLO_CLI_PATH},
                                  false);
  EXPECT_EQ(typed.exitCode, 0) << typed.out << typed.err;
  EXPECT_NE(typed.out.find("[y/N] "), std::string::npos) << typed.out;
  EXPECT_EQ(ReadFile(a), "a");
}

// Waits until `done` holds, for at most 30 seconds.
template <typename F>
bool Await(F done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!done())
    if (std::chrono::steady_clock::now() > deadline)
      return false;
    else
      std::this_thread::sleep_for(std::chrono::microseconds(300));
  return true;
}

int KillAndReap(pid_t pid) {
  ::kill(pid, SIGKILL);
  int status = 0;
  ::waitpid(pid, &status, 0);
  return status;
}

// A real kill -9 during a 10,000-file clean-up, and another during the undo
// of a whole run: no file is lost, and undo run again brings every file
// back to its path.
TEST_F(CliUndo, KilledCleanUpAndKilledUndoLoseNoFile) {
  std::vector<std::string> files;
  for (int d = 0; d < 100; ++d)
    for (int i = 0; i < 100; ++i)
      files.push_back(home_.Write("big/" + std::to_string(d) + "/" + std::to_string(i) + ".tmp", std::to_string(i)));
  Store({Type("Big", cuRecycle, home_ / "big")});
  const std::string trashFiles = home_ / "data/Trash/files", journal = DataFolder() + "/Vorlo.undo";
  const auto inTrash = [&] {
    std::error_code ec;
    return static_cast<size_t>(std::distance(fs::directory_iterator(trashFiles, ec), fs::directory_iterator()));
  };
  const auto allBack = [&] {
    size_t back = 0;
    for (const std::string& f : files) back += Exists(f) ? 1 : 0;
    return back;
  };

  const pid_t clean = Spawn({"clean", "--yes"}, home_ / "clean.out");
  ASSERT_GT(clean, 0);
  ASSERT_TRUE(Await([&] { return inTrash() >= 2000; }));
  const int status = KillAndReap(clean);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the clean-up ended before the kill";
  const size_t sent = inTrash();
  EXPECT_LT(sent, files.size());
  EXPECT_EQ(allBack() + sent, files.size());  // every file at its path or in the trash

  const CommandResult undo = Run({"undo", "--yes"});
  EXPECT_EQ(undo.exitCode, 0) << undo.out << undo.err;
  EXPECT_EQ(allBack(), files.size());
  EXPECT_EQ(inTrash(), 0u);

  // The whole tree again, then an undo killed half-way.
  ASSERT_EQ(Run({"clean", "--yes"}).exitCode, 0);
  ASSERT_EQ(allBack(), 0u);
  const pid_t undoing = Spawn({"undo", "--yes"}, home_ / "undo.out");
  ASSERT_GT(undoing, 0);
  ASSERT_TRUE(Await([&] { return allBack() >= 2000; }));
  ASSERT_TRUE(WIFSIGNALED(KillAndReap(undoing))) << "the undo ended before the kill";
  EXPECT_EQ(allBack() + inTrash(), files.size());

  const CommandResult finish = Run({"undo", "--yes"});
  EXPECT_EQ(finish.exitCode, 0) << finish.out << finish.err;
  EXPECT_EQ(allBack(), files.size());
  EXPECT_EQ(inTrash(), 0u);
  for (size_t i = 0; i < files.size(); i += 997) EXPECT_EQ(ReadFile(files[i]), std::to_string(i % 100));
}

// analyze, found, a list with some of its lines, clean --found: exactly the
// listed kept files go, undoably; a listed path the results do not hold and
// a file changed since are named and stay.
TEST_F(CliUndo, CleanFoundRemovesExactlyTheListedFiles) {
  const std::string a = home_.Write("tree/a.tmp", "a"), b = home_.Write("tree/b.tmp", "b"),
                    c = home_.Write("tree/c.tmp", "c");
  Store({Type("Tree", cuRecycle, home_ / "tree")});
  ASSERT_EQ(Run({"analyze"}).exitCode, 0);
  const CommandResult found = Run({"found"});
  ASSERT_EQ(found.exitCode, 0) << found.err;
  std::string listed;
  for (size_t pos = 0; pos < found.out.size();) {
    const size_t end = found.out.find('\n', pos);
    const std::string line = found.out.substr(pos, end - pos + 1);
    if (line.find("b.tmp") == std::string::npos) listed += line;  // b stays
    pos = end + 1;
  }
  listed += home_ / "tree/never.tmp\n";
  home_.Write("tree/c.tmp", "changed");
  const std::string list = home_.Write("list.txt", listed);
  const CommandResult clean = Run({"clean", "--found", list, "--yes"});
  EXPECT_EQ(clean.exitCode, 1) << clean.out << clean.err;
  EXPECT_NE(clean.err.find(home_ / "tree/never.tmp is not in the kept results"), std::string::npos) << clean.err;
  EXPECT_FALSE(Exists(a));
  EXPECT_EQ(ReadFile(b), "b");
  EXPECT_EQ(ReadFile(c), "changed");
  EXPECT_NE(ReadFile(DataFolder() + "/Vorlo.LOG.TXT").find("ERR\t" + c + "\r\n\t* changed since the analysis"),
            std::string::npos);
  EXPECT_EQ(Run({"undo", "--yes"}).exitCode, 0);
  EXPECT_EQ(ReadFile(a), "a");
  EXPECT_EQ(Run({"clean", "--found"}).exitCode, 2);
  EXPECT_EQ(Run({"analyze", "--found", list}).exitCode, 2);
}

}  // namespace
}  // namespace vorlo
