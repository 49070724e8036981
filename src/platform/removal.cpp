#include "platform/removal.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/safe_path.h"

namespace vorlo {

bool PathExists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

RemovalResult DeleteFilePermanently(std::string_view path) {
  OpenedEntry entry;
  if (const int err = OpenEntry(path, entry)) return {err};
  return DeleteFileAt(entry.folder.get(), entry.name.c_str());
}

RemovalResult DeleteFileAt(int folder, const char* name, const FileIdentity* expected) {
  RemovalLease lease;
  if (const int err = lease.Take(folder, name, expected)) return {err};
  const mode_t mode = lease.Mode();
  if (const int err = FileKindError(mode)) return {err};
  if (S_ISREG(mode) && (mode & 0222) == 0) return {EACCES};
  if (const int err = lease.Confirm(folder, name)) return {err};
  if (::unlinkat(folder, name, 0) != 0) return {errno};
  return {};
}

namespace {

// Moves the opened file to the same path below `base` (the first
// `baseDepth` parts of its path) + "/Vorlo$$$.$$$". Fails without touching
// anything when the holding folder cannot be had there.
int MoveBelow(int fileFolder, const std::string& fileName, const std::vector<std::string>& parts, size_t baseDepth,
              const MountIdentity& fileFs, const RemovalLease& lease, bool& holdingReady) {
  holdingReady = false;
  UniqueFd base;
  if (const int err = OpenFolder(parts, baseDepth, base)) return err;
  MountIdentity baseFs;
  if (const int err = IdentityOf(base.get(), baseFs)) return err;
  if (!(baseFs == fileFs)) return EXDEV;  // a rename cannot get there; never copy
  const uid_t me = ::geteuid();
  UniqueFd folder;
  if (const int err = OpenOwnedFolder(base.get(), kHoldingFolderName, me, true, folder)) return err;
  holdingReady = true;

  for (size_t i = baseDepth; i + 1 < parts.size(); ++i) {
    UniqueFd next;
    if (const int err = OpenOwnedFolder(folder.get(), parts[i], me, true, next)) return err;
    folder = std::move(next);
  }

  // An earlier copy of the same path is replaced; a folder or anything else
  // found there stays, and the rename below then fails.
  const char* name = fileName.c_str();
  struct stat old {};
  if (::fstatat(folder.get(), name, &old, AT_SYMLINK_NOFOLLOW) == 0) {
    if (S_ISREG(old.st_mode)) {
      if ((old.st_mode & S_IWUSR) == 0) ::fchmodat(folder.get(), name, (old.st_mode & 07777) | S_IWUSR, 0);
      ::unlinkat(folder.get(), name, 0);
    } else if (S_ISLNK(old.st_mode)) {
      ::unlinkat(folder.get(), name, 0);
    }
  }
  if (const int err = lease.Confirm(fileFolder, fileName.c_str())) return err;
  return RenameNoReplace(fileFolder, fileName, folder.get(), fileName);
}

}  // namespace

RemovalResult MoveToHolding(std::string_view path, const HoldingSetup& setup) {
  OpenedEntry entry;
  if (const int err = OpenEntry(path, entry)) return {err};
  return MoveToHoldingAt(entry.folder.get(), entry.name.c_str(), path, setup);
}

RemovalResult MoveToHoldingAt(int folder, const char* name, std::string_view path, const HoldingSetup& setup,
                              const FileIdentity* expected, std::string* movedTo) {
  std::vector<std::string> parts;
  if (!SplitPath(path, parts) || parts.empty()) return {EINVAL};
  const std::string fileName(name);
  RemovalLease lease;
  if (const int err = lease.Take(folder, name, expected)) return {err};
  if (const int err = FileKindError(lease.Mode())) return {err};
  MountIdentity fileFs;
  if (const int err = IdentityOf(folder, fileFs)) return {err};

  // The drive root first; the home folder stands in when no holding folder
  // can be had there (a root-owned "/" for a user).
  std::vector<size_t> bases;
  if (const int depth = DriveDepth(parts, setup.driveRoots); depth >= 0) bases.push_back(depth);
  if (const int depth = DriveDepth(parts, {setup.homeFolder}); depth >= 0) bases.push_back(depth);

  int result = EXDEV;
  for (size_t i = 0; i < bases.size(); ++i) {
    if (i > 0 && bases[i] == bases[0]) continue;
    bool holdingReady = false;
    const int err = MoveBelow(folder, fileName, parts, bases[i], fileFs, lease, holdingReady);
    if (err == 0 && movedTo != nullptr) {
      movedTo->clear();
      for (size_t k = 0; k < bases[i]; ++k) *movedTo += "/" + parts[k];
      *movedTo += std::string("/") + kHoldingFolderName;
      for (size_t k = bases[i]; k < parts.size(); ++k) *movedTo += "/" + parts[k];
    }
    if (holdingReady || err == 0) return {err};
    if (i == 0) result = err;  // the drive's reason is the one to report
  }
  return {result};
}

}  // namespace vorlo
