#include "platform/mounts.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "support/temp_dir.h"

namespace vorlo {
namespace {

// A fake sysfs: an internal disk sda, a USB stick sdb, and dm-0 (an
// encrypted volume on the stick), with the links the kernel provides.
class FakeSysfs : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_.Write("sys/devices/pci0/block/sda/removable", "0\n");
    dir_.Write("sys/devices/pci0/block/sda/sda1/partition", "1\n");
    dir_.Write("sys/devices/usb/block/sdb/removable", "1\n");
    dir_.Write("sys/devices/usb/block/sdb/sdb1/partition", "1\n");
    dir_.Write("sys/devices/virtual/block/dm-0/removable", "0\n");
    std::filesystem::create_directories(dir_ / "sys/devices/virtual/block/dm-0/slaves");
    std::filesystem::create_directories(dir_ / "sys/dev/block");
    std::filesystem::create_directories(dir_ / "sys/class/block");
    Link("../../../../usb/block/sdb/sdb1", "sys/devices/virtual/block/dm-0/slaves/sdb1");
    Link("../../devices/pci0/block/sda/sda1", "sys/dev/block/8:1");
    Link("../../devices/usb/block/sdb/sdb1", "sys/dev/block/8:17");
    Link("../../devices/virtual/block/dm-0", "sys/dev/block/253:0");
    Link("../../devices/usb/block/sdb/sdb1", "sys/class/block/sdb1");
    Link("../../devices/pci0/block/sda/sda1", "sys/class/block/sda1");
    Link("../../devices/virtual/block/dm-0", "sys/class/block/dm-0");
    dir_.Write("dev/sda1");
    dir_.Write("dev/sdb1");
    dir_.Write("dev/dm-0");
    std::filesystem::create_directories(dir_ / "dev/mapper");
    Link("../dm-0", "dev/mapper/secret");
  }
  void Link(const std::string& target, const std::string& name) {
    ASSERT_EQ(::symlink(target.c_str(), (dir_ / name).c_str()), 0) << name;
  }
  testing::TempDir dir_;
};

TEST_F(FakeSysfs, RemovableFromTheDiskOfAPartitionOrTheDevicesBelow) {
  const std::string sys = dir_ / "sys";
  const struct {
    uint32_t major, minor;
    std::string source;
    bool removable;
  } cases[] = {
      {8, 1, "/dev/sda1", false},
      {8, 17, "/dev/sdb1", true},
      {253, 0, "/dev/mapper/secret", true},     // encrypted volume on the stick
      {0, 31, dir_ / "dev/sdb1", true},          // btrfs: found by its source
      {0, 31, dir_ / "dev/sda1", false},
      {0, 31, dir_ / "dev/mapper/secret", true},  // source link resolved
      {9, 9, "/nonexistent/dev/x", false},       // unknown device
      {0, 40, "tmpfs", false},
  };
  for (const auto& c : cases)
    EXPECT_EQ(IsRemovableBlockDevice(c.major, c.minor, c.source, sys), c.removable)
        << c.major << ":" << c.minor << " " << c.source;
}

TEST(Mounts, TotalSizeOfADriveAndItsError) {
  testing::TempDir dir;
  const DriveSize size = DriveTotalSize(dir.path());
  EXPECT_EQ(size.error, 0);
  EXPECT_GT(size.bytes, 0u);
  EXPECT_EQ(DriveTotalSize(dir / "missing").error, ENOENT);
}

TEST(Mounts, ReadsThisProcessMountTable) {
  const std::string text = ReadMountInfo();
  EXPECT_NE(text.find(" / / "), std::string::npos);
}

}  // namespace
}  // namespace vorlo
