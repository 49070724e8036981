#include "core/local_drives.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorlo {
namespace {

using ::testing::ElementsAre;

// A desktop: root and home on an NVMe disk, the EFI partition, a USB stick,
// memory and pseudo file systems, aliases, FUSE, a snap and a broken line.
const char* const kDesktop =
    "22 1 259:2 / / rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw,errors=remount-ro\n"
    "23 22 0:21 / /proc rw,nosuid,nodev,noexec,relatime shared:12 - proc proc rw\n"
    "24 22 0:22 / /sys rw,nosuid,nodev,noexec,relatime shared:2 - sysfs sysfs rw\n"
    "25 22 0:5 / /dev rw,nosuid,relatime shared:8 - devtmpfs udev rw,size=8049344k,mode=755\n"
    "30 22 0:25 / /run rw,nosuid,nodev,noexec,relatime shared:5 - tmpfs tmpfs rw,size=1617152k,mode=755\n"
    "40 22 259:3 / /home rw,relatime shared:30 - ext4 /dev/nvme0n1p3 rw\n"
    "41 22 259:1 / /boot/efi rw,relatime shared:31 - vfat /dev/nvme0n1p1 rw,fmask=0077,dmask=0077\n"
    "50 30 8:17 / /media/u/STICK rw,nosuid,nodev,relatime shared:40 - vfat /dev/sdb1 rw,uid=1000\n"
    "51 22 259:2 /srv/www /var/www rw,relatime shared:1 - ext4 /dev/nvme0n1p2 rw\n"
    "52 22 259:3 / /mnt/home-again rw,relatime shared:30 - ext4 /dev/nvme0n1p3 rw\n"
    "53 22 259:4 / /mnt/My\\040Data rw,relatime shared:50 - xfs /dev/nvme0n1p4 rw,attr2\n"
    "54 30 0:50 / /run/user/1000/doc rw,nosuid,nodev,relatime shared:60 - fuse.portal portal rw,user_id=1000\n"
    "55 22 0:51 / /mnt/sshfs rw,relatime - fuse.sshfs u@host:/ rw,user_id=1000\n"
    "56 22 8:33 / /mnt/win rw,relatime - fuseblk /dev/sdc1 rw,user_id=0\n"
    "57 22 7:0 / /snap/core/1 ro,nodev,relatime shared:70 - squashfs /dev/loop0 ro\n"
    "this line is broken\n"
    "58 22 0:60 / /var/lib/docker/overlay2/x/merged rw,relatime - overlay overlay rw,lowerdir=/a,upperdir=/b\n";

bool StickOnly(const MountEntry& m) { return m.source == "/dev/sdb1"; }

TEST(MountInfo, ParsesFieldsDecodesEscapesAndSkipsMalformedLines) {
  const std::vector<MountEntry> entries = ParseMountInfo(
      "36 35 98:0 /mnt1 /a\\040b\\134c rw,noatime master:1 propagate_from:2 - ext3 /dev/root rw,errors=continue\n"
      "37 36 8:1 / /x\\9y rw - ext4 /dev/sda1\r\n"
      "\n"
      "garbage\n"
      "38 36 8:1 / /nodash rw ext4 /dev/sda1 rw\n"
      "x 36 8:1 / /badid rw - ext4 /dev/sda1 rw\n"
      "39 36 81 / /baddev rw - ext4 /dev/sda1 rw\n"
      "40 36 8:1 / /notype rw -\n"
      "41 36 8:2 / /last rw - xfs /dev/sda2 rw");
  ASSERT_EQ(entries.size(), 3u);
  const MountEntry& e = entries[0];
  EXPECT_EQ(e.mountId, 36u);
  EXPECT_EQ(e.parentId, 35u);
  EXPECT_EQ(e.major, 98u);
  EXPECT_EQ(e.minor, 0u);
  EXPECT_EQ(e.root, "/mnt1");
  EXPECT_EQ(e.mountPoint, "/a b\\c");
  EXPECT_EQ(e.options, "rw,noatime");
  EXPECT_THAT(e.optionalFields, ElementsAre("master:1", "propagate_from:2"));
  EXPECT_EQ(e.fsType, "ext3");
  EXPECT_EQ(e.source, "/dev/root");
  EXPECT_EQ(e.superOptions, "rw,errors=continue");
  // An escape that is not three octal digits stays; a line may lack the
  // super options and end in CR LF or without a break.
  EXPECT_EQ(entries[1].mountPoint, "/x\\9y");
  EXPECT_EQ(entries[1].superOptions, "");
  EXPECT_EQ(entries[2].mountPoint, "/last");
}

TEST(LocalDriveRoots, DesktopListsFixedDiskMountsOnceInByteOrder) {
  const std::vector<std::string> roots = LocalDriveRoots(ParseMountInfo(kDesktop), StickOnly);
  EXPECT_THAT(roots, ElementsAre("/", "/boot/efi", "/home", "/mnt/My Data"));
  EXPECT_EQ(LocalDrivesEntryText(roots), "Local drives (/,/boot/efi,/home,/mnt/My Data)");
}

TEST(LocalDriveRoots, RootAloneAndAliasCases) {
  const struct {
    const char* name;
    const char* mountInfo;
    std::vector<std::string> roots;
  } cases[] = {
      {"empty table", "", {"/"}},
      {"container: overlay root, file bind mounts from the host disk",
       "500 400 0:60 / / rw,relatime - overlay overlay rw,lowerdir=/l,upperdir=/u\n"
       "510 500 8:1 /var/lib/docker/containers/abc/hosts /etc/hosts rw - ext4 /dev/sda1 rw\n"
       "511 500 0:70 / /dev rw - tmpfs tmpfs rw\n",
       {"/"}},
      {"btrfs subvolumes are drives, a sub-folder bind and a second mount of one are not",
       "30 1 0:31 /@ / rw,relatime shared:1 - btrfs /dev/sda2 rw,ssd,space_cache=v2,subvolid=256,subvol=/@\n"
       "31 30 0:31 /@home /home rw,relatime shared:2 - btrfs /dev/sda2 rw,ssd,subvolid=257,subvol=/@home\n"
       "32 30 0:31 /@home/u/proj /srv/proj rw - btrfs /dev/sda2 rw,ssd,subvolid=257,subvol=/@home\n"
       "33 30 0:31 /@home /mnt/h2 rw - btrfs /dev/sda2 rw,ssd,subvolid=257,subvol=/@home\n"
       "34 30 0:31 / /mnt/top rw - btrfs /dev/sda2 rw,ssd,subvolid=5,subvol=/\n",
       {"/", "/home", "/mnt/top"}},
      {"a second mount of the root device",
       "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
       "2 1 8:1 / /mnt/again rw - ext4 /dev/sda1 rw\n",
       {"/"}},
      {"same source under another device number",
       "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
       "2 1 8:2 / /data rw - ext4 /dev/sdc1 rw\n"
       "3 1 8:9 / /data2 rw - ext4 /dev/sdc1 rw\n",
       {"/", "/data"}},
      {"a later mount covers the disk mounted on the same point",
       "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
       "2 1 8:2 / /home rw - ext4 /dev/sda2 rw\n"
       "3 1 0:40 / /home rw - tmpfs tmpfs rw\n",
       {"/"}},
      {"byte order, not locale order",
       "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
       "2 1 8:2 / /b rw - ext4 /dev/sda2 rw\n"
       "3 1 8:3 / /B rw - ext4 /dev/sda3 rw\n"
       "4 1 8:4 / /\\303\\251 rw - ext4 /dev/sda4 rw\n"
       "5 1 8:5 / /a-b rw - ext4 /dev/sda5 rw\n",
       {"/", "/B", "/a-b", "/b", "/\xC3\xA9"}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(LocalDriveRoots(ParseMountInfo(c.mountInfo), StickOnly), c.roots) << c.name;
  EXPECT_EQ(LocalDrivesEntryText({"/"}), "Local drives (/)");
}

TEST(LocalDriveRoots, AsksTheRemovableProbeOnlyForCandidates) {
  std::vector<std::string> asked;
  LocalDriveRoots(ParseMountInfo(kDesktop), [&](const MountEntry& m) {
    asked.push_back(m.mountPoint);
    return false;
  });
  EXPECT_THAT(asked, ElementsAre("/home", "/boot/efi", "/media/u/STICK", "/mnt/My Data"));
}

TEST(LocalDrives, AppendsAddlAndDelimAndDropsTheLastDelim) {
  const std::vector<std::string> roots{"/", "/home"};
  EXPECT_EQ(LocalDrives(roots, "", ","), "/,/home");
  EXPECT_EQ(LocalDrives(roots, "\r\n", ""), "/\r\n/home\r\n");
  EXPECT_EQ(LocalDrives(roots, "", ""), "//home");
  EXPECT_EQ(LocalDrives(roots, ":", ", "), "/:, /home:");
  EXPECT_EQ(LocalDrives({}, "", ","), "");
}

TEST(DriveOfPath, LongestWholeComponentPrefix) {
  const std::vector<std::string> roots{"/", "/home", "/home/u/data"};
  const struct {
    const char* path;
    std::optional<std::string> drive;
  } cases[] = {
      {"/home/u/x.tmp", "/home"},  {"/homeX/a", "/"},          {"/home", "/home"},
      {"/home/", "/home"},         {"/home/u/data/f", "/home/u/data"},
      {"/home/u/database", "/home"}, {"/", "/"},               {"relative/x", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(DriveOfPath(roots, c.path), c.drive) << c.path;
  EXPECT_EQ(DriveOfPath({"/data"}, "/etc/x"), std::nullopt);
}

TEST(LocalDriveSource, RootsAreReadAfreshButTheNameIsFixedOnFirstUse) {
  std::string table = "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n";
  int reads = 0;
  LocalDriveSource source(
      [&] {
        ++reads;
        return table;
      },
      [](const MountEntry&) { return false; });
  EXPECT_EQ(source.NameForAll(), "Local drives (/)");
  table += "2 1 8:2 / /data rw - ext4 /dev/sda2 rw\n";
  EXPECT_THAT(source.Roots(), ElementsAre("/", "/data"));
  EXPECT_EQ(source.NameForAll(), "Local drives (/)");
  EXPECT_EQ(reads, 2);
}

}  // namespace
}  // namespace vorlo
