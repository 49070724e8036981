#include "platform/dir_listing.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <map>
#include <string>

#include "support/temp_dir.h"

namespace vorlo {
namespace {

using testing::TempDir;

std::map<std::string, EntryKind> Kinds(const DirEntries& e) {
  std::map<std::string, EntryKind> m;
  for (size_t i = 0; i < e.size(); ++i) m.emplace(e.Name(i), e.Kind(i));
  return m;
}

TEST(DirListing, ReportsKindsAndExactNames) {
  TempDir dir;
  const std::string odd = "bad\xFF\nname.tmp";
  dir.Write("a.txt", "hello");
  dir.Write(odd, "xy");
  dir.Write(".hidden");
  dir.Write("sub/inner.txt");
  std::filesystem::create_directory_symlink(dir / "sub", dir / "link-to-sub");
  std::filesystem::create_symlink(dir / "missing", dir / "dangling");
  ASSERT_EQ(mkfifo((dir / "fifo").c_str(), 0600), 0);

  DirListing l = DirListing::Open(dir.path());
  ASSERT_TRUE(l.IsOpen());
  DirEntries e;
  e.Add("stale", EntryKind::File);  // a reused batch starts empty
  ASSERT_TRUE(l.Read(e));
  EXPECT_EQ(l.Error(), 0);
  EXPECT_EQ(Kinds(e), (std::map<std::string, EntryKind>{{"a.txt", EntryKind::File},
                                                        {odd, EntryKind::File},
                                                        {".hidden", EntryKind::File},
                                                        {"sub", EntryKind::Folder},
                                                        {"link-to-sub", EntryKind::Symlink},
                                                        {"dangling", EntryKind::Symlink},
                                                        {"fifo", EntryKind::Other}}));
  for (size_t i = 0; i < e.size(); ++i) {
    EXPECT_EQ(e.Hidden(i), e.Name(i) == ".hidden") << e.Name(i);
    EXPECT_EQ(e.IsFile(i), e.Kind(i) == EntryKind::File || e.Kind(i) == EntryKind::Symlink);
    EXPECT_EQ(std::string(e.CName(i)), e.Name(i));
  }

  // Reading again gives the same entries.
  DirEntries again;
  ASSERT_TRUE(l.Read(again));
  EXPECT_EQ(Kinds(again), Kinds(e));
}

TEST(DirListing, StatGivesSizeAndTimeOfTheEntryItself) {
  TempDir dir;
  const std::string file = dir.Write("f.bin", std::string(3000, 'x'));
  const timeval times[2] = {{1000000000, 0}, {1234567890, 500000}};
  ASSERT_EQ(utimes(file.c_str(), times), 0);
  std::filesystem::create_symlink(file, dir / "link");

  const DirListing l = DirListing::Open(dir.path());
  const EntryStat f = l.Stat("f.bin");
  EXPECT_EQ(f.error, 0);
  EXPECT_EQ(f.size, 3000);
  EXPECT_EQ(f.mtimeUtc, 1234567890);
  EXPECT_EQ(l.Stat("link").size, static_cast<int64_t>(file.size()));  // the link, not its target
  EXPECT_EQ(l.Stat("gone").error, ENOENT);
}

TEST(DirListing, OpenAtWalksDownWithoutFollowingLinks) {
  TempDir dir;
  dir.Write("sub/deep/x.tmp");
  std::filesystem::create_directory_symlink(dir / "sub", dir / "link");

  const DirListing root = DirListing::Open(dir.path());
  const DirListing sub = DirListing::OpenAt(root, "sub");
  ASSERT_TRUE(sub.IsOpen());
  DirListing deep = DirListing::OpenAt(sub, "deep");
  DirEntries e;
  ASSERT_TRUE(deep.Read(e));
  ASSERT_EQ(e.size(), 1u);
  EXPECT_EQ(e.Name(0), "x.tmp");

  // A link to a folder is refused (the kernel says ENOTDIR or ELOOP).
  for (const DirListing& viaLink : {DirListing::OpenAt(root, "link"), DirListing::Open(dir / "link")}) {
    EXPECT_FALSE(viaLink.IsOpen());
    EXPECT_TRUE(viaLink.Error() == ENOTDIR || viaLink.Error() == ELOOP) << viaLink.Error();
  }
  EXPECT_EQ(DirListing::OpenAt(root, "sub/deep").Error(), EINVAL);
  EXPECT_EQ(DirListing::OpenAt(root, "..").Error(), EINVAL);
  EXPECT_EQ(DirListing::OpenAt(root, "missing").Error(), ENOENT);

  // A sub-folder of the same file system is on the same mount.
  ASSERT_TRUE(root.Mount().has_value());
  EXPECT_EQ(root.Mount(), sub.Mount());
}

TEST(DirListing, MissingOrUnreadableFolderGivesNoEntries) {
  TempDir dir;
  DirEntries e;
  e.Add("stale", EntryKind::File);

  DirListing missing = DirListing::Open(dir / "missing");
  EXPECT_FALSE(missing.IsOpen());
  EXPECT_EQ(missing.Error(), ENOENT);
  EXPECT_FALSE(missing.Read(e));
  EXPECT_TRUE(e.empty());
  EXPECT_EQ(missing.Fd(), -1);
  EXPECT_FALSE(missing.Mount().has_value());

  EXPECT_EQ(DirListing::Open(dir.Write("file")).Error(), ENOTDIR);
  EXPECT_EQ(DirListing::OpenAt(missing, "x").Error(), ENOENT);

  if (geteuid() != 0) {  // root reads every folder
    dir.Write("locked/x");
    ASSERT_EQ(chmod((dir / "locked").c_str(), 0), 0);
    EXPECT_EQ(DirListing::Open(dir / "locked").Error(), EACCES);
    chmod((dir / "locked").c_str(), 0700);
  }
}

TEST(DirListing, LinkCountTellsLeafFoldersWhereTheFileSystemCountsThem) {
  // tmpfs counts sub-folders in a folder's links; the test needs one.
  std::string templ = "/dev/shm/vorlo-links-XXXXXX";
  if (::mkdtemp(templ.data()) == nullptr) GTEST_SKIP() << "no /dev/shm";
  const std::string root = templ;
  std::filesystem::create_directories(root + "/leaf");
  std::filesystem::create_directories(root + "/branch/sub");
  DirListing listing = DirListing::Open(root);
  const bool counts = listing.CountsSubfolderLinks();
  const uint64_t leaf = listing.Stat("leaf").links, branch = listing.Stat("branch").links;
  std::filesystem::remove_all(root);
  if (!counts) GTEST_SKIP() << "/dev/shm does not count links";
  EXPECT_EQ(leaf, 2u);
  EXPECT_EQ(branch, 3u);
}

}  // namespace
}  // namespace vorlo
