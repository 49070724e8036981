#include "platform/file_ops.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "support/temp_dir.h"

namespace vorlo {
namespace {

using testing::ReadFile;
using testing::TempDir;

TEST(FileOps, ReplacingWriteLeavesOnlyTheNewFile) {
  TempDir dir;
  const std::string path = dir.Write("list.dat", "old");
  ASSERT_EQ(WriteFileReplacing(path, "new contents"), 0);
  EXPECT_EQ(ReadFile(path), "new contents");
  EXPECT_FALSE(FileExists(path + ".new"));
}

TEST(FileOps, FailedReplacingWriteKeepsTheOldFile) {
  TempDir dir;
  const std::string path = dir.Write("list.dat", "old");
  // A folder in the way of the temporary file makes the write fail.
  std::filesystem::create_directory(path + ".new");
  EXPECT_NE(WriteFileReplacing(path, "new"), 0);
  EXPECT_EQ(ReadFile(path), "old");
}

TEST(FileOps, ReadWholeFileReportsErrors) {
  TempDir dir;
  EXPECT_EQ(ReadWholeFile(dir / "missing").error, ENOENT);
  EXPECT_EQ(ReadWholeFile(dir.path()).error, EISDIR);
  EXPECT_EQ(ReadWholeFile(dir.Write("big", std::string(100, 'x')), 99).error, EFBIG);
  EXPECT_EQ(ReadWholeFile(dir.Write("ok", "abc")).bytes, "abc");
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
