#include "core/local_drives.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <map>
#include <utility>

#include "platform/mounts.h"

namespace vorlo {

namespace {

// Undoes the kernel's octal escapes (\040 space, \011 tab, \012 newline,
// \134 backslash); anything else stays as it is.
std::string Unescape(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size()) {
      const char a = s[i + 1], b = s[i + 2], c = s[i + 3];
      if (a >= '0' && a <= '3' && b >= '0' && b <= '7' && c >= '0' && c <= '7') {
        out += static_cast<char>(((a - '0') << 6) | ((b - '0') << 3) | (c - '0'));
        i += 3;
        continue;
      }
    }
    out += s[i];
  }
  return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

bool ParseNumber(std::string_view s, uint32_t& v) {
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

bool ParseLine(std::string_view line, MountEntry& e) {
  const std::vector<std::string_view> f = Fields(line);
  const auto dash = std::find(f.begin(), f.end(), std::string_view("-"));
  // Six fixed fields before the separator, type and source after it.
  if (dash == f.end() || dash - f.begin() < 6 || f.end() - dash < 3) return false;
  const std::string_view dev = f[2];
  const size_t colon = dev.find(':');
  if (colon == std::string_view::npos) return false;
  if (!ParseNumber(f[0], e.mountId) || !ParseNumber(f[1], e.parentId) ||
      !ParseNumber(dev.substr(0, colon), e.major) || !ParseNumber(dev.substr(colon + 1), e.minor))
    return false;
  if (f[3].empty() || f[3][0] != '/' || f[4].empty() || f[4][0] != '/') return false;
  e.root = Unescape(f[3]);
  e.mountPoint = Unescape(f[4]);
  e.options = Unescape(f[5]);
  for (auto it = f.begin() + 6; it != dash; ++it) e.optionalFields.push_back(Unescape(*it));
  e.fsType = Unescape(dash[1]);
  e.source = Unescape(dash[2]);
  if (f.end() - dash > 3) e.superOptions = Unescape(dash[3]);
  return true;
}

// The folder of a btrfs file system that is the mounted subvolume itself
// (its "subvol=" option); empty for other types.
std::string SubvolumeOf(const MountEntry& m) {
  if (m.fsType != "btrfs") return {};
  std::string_view opts = m.superOptions;
  while (!opts.empty()) {
    const size_t comma = opts.find(',');
    const std::string_view opt = opts.substr(0, comma);
    if (opt.starts_with("subvol=")) return std::string(opt.substr(7));
    if (comma == std::string_view::npos) break;
    opts.remove_prefix(comma + 1);
  }
  return {};
}

// A mount of a whole file system, as opposed to a bind mount of one of its
// sub-folders. A btrfs subvolume is a file system of its own for this test:
// its root field is the subvolume's folder.
bool IsWholeMount(const MountEntry& m) {
  if (m.root == "/") return true;
  const std::string subvol = SubvolumeOf(m);
  return !subvol.empty() && subvol == m.root;
}

bool SameFileSystem(const MountEntry& a, const MountEntry& b) {
  const bool sameDevice = (a.major == b.major && a.minor == b.minor) || a.source == b.source;
  return sameDevice && a.root == b.root;
}

}  // namespace

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
  std::vector<MountEntry> entries;
  while (!text.empty()) {
    const size_t nl = text.find('\n');
    const std::string_view line = text.substr(0, nl);
    text.remove_prefix(nl == std::string_view::npos ? text.size() : nl + 1);
    MountEntry e;
    if (ParseLine(line, e)) entries.push_back(std::move(e));
  }
  return entries;
}

bool IsDiskFileSystem(std::string_view fsType) {
  static constexpr std::array<std::string_view, 14> kTypes = {
      "ext2", "ext3", "ext4", "xfs", "btrfs", "f2fs", "jfs", "reiserfs", "bcachefs",
      "ntfs", "ntfs3", "vfat", "exfat", "hfsplus"};
  return std::find(kTypes.begin(), kTypes.end(), fsType) != kTypes.end();
}

std::vector<std::string> LocalDriveRoots(const std::vector<MountEntry>& mounts, const RemovableProbe& isRemovable) {
  // A later mount on the same mount point covers the earlier ones.
  std::map<std::string, const MountEntry*> visible;
  std::vector<const MountEntry*> inOrder;
  for (const MountEntry& m : mounts) {
    auto [it, added] = visible.try_emplace(m.mountPoint, &m);
    if (!added) it->second = &m;
  }
  for (const MountEntry& m : mounts)
    if (visible[m.mountPoint] == &m) inOrder.push_back(&m);

  std::vector<std::string> roots{"/"};
  std::vector<const MountEntry*> listed;
  if (auto it = visible.find("/"); it != visible.end()) listed.push_back(it->second);

  // Mount order decides which of two mounts of one file system is the alias.
  for (const MountEntry* m : inOrder) {
    if (m->mountPoint == "/") continue;
    if (!m->source.starts_with("/dev/") || !IsDiskFileSystem(m->fsType) || !IsWholeMount(*m)) continue;
    if (std::any_of(listed.begin(), listed.end(), [&](const MountEntry* l) { return SameFileSystem(*l, *m); }))
      continue;
    if (isRemovable && isRemovable(*m)) continue;
    roots.push_back(m->mountPoint);
    listed.push_back(m);
  }
  std::sort(roots.begin(), roots.end());
  return roots;
}

std::string LocalDrives(const std::vector<std::string>& roots, std::string_view addl, std::string_view delim) {
  std::string result;
  for (const std::string& root : roots) {
    result += root;
    result += addl;
    result += delim;
  }
  if (!result.empty()) result.erase(result.size() - delim.size());
  return result;
}

std::string LocalDrivesEntryText(const std::vector<std::string>& roots) {
  std::string text(kLocalDrivesFormat);
  text.replace(text.find("%s"), 2, LocalDrives(roots, "", ","));
  return text;
}

LocalDriveSource::LocalDriveSource(MountInfoReader readMountInfo, RemovableProbe isRemovable)
    : readMountInfo_(std::move(readMountInfo)), isRemovable_(std::move(isRemovable)) {}

std::vector<std::string> LocalDriveSource::Roots() const {
  return LocalDriveRoots(ParseMountInfo(readMountInfo_ ? readMountInfo_() : std::string()), isRemovable_);
}

const std::string& LocalDriveSource::NameForAll() {
  if (!nameForAll_) nameForAll_ = LocalDrivesEntryText(Roots());
  return *nameForAll_;
}

LocalDriveSource SystemLocalDriveSource() {
  return LocalDriveSource(&ReadMountInfo, [](const MountEntry& m) {
    return IsRemovableBlockDevice(m.major, m.minor, m.source);
  });
}

}  // namespace vorlo
