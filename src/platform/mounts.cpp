#include "platform/mounts.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>
#include <vector>

#include "platform/file_ops.h"

namespace vorlo {

namespace {

std::string RealPath(const std::string& path) {
  std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(path.c_str(), nullptr), &std::free);
  return resolved ? std::string(resolved.get()) : std::string();
}

bool IsFolder(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string ParentFolder(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos || slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The sysfs folder of the device, links resolved; empty when unknown.
std::string DeviceFolder(uint32_t major, uint32_t minor, const std::string& source, const std::string& sysRoot) {
  if (major != 0) {
    const std::string byNumber =
        RealPath(sysRoot + "/dev/block/" + std::to_string(major) + ":" + std::to_string(minor));
    if (!byNumber.empty() && IsFolder(byNumber)) return byNumber;
  }
  // btrfs reports an anonymous device number; its source names the device.
  if (!source.empty() && source[0] == '/') {
    const std::string device = RealPath(source);
    if (!device.empty()) {
      const std::string byName = RealPath(sysRoot + "/class/block/" + BaseName(device));
      if (!byName.empty() && IsFolder(byName)) return byName;
    }
  }
  return {};
}

bool RemovableAt(std::string folder, int depth) {
  if (FileExists(folder + "/partition")) folder = ParentFolder(folder);
  const FileRead flag = ReadWholeFile(folder + "/removable", 64);
  if (flag.error == 0 && !flag.bytes.empty() && flag.bytes[0] == '1') return true;
  // An encrypted or RAID device on a USB stick is as removable as the stick.
  if (depth >= 8) return false;
  struct CloseDir {
    void operator()(DIR* d) const { ::closedir(d); }
  };
  std::unique_ptr<DIR, CloseDir> dir(::opendir((folder + "/slaves").c_str()));
  if (!dir) return false;
  std::vector<std::string> below;
  while (const dirent* e = ::readdir(dir.get())) {
    const std::string name = e->d_name;
    if (name != "." && name != "..") below.push_back(RealPath(folder + "/slaves/" + name));
  }
  for (const std::string& b : below)
    if (!b.empty() && RemovableAt(b, depth + 1)) return true;
  return false;
}

}  // namespace

std::string ReadMountInfo() {
  FileRead r = ReadWholeFile("/proc/self/mountinfo");
  return r.error == 0 ? std::move(r.bytes) : std::string();
}

bool IsRemovableBlockDevice(uint32_t major, uint32_t minor, const std::string& source, const std::string& sysRoot) {
  const std::string folder = DeviceFolder(major, minor, source, sysRoot);
  return !folder.empty() && RemovableAt(folder, 0);
}

DriveSize DriveTotalSize(const std::string& mountPoint) {
  struct statvfs st;
  if (::statvfs(mountPoint.c_str(), &st) != 0) return {0, errno};
  return {static_cast<uint64_t>(st.f_blocks) * static_cast<uint64_t>(st.f_frsize), 0};
}

}  // namespace vorlo
