// The run log as a record of what was removed: no run without it, a run
// that stops when it fails, one run per data folder, and file names that
// cannot forge its lines.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

#include "core/text.h"
#include "platform/file_lock.h"
#include "support/run_fixture.h"

namespace vorlo {
namespace {

using testing::RunFixture;
using enum CleanupMethod;

// Points the descriptor this process has open on `path` at /dev/full, so
// that its next write fails with ENOSPC as on a full disk.
void MakeFull(const std::string& path) {
  for (const auto& fd : std::filesystem::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    if (std::filesystem::read_symlink(fd.path(), ec) != path) continue;
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    ASSERT_GE(::dup2(full, std::stoi(fd.path().filename())), 0);
    ::close(full);
    return;
  }
  FAIL() << "no descriptor on " << path;
}

struct RefusedCase {
  const char* name;
  bool analysis;
  std::function<void(RunFixture&)> setUp;
  std::function<std::string(RunFixture&)> message;
};

// A run that cannot have its log, or its data folder to itself, removes
// nothing and says why.
TEST(RunLog, RunIsRefusedWithoutItsLogOrItsDataFolder) {
  const auto data = [](RunFixture& f) { return f.dir / "data"; };
  FileLock heldElsewhere;
  const RefusedCase cases[] = {
      {"log is a folder", false, [&](RunFixture& f) { std::filesystem::create_directory(data(f) + "/Vorlo.LOG.TXT"); },
       [&](RunFixture& f) {
         return "Vorlo cannot write its log file " + data(f) +
                "/Vorlo.LOG.TXT: Is a directory. Nothing has been removed.";
       }},
      // A log is never written through a link, wherever it points.
      {"test log is a link", true,
       [&](RunFixture& f) { std::filesystem::create_symlink(data(f) + "/elsewhere", data(f) + "/Vorlo.TEST.TXT"); },
       [&](RunFixture& f) {
         return "Vorlo cannot write its log file " + data(f) +
                "/Vorlo.TEST.TXT: Too many levels of symbolic links. Nothing has been removed.";
       }},
      {"test log is a FIFO", true,
       [&](RunFixture& f) { ASSERT_EQ(::mknod((data(f) + "/Vorlo.TEST.TXT").c_str(), S_IFIFO | 0600, 0), 0); },
       [&](RunFixture& f) {
         return "Vorlo cannot write its log file " + data(f) +
                "/Vorlo.TEST.TXT: No such device or address. Nothing has been removed.";  // and no wait for a reader
       }},
      {"no data folder", false,
       [&](RunFixture& f) {
         std::filesystem::remove_all(data(f));
         f.dir.Write("data", "a file where the data folder should be");
       },
       [&](RunFixture& f) {
         return "Vorlo cannot lock the data folder with " + data(f) +
                "/Vorlo.lock: Not a directory. Nothing has been removed.";
       }},
      {"another run", false, [&](RunFixture& f) { ASSERT_EQ(heldElsewhere.TryExclusive(data(f) + "/Vorlo.lock"), 0); },
       [&](RunFixture& f) {
         return "Another Vorlo run is using the data folder " + data(f) +
                "/. Nothing has been removed. Try again when it has finished.";
       }},
  };
  for (const RefusedCase& c : cases) {
    SCOPED_TRACE(c.name);
    RunFixture f;
    const std::string x = f.File("a/x.tmp", 5);
    f.list.Append(f.FolderType("A", cuDelete, "a"));
    c.setUp(f);
    f.RunToEnd([&](RunControl& r) { c.analysis ? r.act10Execute() : r.aCleanupExecute(); });
    EXPECT_TRUE(f.remover.Exists(x));
    EXPECT_EQ(f.Runs().VeryBusy(), RunState::Idle);
    EXPECT_TRUE(f.Runs().LastOutcome().failed);
    EXPECT_FALSE(f.finished);
    EXPECT_TRUE(f.port.busy.empty());
    ASSERT_EQ(f.port.messages.size(), 1u);
    EXPECT_EQ(f.port.messages[0].kind, MsgKind::Error);
    EXPECT_EQ(f.LastText(), c.message(f));
    heldElsewhere.Release();
  }
}

// The disk fills after the first removal: the run stops there, the second
// type is never started, and the end is an error, not a success.
TEST(RunLog, AWriteThatFailsMidRunStopsTheRun) {
  RunFixture f;
  const std::string x = f.File("a/x.tmp", 5), y = f.File("b/y.tmp", 7);
  f.list.Append(f.FolderType("A", cuDelete, "a"));
  f.list.Append(f.FolderType("B", cuDelete, "b"));
  const std::string log = f.dir / "data/Vorlo.LOG.TXT";
  f.remover.onRemove = [&](const std::string&) { MakeFull(log); };

  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

  EXPECT_FALSE(f.remover.Exists(x));
  EXPECT_TRUE(f.remover.Exists(y));
  const RunControl::Outcome& o = f.Runs().LastOutcome();
  EXPECT_TRUE(o.failed);
  EXPECT_TRUE(o.stopped);
  EXPECT_EQ(o.files, 1);
  const Message& end = f.port.messages.back();
  EXPECT_EQ(end.kind, MsgKind::Error);
  EXPECT_EQ(end.text, "Vorlo could not write its log file " + log +
                          ": No space left on device. The run has been stopped.\r\n\r\n"
                          "Vorlo processed 1 junk file types and removed 1 junk files.\r\n"
                          "By permanently deleting these files you have realized a savings of at least 5 bytes");
  EXPECT_TRUE(f.port.opened.empty());
  // The lock went with the run.
  FileLock next;
  EXPECT_EQ(next.TryExclusive(f.dir / "data/Vorlo.lock"), 0);
}

// The lock is held for the whole run and only for the run; a count needs none.
TEST(RunLog, TheRunHoldsTheDataFolderLockACountDoesNot) {
  RunFixture f;
  f.File("a/x.tmp");
  f.list.Append(f.FolderType("A", cuDelete, "a"));
  const std::string lockPath = f.dir / "data/Vorlo.lock";
  int duringRun = 0;
  f.remover.onRemove = [&](const std::string&) {
    FileLock other;
    duringRun = other.TryExclusive(lockPath);
  };
  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });
  EXPECT_EQ(duringRun, EWOULDBLOCK);
  EXPECT_FALSE(f.Runs().LastOutcome().failed);

  FileLock held;
  ASSERT_EQ(held.TryExclusive(lockPath), 0);
  f.File("a/z.tmp", 3);
  f.RunToEnd([](RunControl& r) { r.aCountExecute(0); });
  EXPECT_EQ(f.Runs().LastOutcome().files, 1);
}

// Control bytes in a name are escaped in every line that carries it; every
// other name, backslashes, UTF-8 and invalid bytes included, stays exact.
TEST(RunLog, ControlCharactersInNamesAreEscaped) {
  RunFixture f;
  const std::string dir = f.dir / "tree/a/";
  const std::string newline = f.File("a/one\ntwo.tmp"), escape = f.File("a/\x1b[2Jit's.tmp"),
                    locked = f.File("a/del\x7f.tmp"), plain = f.File("a/back\\slash \xc3\xa9\xff.tmp");
  // Controls beyond ASCII that viewers break lines at or act on: NEL, the
  // line and paragraph separators, CSI.
  const struct {
    const char* name;
    const char* logged;
  } wide[] = {{"nel\xc2\x85.tmp", "nel\\xc2\\x85.tmp"},
              {"line\xe2\x80\xa8.tmp", "line\\xe2\\x80\\xa8.tmp"},
              {"para\xe2\x80\xa9.tmp", "para\\xe2\\x80\\xa9.tmp"},
              {"csi\xc2\x9b""2J.tmp", "csi\\xc2\\x9b2J.tmp"}};
  for (const auto& w : wide) f.File(std::string("a/") + w.name);
  const std::string notControls = f.File("a/quote\xe2\x80\x9c\xc2\xa0.tmp");  // U+201C, U+00A0: plain text
  f.remover.locked.insert(locked);
  f.list.Append(f.FolderType("A", cuDelete, "a"));

  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

  const std::string log = f.Log();
  EXPECT_NE(log.find("\r\n\t$'" + dir + "one\\x0atwo.tmp'\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\r\n\t$'" + dir + "\\x1b[2Jit\\'s.tmp'\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\r\nERR\t$'" + dir + "del\\x7f.tmp'\r\n\t* "), std::string::npos) << log;
  EXPECT_NE(log.find("\r\n\t" + plain + "\r\n"), std::string::npos) << log;
  for (const auto& w : wide) EXPECT_NE(log.find("\r\n\t$'" + dir + w.logged + "'\r\n"), std::string::npos) << w.logged;
  EXPECT_NE(log.find("\r\n\t" + notControls + "\r\n"), std::string::npos) << log;
  // No control byte but the line ends and the layout's tabs.
  std::string bare = log;
  for (size_t at; (at = bare.find("\r\n")) != std::string::npos;) bare.erase(at, 2);
  for (size_t i = 0; i < bare.size(); ++i) {
    if (DisplayControlAt(bare, i) != 0) {
      EXPECT_EQ(bare[i], '\t') << i;
    }
  }
}

}  // namespace
}  // namespace vorlo
