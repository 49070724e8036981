#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "core/spared_files.h"
#include "support/child_process.h"
#include "support/run_fixture.h"

namespace vorlo {
namespace {

using testing::RunFixture;
using enum CleanupMethod;
namespace fs = std::filesystem;

TEST(SparedFiles, JournalNamesAndSharedFolders) {
  const struct {
    const char* name;
    const char* database;
  } journals[] = {{"places.sqlite-wal", "places.sqlite"}, {"places.sqlite-shm", "places.sqlite"},
                  {"History-journal", "History"},        {"-wal", ""},
                  {"a-wal.tmp", ""},                     {"cache.db-WAL", ""},
                  {"x-journal-wal", "x-journal"}};
  for (const auto& j : journals) EXPECT_EQ(DatabaseOfJournal(j.name), j.database) << j.name;
  EXPECT_TRUE(IsSharedStickyFolder(01777));
  EXPECT_TRUE(IsSharedStickyFolder(01733));
  EXPECT_FALSE(IsSharedStickyFolder(0777));   // no sticky bit: others may remove it anyway
  EXPECT_FALSE(IsSharedStickyFolder(01755));  // not writable by everyone
}

// Another user's file in a shared sticky folder and a journal beside its
// database count as protected, the same way in a count, an analysis and a
// clean-up; whatever else the type names goes.
TEST(SparedFiles, CountAnalysisAndCleanUpSpareTheSameFiles) {
  if (::geteuid() != 0) GTEST_SKIP() << "only root can give a file to another user";
  RunFixture f;
  const std::string shared = f.dir / "tree/c/shared", plain = f.dir / "tree/c/plain";
  fs::create_directories(shared);
  fs::create_directories(plain);
  ::chmod(shared.c_str(), 01777);
  const std::vector<std::string> taken = {
      f.File("c/shared/mine.tmp", 3),     f.File("c/plain/theirs.tmp", 3),  // no sticky bit: others' files go too
      f.File("c/db/lone.db-journal", 3),  // its database is gone
      f.File("c/db/-wal", 3),             // no database name at all
      f.File("c/db/places.sqlite", 3),
  };
  const std::vector<std::string> spared = {f.File("c/shared/theirs.tmp", 5), f.File("c/db/places.sqlite-wal", 5),
                                           f.File("c/db/places.sqlite-shm", 5)};
  for (const std::string& p : {shared + "/theirs.tmp", plain + "/theirs.tmp"})
    ASSERT_EQ(::chown(p.c_str(), testing::kNobody, testing::kNobody), 0);
  f.list.Append(f.FolderType("Spare", cuDelete, "c", {"*.*"}));

  f.RunToEnd([](RunControl& r) { r.aCountExecute(0); });
  ASSERT_EQ(f.port.messages.size(), 1u);
  EXPECT_NE(f.LastText().find("8 files matched the junk file specifications\r\n"), std::string::npos) << f.LastText();
  EXPECT_NE(f.LastText().find("3 files were protected by the protect file specifications\r\n\r\n5 files would be "
                              "processed\r\n"),
            std::string::npos)
      << f.LastText();

  f.RunToEnd([](RunControl& r) { r.act10Execute(); });
  const std::string test = f.TestLog();
  for (const std::string& p : taken) EXPECT_NE(test.find("\t" + p + "\r\n"), std::string::npos) << p;
  for (const std::string& p : spared) EXPECT_EQ(test.find(p), std::string::npos) << p;

  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });
  for (const std::string& p : taken) EXPECT_FALSE(f.remover.Exists(p)) << p;
  // The journals stay even when the database went first in the same run.
  for (const std::string& p : spared) EXPECT_TRUE(f.remover.Exists(p)) << p;
  EXPECT_NE(f.LastText().find("5 junk files"), std::string::npos) << f.LastText();
}

// The same rule for an ordinary user: root's file in a shared folder is
// protected, the user's own is taken.
TEST(SparedFiles, AnUnprivilegedUserLeavesRootsFilesInASharedFolder) {
  if (::geteuid() != 0) GTEST_SKIP() << "needs root to become another user";
  RunFixture f;
  ::chmod(f.dir.path().c_str(), 0755);
  ::chmod((f.dir / "tree").c_str(), 0755);
  const std::string shared = f.dir / "tree/shared";
  fs::create_directories(shared);
  ::chmod(shared.c_str(), 01777);
  f.File("shared/roots.tmp", 7);
  f.list.Append(f.FolderType("Shared", cuDelete, "shared"));
  EXPECT_TRUE(testing::PassesInChild(
      [&] {
        const std::string mine = shared + "/mine.tmp";
        if (std::FILE* file = std::fopen(mine.c_str(), "w")) std::fclose(file);
        f.RunToEnd([](RunControl& r) { r.aCountExecute(0); });
        return f.port.messages.size() == 1 &&
               f.LastText().find("1 file was protected by the protect file specifications\r\n\r\n1 file would be "
                                 "processed\r\n") != std::string::npos;
      },
      /*asNobody=*/true));
}

}  // namespace
}  // namespace vorlo
