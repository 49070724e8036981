#include "platform/file_ops.h"

#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/stat.h>

#include <cerrno>
#include <csignal>
#include <filesystem>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using testing::ReadFile;
using testing::TempDir;

size_t Entries(const std::string& folder) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

TEST(FileOps, ReplacingWriteLeavesOnlyTheNewFile) {
  TempDir dir;
  const std::string path = dir.Write("list.dat", "old");
  ASSERT_EQ(WriteFileReplacing(path, "new contents"), 0);
  EXPECT_EQ(ReadFile(path), "new contents");
  EXPECT_EQ(Entries(dir.path()), 1u);
}

// Whatever already has a name beside the file (here a hard link to another
// file, and a folder) is left alone: the new file gets a name of its own.
TEST(FileOps, ReplacingWriteNeverOpensAnExistingFile) {
  TempDir dir;
  const std::string path = dir.Write("list.dat", "old");
  const std::string other = dir.Write("other", "precious");
  std::filesystem::create_hard_link(other, path + ".new");
  std::filesystem::create_directory(path + ".tmp");
  ASSERT_EQ(WriteFileReplacing(path, "new contents"), 0);
  EXPECT_EQ(ReadFile(path), "new contents");
  EXPECT_EQ(ReadFile(other), "precious");
  EXPECT_EQ(ReadFile(path + ".new"), "precious");
  EXPECT_EQ(Entries(dir.path()), 4u);
}

// A file written in pieces replaces the old one only when committed; one
// given up, or dropped unfinished, leaves the old file and nothing else.
TEST(FileOps, ReplacingFileTakesThePlaceOnlyWhenCommitted) {
  TempDir dir;
  const std::string path = dir.Write("found", "old");
  {
    ReplacingFile file;
    ASSERT_EQ(file.Open(path), 0);
    ASSERT_EQ(file.Write("new "), 0);
    ASSERT_EQ(file.Write("contents"), 0);
    EXPECT_EQ(ReadFile(path), "old");
    EXPECT_EQ(Entries(dir.path()), 2u);
    ASSERT_EQ(file.Commit(), 0);
    EXPECT_FALSE(file.IsOpen());
  }
  EXPECT_EQ(ReadFile(path), "new contents");
  EXPECT_EQ(Entries(dir.path()), 1u);
  for (const bool abandon : {true, false}) {
    ReplacingFile file;
    ASSERT_EQ(file.Open(path), 0);
    ASSERT_EQ(file.Write("half"), 0);
    if (abandon) {
      file.Abandon();
      EXPECT_EQ(file.Write("more"), EBADF);
      EXPECT_EQ(file.Commit(), EBADF);
      EXPECT_EQ(Entries(dir.path()), 1u);
    }
  }
  EXPECT_EQ(ReadFile(path), "new contents");
  EXPECT_EQ(Entries(dir.path()), 1u);
}

TEST(FileOps, FailedReplacingWriteKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.Write("list.dat", "old");
  // A file size limit makes the write itself fail, for root too.
  EXPECT_TRUE(testing::PassesInChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{2, 2};
    return ::setrlimit(RLIMIT_FSIZE, &small) == 0 && WriteFileReplacing(path, "new contents") == EFBIG;
  }));
  EXPECT_EQ(ReadFile(path), "old");
  EXPECT_EQ(Entries(dir.path()), 1u);  // the new file is gone
  // A folder in the way of the rename.
  std::filesystem::create_directory(dir / "folder");
  EXPECT_EQ(WriteFileReplacing(dir / "folder", "new"), EISDIR);
  EXPECT_EQ(Entries(dir.path()), 2u);
}

TEST(FileOps, ReadWholeFileReportsErrors) {
  TempDir dir;
  EXPECT_EQ(ReadWholeFile(dir / "missing").error, ENOENT);
  EXPECT_EQ(ReadWholeFile(dir.path()).error, EISDIR);
  EXPECT_EQ(ReadWholeFile(dir.Write("big", std::string(100, 'x')), 99).error, EFBIG);
  EXPECT_EQ(ReadWholeFile(dir.Write("ok", "abc")).bytes, "abc");
  std::filesystem::create_symlink(dir / "ok", dir / "link");
  EXPECT_EQ(ReadWholeFile(dir / "link").bytes, "abc");
  std::filesystem::create_symlink(dir / "gone", dir / "dangling");
  EXPECT_EQ(ReadWholeFile(dir / "dangling").error, ENOENT);
  EXPECT_NE(ErrorText(kNotRegularFile), ErrorText(EINVAL));
}

// A FIFO without a writer, and a device, are refused at once, before any read.
TEST(FileOps, ReadWholeFileRefusesWhatIsNoRegularFile) {
  TempDir dir;
  const std::string fifo = dir / "fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, std::string("/dev/zero")})
    EXPECT_TRUE(testing::PassesInChild([&] { return ReadWholeFile(path).error == kNotRegularFile; }, false, 5))
        << path;
}

TEST(FileOps, FolderCreationAndTests) {
  TempDir dir;
  EXPECT_EQ(CreateFolderTree(dir / "a/b/c"), 0);
  EXPECT_TRUE(FolderExists(dir / "a/b/c"));
  EXPECT_EQ(CreateFolder(dir / "a"), 0);  // existing folder
  EXPECT_EQ(CreateFolder(dir / "x/y"), ENOENT);
  EXPECT_FALSE(FileExists(dir / "a"));
  EXPECT_TRUE(FileExists(dir.Write("f")));
  EXPECT_NE(ErrorText(ENOENT), "");
}

}  // namespace
}  // namespace vorlo
