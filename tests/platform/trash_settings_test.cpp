#include "platform/trash_settings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_dir.h"

namespace vorlo {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

constexpr uint32_t kUid = 1000;

std::string MakeFolder(const std::string& path, mode_t mode = 0755) {
  fs::create_directories(path);
  ::chmod(path.c_str(), mode);
  return path;
}

// Drives as folders of one temporary tree: the home trash lies on `root`;
// each other drive shows one way its trash folder can look.
class TrashSettingsTree : public ::testing::Test {
 protected:
  TempDir tmp;
  std::string root = tmp.path();
  std::string homeTrash = MakeFolder(root + "/home/u/.local/share/Trash");
  std::string ktrashrc = tmp / "ktrashrc";
  TrashSetup setup;

  void SetUp() override {
    MakeFolder(root + "/perDrive/.Trash-1000", 0700);
    MakeFolder(root + "/shared/.Trash", 01777);
    MakeFolder(root + "/shared/.Trash/1000", 0700);
    MakeFolder(root + "/notSticky/.Trash", 0777);
    MakeFolder(root + "/notSticky/.Trash/1000", 0700);  // not used: .Trash lacks the sticky bit
    MakeFolder(root + "/notSticky/.Trash-1000", 0700);
    MakeFolder(root + "/linked/elsewhere", 01777);
    MakeFolder(root + "/linked/elsewhere/1000", 0700);
    fs::create_directory_symlink("elsewhere", root + "/linked/.Trash");
    MakeFolder(root + "/empty");
    MakeFolder(root + "/ho");  // a prefix of "home" that is no path component of it
    // Listed drives in an order that is not sorted: the result keeps it.
    setup.driveRoots = {root + "/shared", root, root + "/perDrive", root + "/notSticky",
                        root + "/linked", root + "/empty", root + "/ho"};
    setup.homeTrash = homeTrash;
    setup.uid = kUid;
  }
};

TEST_F(TrashSettingsTree, FindsEachDrivesTrashFolder) {
  const std::vector<TrashDriveSettings> got = ReadTrashSettings(setup, ktrashrc);  // no ktrashrc: no limits
  const std::vector<TrashDriveSettings> expected = {
      {root + "/shared", true, true, 100},    {root, true, true, 100},
      {root + "/perDrive", true, true, 100},  {root + "/notSticky", true, true, 100},
      {root + "/linked", false, false, 100},  {root + "/empty", false, false, 100},
      {root + "/ho", false, false, 100},
  };
  EXPECT_EQ(got, expected);
}

TEST_F(TrashSettingsTree, TrashFolderWithoutWriteAccessIsOff) {
  if (::geteuid() == 0) GTEST_SKIP() << "root may write anywhere";
  ::chmod((root + "/perDrive/.Trash-1000").c_str(), 0500);
  const std::vector<TrashDriveSettings> got = ReadTrashSettings(setup, ktrashrc);
  EXPECT_TRUE(got[2].listed);
  EXPECT_FALSE(got[2].writable);
  ::chmod((root + "/perDrive/.Trash-1000").c_str(), 0700);
}

TEST_F(TrashSettingsTree, TakesPercentFromKtrashrcGroups) {
  tmp.Write("ktrashrc",
            "# written by hand\n"
            "Percent=1\n"
            "[General]\n"
            "Percent=2\n"
            "UseSizeLimit=true\n"
            "\n"
            "[" + homeTrash + "]\r\n"
            "Days=7\r\n"
            "  UseSizeLimit = true \r\n"
            "Percent=10.5\r\n"
            "[" + root + "/perDrive/.Trash-1000/]\n"  // a trailing "/" names the same folder
            "UseSizeLimit=false\n"
            "Percent=5\n"
            "[" + root + "/shared/.Trash/1000]\n"
            "UseSizeLimit=true\n"
            "Percent=0.9\n"
            "[" + root + "/notSticky/.Trash-1000]\n"
            "UseSizeLimit=true\n"
            "Percent=250\n"
            "[" + root + "/notSticky/.Trash/1000]\n"  // the folder not used
            "UseSizeLimit=true\n"
            "Percent=3\n"
            "[" + root + "/empty/.Trash-1000][Nested]\n"
            "UseSizeLimit=true\n"
            "Percent=4\n"
            "[" + root + "/ho/.Trash-1000]\n"
            "UseSizeLimit=true\n");  // limit without a percent: KDE's default 10
  std::vector<int32_t> percents;
  for (const TrashDriveSettings& s : ReadTrashSettings(setup, ktrashrc)) percents.push_back(s.percent);
  EXPECT_EQ(percents, (std::vector<int32_t>{0, 10, 100, 100, 100, 100, 10}));
}

}  // namespace
}  // namespace vorlo
