#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "core/junk_list_file.h"
#include "platform/file_lock.h"
#include "support/cli_home.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

extern char** environ;

namespace vorlo {
namespace {

using testing::CommandResult;
using testing::ReadFile;
using testing::TempDir;
using enum CleanupMethod;
using enum FolderRule;

using CliRuns = testing::CliHome;

TEST_F(CliRuns, AnalyzeCountAndCleanOnTheStoredList) {
  const std::string a = home_.Write("tree/a.tmp", "1234"), b = home_.Write("tree/sub/b.tmp", "12");
  home_.Write("tree/keep.txt");
  Store({Type("Tree", cuDelete, home_ / "tree")});

  const CommandResult count = Run({"count", "1"});
  EXPECT_EQ(count.exitCode, 0) << count.err;
  EXPECT_NE(count.out.find("2 folders were searched\n2 files matched"), std::string::npos) << count.out;
  EXPECT_NE(count.out.find("These files occupy 6 bytes of disk space."), std::string::npos);

  const CommandResult analyze = Run({"analyze"});
  EXPECT_EQ(analyze.exitCode, 0);
  EXPECT_EQ(analyze.out.substr(0, 55), "Vorlo tested 1 junk file types and found 2 junk files.\n");
  EXPECT_NE(ReadFile(DataFolder() + "/Vorlo.TEST.TXT").find("\t" + a + "\r\n"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(a));

  const CommandResult clean = Run({"clean", "--yes"});
  EXPECT_EQ(clean.exitCode, 0);
  EXPECT_NE(clean.out.find("removed 2 junk files.\nBy permanently deleting"), std::string::npos) << clean.out;
  EXPECT_NE(clean.out.find("Log: " + DataFolder() + "/Vorlo.LOG.TXT"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(a));
  EXPECT_FALSE(std::filesystem::exists(b));
  EXPECT_TRUE(std::filesystem::exists(home_ / "tree/keep.txt"));
  // No progress line on a pipe.
  for (const CommandResult* r : {&analyze, &clean}) EXPECT_EQ(r->err.find('\r'), std::string::npos) << r->err;
}

TEST_F(CliRuns, ProgressLineOnATerminalIsRedrawnAndErased) {
  home_.Write("tree/a.tmp", "1234");
  Store({Type("Tree", cuDelete, home_ / "tree")});
  // script(1) gives the command a terminal and copies what it shows.
  const CommandResult shown =
      Run({"script", "-qec", testing::ShellQuoted(VORLO_CLI_PATH) + " analyze", "/dev/null"}, false);
  ASSERT_EQ(shown.exitCode, 0) << shown.out << shown.err;
  const size_t line = shown.out.find("\r\033[Ktype 1 of 1: Tree, ");
  ASSERT_NE(line, std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("folders searched", line), std::string::npos);
  const size_t erased = shown.out.rfind("\r\033[K"), result = shown.out.find("Vorlo tested 1 junk file types");
  ASSERT_NE(result, std::string::npos);
  EXPECT_GT(erased, line);
  EXPECT_LT(erased, result);  // erased before the result is printed
  EXPECT_EQ(shown.out.find("folders searched", result), std::string::npos);
}

// An account that never started the window: the run makes the data folder
// and writes no list file. The default table's types would search this
// machine's disks, so the log is refused (a zero file size limit) right
// after the data folder step.
TEST_F(CliRuns, FreshAccountMakesTheDataFolderAndWritesNoListFile) {
  const std::vector<std::string> env = {"HOME=" + home_ / "fresh", "XDG_DATA_HOME=" + home_ / "fresh/data",
                                        "XDG_CONFIG_HOME=" + home_ / "fresh/config"};
  std::filesystem::create_directories(home_ / "fresh");
  const std::string folder = home_ / "fresh/data/Vorlo";
  const CommandResult listed = testing::RunCommand({VORLO_CLI_PATH, "list"}, env);
  EXPECT_EQ(listed.exitCode, 0) << listed.err;
  EXPECT_NE(listed.out.find("\n"), std::string::npos);
  EXPECT_EQ(testing::RunCommand({VORLO_CLI_PATH, "describe", "1"}, env).exitCode, 0);

  const CommandResult analyze = testing::RunCommand(
      {"sh", "-c", "trap '' XFSZ; ulimit -f 0; exec \"$0\" \"$@\"", VORLO_CLI_PATH, "analyze", "--yes"}, env);
  EXPECT_EQ(analyze.exitCode, 1);
  EXPECT_EQ(analyze.err.find("no data folder"), std::string::npos) << analyze.err;
  EXPECT_TRUE(std::filesystem::is_regular_file(folder + "/Vorlo.TEST.TXT"));  // the run got as far as its log
  EXPECT_FALSE(std::filesystem::exists(folder + "/Vorlo.DAT"));
  EXPECT_FALSE(std::filesystem::exists(folder + "/Vorlo.D$$"));
}

TEST_F(CliRuns, ExitCodesForErrorsAndBadUsage) {
  const std::string ro = home_.Write("tree/ro.tmp", "x");
  std::filesystem::permissions(ro, std::filesystem::perms::owner_read);  // read-only: not deleted
  Store({Type("Tree", cuDelete, home_ / "tree")});
  const CommandResult clean = Run({"clean"});
  EXPECT_EQ(clean.exitCode, 1);
  EXPECT_NE(clean.out.find(" 1 files could not be removed."), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(ro));

  EXPECT_EQ(Run({"count", "2"}).exitCode, 1);
  EXPECT_EQ(Run({"count"}).exitCode, 2);
  EXPECT_EQ(Run({"count", "one"}).exitCode, 2);
  EXPECT_EQ(Run({"clean", "--file", ro}).exitCode, 2);
  EXPECT_EQ(Run({"analyze", "--data-dir", home_ / "missing"}).exitCode, 1);
}

// Ctrl+C stops a run as the stop command does: halt lines, closing lines,
// "Before you stopped it", exit code 1.
TEST_F(CliRuns, InterruptStopsTheRun) {
  for (int d = 0; d < 40; ++d) {
    const std::string folder = home_ / ("big/" + std::to_string(d));
    std::filesystem::create_directories(folder);
    for (int i = 0; i < 1000; ++i) std::ofstream(folder + "/" + std::to_string(i) + ".tmp");
  }
  Store({Type("Big", cuDelete, home_ / "big")});

  const std::string out = home_ / "out.txt";
  const pid_t pid = Spawn({"analyze"}, out);
  ASSERT_GT(pid, 0);

  // Wait for the first file lines, freeze the program, and let the stop in
  // before it can finish the remaining tens of thousands of files.
  const std::string log = DataFolder() + "/Vorlo.TEST.TXT";
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (ReadFile(log).find(".tmp\r\n") == std::string::npos && std::chrono::steady_clock::now() < deadline)
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  kill(pid, SIGSTOP);
  kill(pid, SIGINT);
  kill(pid, SIGCONT);
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 1);
  EXPECT_EQ(ReadFile(out).substr(0, 23), "Before you stopped it, ");
  const std::string text = ReadFile(log);
  EXPECT_NE(text.find("**** PROCESSING HALTED BY USER ****\r\n\r\n"), std::string::npos);
  EXPECT_NE(text.find("Recycle Bin statistics:"), std::string::npos);
}

// A clean-up that cannot keep its log, or would share the data folder with
// another run, removes nothing, says why on stderr and exits 1; a count
// needs no lock. A log that fails mid-run stops the run with exit 1.
TEST_F(CliRuns, RunsWithoutTheirLogOrTheirDataFolderFail) {
  const std::string x = home_.Write("tree/x.tmp", "1234");
  Store({Type("Tree", cuDelete, home_ / "tree")});
  const auto refused = [&](const CommandResult& r, const std::string& why) {
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "vorlo-cli: " + why + " Nothing has been removed." + (why[0] == 'A' ? " Try again when it has finished.\n" : "\n"));
    EXPECT_EQ(r.out.find("Log:"), std::string::npos) << r.out;
    EXPECT_TRUE(std::filesystem::exists(x));
  };
  {
    FileLock otherRun;  // this process holds it; the child's own lock is refused
    ASSERT_EQ(otherRun.TryExclusive(DataFolder() + "/Vorlo.lock"), 0);
    refused(Run({"clean", "--yes"}), "Another Vorlo run is using the data folder " + DataFolder() + "/.");
    EXPECT_EQ(Run({"analyze"}).exitCode, 1);
    EXPECT_EQ(Run({"count", "1"}).exitCode, 0);
  }
  const std::string log = DataFolder() + "/Vorlo.LOG.TXT";
  std::filesystem::create_symlink("/dev/full", log);
  refused(Run({"clean", "--yes"}), "Vorlo cannot write its log file " + log + ": Too many levels of symbolic links.");
  std::filesystem::remove(log);

  // A file size limit lets the title lines in and stops the log a few file
  // lines later (the limit's signal is ignored, so writes fail with EFBIG).
  const std::string name(100, 'n');
  for (int i = 0; i < 20; ++i) home_.Write("tree/" + name + std::to_string(i) + ".tmp");
  const CommandResult limited = testing::RunCommand(
      {"sh", "-c", "trap '' XFSZ; ulimit -f 1; exec \"$0\" \"$@\"", VORLO_CLI_PATH, "clean", "--yes"}, Env());
  EXPECT_EQ(limited.exitCode, 1);
  EXPECT_NE(limited.err.find("vorlo-cli: Vorlo could not write its log file " + log + ": File too large. The run has been stopped."),
            std::string::npos) << limited.err;
  EXPECT_EQ(limited.out.find("Log:"), std::string::npos);
  int left = 0;
  for (const auto& e : std::filesystem::directory_iterator(home_ / "tree")) left += e.path().extension() == ".tmp";
  EXPECT_GT(left, 10);
}

// With few descriptors to spare, a clean-up into the trash still accounts
// for every file: sent and logged, or left where it was with an error line.
TEST_F(CliRuns, FewDescriptorsLeaveNoFileUnaccountedFor) {
  std::vector<std::string> files;
  for (int d = 0; d < 212; ++d)
    for (int i = 0; i < 10; ++i) files.push_back(home_.Write("tree/" + std::to_string(d) + "/" + std::to_string(i) + ".tmp", "x"));
  Store({Type("Tree", cuRecycle, home_ / "tree")});
  for (const char* limit : {"40", "90", "110"}) {
    SCOPED_TRACE(limit);
    const CommandResult r = Run({"sh", "-c", std::string("ulimit -n ") + limit + "; exec \"$0\" clean --yes", VORLO_CLI_PATH},
                                false);
    const std::string log = ReadFile(DataFolder() + "/Vorlo.LOG.TXT");
    size_t accounted = 0;
    for (const std::string& p : files) {
      const bool logged = log.find("\t" + p + "\r\n") != std::string::npos;
      const bool failed = log.find("ERR\t" + p + "\r\n") != std::string::npos;
      if (std::filesystem::exists(p) ? failed : logged && !failed) ++accounted;
    }
    EXPECT_EQ(accounted, files.size()) << r.out << r.err;
  }
}

// Type names and paths reach a terminal shown, never acted on: the
// progress and "Now analyzing" lines, describe and list.
TEST_F(CliRuns, NamesOnTheTerminalAreEscaped) {
  const std::string name = "Title\x1b]0;owned\x07 \xc2\x9b""2J\xe2\x80\xa8";
  home_.Write("tree/a.tmp", "1234");
  Store({TJunkFileObj(name, true, cuDelete, FolderList{{home_ / "tree", pFolAndSub}}, {"*.tmp"}, {}, {}, {}, {})});
  const CommandResult analyze = Run({"analyze"});
  const CommandResult describe = Run({"describe", "1"});
  const CommandResult list = Run({"list"});
  const CommandResult shown =
      Run({"script", "-qec", testing::ShellQuoted(VORLO_CLI_PATH) + " analyze", "/dev/null"}, false);
  for (const CommandResult* r : {&analyze, &describe, &list, &shown}) {
    const std::string all = r->out + r->err;
    EXPECT_EQ(all.find("\x1b]"), std::string::npos) << all;
    EXPECT_EQ(all.find("\xc2\x9b"), std::string::npos) << all;
    EXPECT_EQ(all.find("\xe2\x80\xa8"), std::string::npos) << all;
  }
  EXPECT_NE(analyze.err.find("Now analyzing $'Title\\x1b]0;owned\\x07 \\xc2\\x9b2J\\xe2\\x80\\xa8'..."), std::string::npos)
      << analyze.err;
  EXPECT_NE(describe.out.find("\\x1b]0;owned"), std::string::npos) << describe.out;
  EXPECT_NE(shown.out.find("type 1 of 1: $'Title\\x1b"), std::string::npos) << shown.out;
}

}  // namespace
}  // namespace vorlo
