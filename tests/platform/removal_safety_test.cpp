// What keeps a removal from taking a file nobody meant: a file another
// program has open stays whatever goes wrong while asking, a file that
// changed since the decision stays, logs are never written through a link,
// and root never follows a link another user could have put in a folder's
// path.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "platform/file_ops.h"
#include "platform/folder_path.h"
#include "platform/output_file.h"
#include "platform/removal.h"
#include "platform/safe_path.h"
#include "platform/trash.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

// One file removed by each method, relative to its open folder, as a
// clean-up does; the result code.
struct Method {
  const char* name;
  std::function<int(int folder, const std::string& name, const std::string& path, const FileIdentity* expected)> remove;
};

std::vector<Method> Methods(const TempDir& dir) {
  const HoldingSetup holding{{dir.path()}, ""};
  const TrashSetup trash{dir / "Trash", {dir.path()}, static_cast<uint32_t>(::geteuid()), nullptr};
  return {
      {"delete", [](int f, const std::string& n, const std::string&, const FileIdentity* e) {
         return DeleteFileAt(f, n.c_str(), e).error;
       }},
      {"holding", [holding](int f, const std::string& n, const std::string& p, const FileIdentity* e) {
         return MoveToHoldingAt(f, n.c_str(), p, holding, e).error;
       }},
      {"trash", [trash](int f, const std::string& n, const std::string& p, const FileIdentity* e) {
         std::optional<FileIdentity> expected;
         if (e != nullptr) expected = *e;
         return SendToTrashAt({{f, n, p, expected}}, trash).at(0).error;
       }},
  };
}

FileIdentity IdentityOfPath(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return IdentityOfStat(st);
}

// A file another program holds stays, and the reason is said; asking must
// not fail open, whatever the file's mode or the descriptors left.
TEST(FilesInUse, AFileHeldOpenStaysWhateverTheMethod) {
  const struct {
    const char* holder;
    std::function<int(const std::string& path)> hold;  // a descriptor kept open during the removal
  } holders[] = {
      {"a reader", [](const std::string& p) { return ::open(p.c_str(), O_RDONLY); }},
      {"a writer", [](const std::string& p) { return ::open(p.c_str(), O_WRONLY); }},
  };
  TempDir dir;
  for (const Method& m : Methods(dir))
    for (const auto& h : holders) {
      SCOPED_TRACE(std::string(m.name) + ", " + h.holder);
      const std::string path = dir.Write("data/held.tmp", "held");
      const int held = h.hold(path);
      ASSERT_GE(held, 0);
      const int folder = ::open((dir / "data").c_str(), O_RDONLY | O_DIRECTORY);
      EXPECT_EQ(m.remove(folder, "held.tmp", path, nullptr), kFileInUse);
      EXPECT_TRUE(PathExists(path));
      ::close(held);
      EXPECT_EQ(m.remove(folder, "held.tmp", path, nullptr), 0);  // free again
      ::close(folder);
    }
}

// The cases the first files-in-use check let through, each in a child:
// an unprivileged user's write-only file held by its writer, and a process
// that has no descriptor left to ask with.
TEST(FilesInUse, AQuestionThatCannotBeAskedLeavesTheFile) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  TempDir dir;
  ::chmod(dir.path().c_str(), 0755);
  const std::string folder = dir / "data";
  fs::create_directories(folder);
  ASSERT_EQ(::chown(folder.c_str(), testing::kNobody, testing::kNobody), 0);
  for (const Method& m : Methods(dir)) {
    SCOPED_TRACE(m.name);
    // Trash and holding folders of the unprivileged user's own.
    fs::remove_all(dir / "Trash");
    fs::remove_all(dir / kHoldingFolderName);
    EXPECT_TRUE(testing::PassesInChild(
        [&] {
          const std::string path = folder + "/writeonly.tmp";
          const int writer = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0200);
          const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
          const bool stays = m.remove(dirFd, "writeonly.tmp", path, nullptr) == kFileInUse && PathExists(path);
          ::close(writer);
          ::unlink(path.c_str());
          return writer >= 0 && stays;
        },
        /*asNobody=*/true));
  }
  for (const Method& m : Methods(dir)) {
    SCOPED_TRACE(std::string(m.name) + ", no descriptor left");
    const std::string path = dir.Write("data/held.tmp", "held");
    EXPECT_TRUE(testing::PassesInChild([&] {
      const int reader = ::open(path.c_str(), O_RDONLY);
      const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
      // Not one more descriptor: the open that asks for the lease fails.
      const rlimit none{static_cast<rlim_t>(dirFd + 1), static_cast<rlim_t>(dirFd + 1)};
      ::setrlimit(RLIMIT_NOFILE, &none);
      while (::dup(0) >= 0) {
      }
      const int result = m.remove(dirFd, "held.tmp", path, nullptr);
      return reader >= 0 && result == EMFILE && PathExists(path);
    }));
  }
}

// A program that opens the file while the trash holds the lease (writing
// the info file) breaks it: the file stays, and no info file is left.
TEST(FilesInUse, AnOpenWhileTheTrashWritesItsInfoKeepsTheFile) {
  TempDir dir;
  const std::string path = dir.Write("data/x.tmp", "x");
  const TrashSetup trash{dir / "Trash", {dir.path()}, static_cast<uint32_t>(::geteuid()), nullptr};
  int opener = -1;
  const auto openMeanwhile = [&](TrashStep step) {
    // Does not wait for the lease to break, but asks for it.
    if (step == TrashStep::kMove) opener = ::open(path.c_str(), O_RDONLY | O_NONBLOCK);
    return 0;
  };
  EXPECT_EQ(SendToTrash({path}, trash, openMeanwhile).at(0).error, kFileInUse);
  EXPECT_EQ(opener, -1);
  EXPECT_EQ(testing::ReadFile(path), "x");
  for (const auto& e : fs::directory_iterator(dir / "Trash/info"))
    EXPECT_FALSE(e.path().string().ends_with(".trashinfo")) << e.path();
}

// A removal acts only on the very file its decision was made on.
TEST(ChangedFiles, AFileChangedSinceTheDecisionStays) {
  const struct {
    const char* change;
    std::function<void(const std::string& path)> make;
  } changes[] = {
      {"appended to", [](const std::string& p) { std::ofstream(p, std::ios::app) << "more"; }},
      {"truncated", [](const std::string& p) { EXPECT_EQ(::truncate(p.c_str(), 1), 0); }},
      {"written anew, same size", [](const std::string& p) {
         const timespec later[2] = {{0, UTIME_OMIT}, {2000000000, 0}};
         ::utimensat(AT_FDCWD, p.c_str(), later, 0);
       }},
      {"renamed over", [](const std::string& p) {
         std::ofstream(p + ".new") << "other";
         ::rename((p + ".new").c_str(), p.c_str());
       }},
      {"replaced by a link", [](const std::string& p) {
         ::unlink(p.c_str());
         ::symlink("elsewhere", p.c_str());
       }},
  };
  TempDir dir;
  for (const Method& m : Methods(dir))
    for (const auto& c : changes) {
      SCOPED_TRACE(std::string(m.name) + ", " + c.change);
      const std::string path = dir.Write("data/x.tmp", "first");
      const FileIdentity decided = IdentityOfPath(path);
      c.make(path);
      const FileIdentity now = IdentityOfPath(path);
      const int folder = ::open((dir / "data").c_str(), O_RDONLY | O_DIRECTORY);
      EXPECT_EQ(m.remove(folder, "x.tmp", path, &decided), kFileChanged);
      EXPECT_TRUE(PathExists(path));
      EXPECT_EQ(m.remove(folder, "x.tmp", path, &now), 0);  // the file as it is now may go
      ::close(folder);
    }
}

// A log is never opened through a link or as anything but a file; root,
// writing into a folder another user owns, writes no file of that user's
// (nor one with a second name) and truncates nothing it refused.
TEST(OutputFileTest, OpensOnlyItsOwnRegularFile) {
  TempDir dir;
  const struct {
    const char* what;
    std::function<std::string()> make;  // the path to open
    int expected;
  } cases[] = {
      {"a new file", [&] { return dir / "new.log"; }, 0},
      {"an existing file", [&] { return dir.Write("old.log", "old"); }, 0},
      {"a link to a file", [&] {
         fs::create_symlink(dir.Write("target.log", "keep"), dir / "link.log");
         return dir / "link.log";
       }, ELOOP},
      {"a dangling link", [&] {
         fs::create_symlink(dir / "nowhere", dir / "dangling.log");
         return dir / "dangling.log";
       }, ELOOP},
      {"a FIFO", [&] {
         ::mkfifo((dir / "fifo.log").c_str(), 0600);
         return dir / "fifo.log";
       }, ENXIO},
      {"a folder", [&] {
         fs::create_directory(dir / "folder.log");
         return dir / "folder.log";
       }, EISDIR},
  };
  for (const auto& c : cases) {
    OutputFile file;
    EXPECT_EQ(file.Open(c.make(), OutputFile::Mode::Replace), c.expected) << c.what;
  }
  EXPECT_EQ(testing::ReadFile(dir / "target.log"), "keep");

  if (::geteuid() != 0) return;
  const std::string theirs = dir / "theirs";
  fs::create_directories(theirs);
  ASSERT_EQ(::chown(theirs.c_str(), testing::kNobody, testing::kNobody), 0);
  const std::string planted = dir.Write("theirs/Vorlo.LOG.TXT", "theirs");
  ASSERT_EQ(::chown(planted.c_str(), testing::kNobody, testing::kNobody), 0);
  const std::string rootsOwn = dir.Write("roots-secret", "secret");
  ASSERT_EQ(::link(rootsOwn.c_str(), (theirs + "/Vorlo.TEST.TXT").c_str()), 0);
  OutputFile file;
  EXPECT_EQ(file.Open(planted, OutputFile::Mode::Append), EPERM);
  EXPECT_EQ(file.Open(theirs + "/Vorlo.TEST.TXT", OutputFile::Mode::Replace), EPERM);
  EXPECT_EQ(testing::ReadFile(rootsOwn), "secret");
  EXPECT_EQ(file.Open(theirs + "/fresh.log", OutputFile::Mode::Replace), 0);  // root's own, made now
  // In root's own folder another user's file is just a file.
  const std::string given = dir.Write("given.log", "x");
  ASSERT_EQ(::chown(given.c_str(), testing::kNobody, testing::kNobody), 0);
  EXPECT_EQ(file.Open(given, OutputFile::Mode::Append), 0);
}

// Running as root, a folder entry whose path leads through a link another
// user owns, or that lies in a folder another user may change, is refused.
TEST(FolderEntryResolution, RootRefusesLinksOtherUsersCouldChange) {
  if (::geteuid() != 0) GTEST_SKIP() << "the rule is root's";
  TempDir dir;
  const std::string target = dir / "root-only";
  fs::create_directories(target);
  const struct {
    const char* what;
    uid_t linkOwner;
    uid_t folderOwner;
    mode_t folderMode;
    int expected;
  } cases[] = {
      {"root's link in root's folder", 0, 0, 0755, 0},
      {"root's link in a shared sticky folder", 0, 0, 01777, 0},
      {"another user's link", testing::kNobody, 0, 0755, kUnsafeLink},
      {"root's link in another user's folder", 0, testing::kNobody, 0755, kUnsafeLink},
      {"root's link in a folder everyone may change", 0, 0, 0777, kUnsafeLink},
      {"root's link in a group-writable folder", 0, 0, 0775, kUnsafeLink},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string folder = dir / ("f" + std::to_string(n++));
    fs::create_directories(folder);
    ::chmod(folder.c_str(), c.folderMode);
    ASSERT_EQ(::chown(folder.c_str(), c.folderOwner, 0), 0);
    const std::string link = folder + "/cache";
    fs::create_symlink(target, link);
    ASSERT_EQ(::lchown(link.c_str(), c.linkOwner, 0), 0);
    const FolderResolution r = ResolveFolderEntry(link + "/sub");
    EXPECT_EQ(r.error, c.expected) << c.what;
    if (c.expected == 0) {
      EXPECT_EQ(r.path, target + "/sub") << c.what;
    }
  }
  // Without links nothing is refused, whoever owns the folders.
  EXPECT_EQ(ResolveFolderEntry(dir / "f3").error, 0);
}

}  // namespace
}  // namespace vorlo
