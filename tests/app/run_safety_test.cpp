// A run never takes what it was not meant to and never hides what it did:
// root refuses a folder entry another user could redirect, and a batch for
// the trash stops as soon as the log stops taking its lines.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <unistd.h>

#include <filesystem>

#include "support/child_process.h"
#include "support/run_fixture.h"

namespace vorlo {
namespace {

using testing::RunFixture;
using enum CleanupMethod;
namespace fs = std::filesystem;

// A folder entry below another user's folder that the user swapped for a
// link to a folder of root's: root's clean-up removes nothing there, and
// the log names the entry and why.
TEST(RunSafety, RootRefusesAFolderEntryAnotherUserCouldRedirect) {
  if (::geteuid() != 0) GTEST_SKIP() << "the rule is root's";
  RunFixture f;
  const std::string secret = f.File("root-only/key.tmp", 5);
  const std::string bob = f.dir / "tree/bob";
  fs::create_directories(bob);
  ASSERT_EQ(::chown(bob.c_str(), testing::kNobody, testing::kNobody), 0);
  fs::create_symlink(f.dir / "tree/root-only", bob + "/cache");
  ASSERT_EQ(::lchown((bob + "/cache").c_str(), testing::kNobody, testing::kNobody), 0);
  f.list.Append(TJunkFileObj("Bob's cache", true, cuDelete, FolderList{{bob + "/cache", FolderRule::pFolAndSub}},
                             {"*.tmp"}, {}, {}, {}, {}));

  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

  EXPECT_TRUE(f.remover.Exists(secret));
  EXPECT_NE(f.Log().find("\r\nERR\t" + bob + "/cache\r\n\t* The folder's path leads through a link that another "
                                             "user could change\r\n"),
            std::string::npos)
      << f.Log();
  EXPECT_NE(f.LastText().find("1 files could not be removed."), std::string::npos) << f.LastText();
}

// Points the descriptor this process has open on `path` at /dev/full, so
// that its next write fails as on a full disk.
void MakeFull(const std::string& path) {
  for (const auto& fd : fs::directory_iterator("/proc/self/fd")) {
    std::error_code ec;
    if (fs::read_symlink(fd.path(), ec) != path) continue;
    const int full = ::open("/dev/full", O_WRONLY | O_CLOEXEC);
    ASSERT_GE(full, 0);
    ASSERT_GE(::dup2(full, std::stoi(fd.path().filename())), 0);
    ::close(full);
    return;
  }
  FAIL() << "no descriptor on " << path;
}

// The disk under the log fills while a batch goes to the trash: the file
// being sent then goes without its line, but no file after it leaves.
TEST(RunSafety, ATrashBatchStopsWithItsLog) {
  RunFixture f;
  std::vector<std::string> files;
  for (int i = 0; i < 5; ++i) files.push_back(f.File("a/" + std::to_string(i) + ".tmp", 3));
  f.list.Append(f.FolderType("A", cuRecycle, "a"));
  bool filled = false;
  f.remover.onRemove = [&](const std::string&) {
    if (!filled) MakeFull(f.dir / "data/Vorlo.LOG.TXT");
    filled = true;
  };

  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

  int gone = 0;
  for (const std::string& p : files) gone += f.remover.Exists(p) ? 0 : 1;
  EXPECT_EQ(gone, 1);
  EXPECT_TRUE(f.Runs().LastOutcome().failed);
  EXPECT_EQ(f.Runs().LastOutcome().files, 1);
}

}  // namespace
}  // namespace vorlo
