#include "platform/restore.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "platform/file_ops.h"
#include "platform/safe_path.h"
#include "platform/trash_info.h"

namespace vorlo {

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  return a.dev == b.dev && a.ino == b.ino && a.size == b.size && a.mtimeNs == b.mtimeNs;
}

namespace {

std::optional<FileIdentity> IdentityIn(int folder, const std::string& name) {
  struct stat st {};
  if (::fstatat(folder, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  return IdentityOfStat(st);
}

// Opens the folder of `original` (all parts but the last), making the
// missing ones; no link is followed on the way.
int OpenOriginalFolder(const std::vector<std::string>& parts, uint32_t folderMode, UniqueFd& folder) {
  UniqueFd current(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!current.valid()) return errno;
  for (size_t i = 0; i + 1 < parts.size(); ++i) {
    const char* part = parts[i].c_str();
    UniqueFd next(::openat(current.get(), part, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    if (!next.valid() && errno == ENOENT) {
      const bool own = i + 2 == parts.size() && folderMode != 0;
      if (::mkdirat(current.get(), part, own ? (folderMode & 07777) : 0700) != 0 && errno != EEXIST) return errno;
      next.reset(::openat(current.get(), part, O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
    }
    if (!next.valid()) return errno;
    current = std::move(next);
  }
  folder = std::move(current);
  return 0;
}

// Renames `name` in `from` back to `original`, never replacing anything.
RemovalResult MoveBack(int from, const std::string& name, const std::string& original, const FileIdentity& identity,
                       uint32_t folderMode) {
  const std::optional<FileIdentity> there = IdentityIn(from, name);
  if (!there) return {ENOENT};
  if (!SameFile(*there, identity)) return {kFileChanged};
  std::vector<std::string> parts;
  if (!SplitPath(original, parts) || parts.empty()) return {EINVAL};
  UniqueFd folder;
  if (const int err = OpenOriginalFolder(parts, folderMode, folder)) return {err};
  return {RenameNoReplace(from, name, folder.get(), parts.back())};
}

// The files/ and info/ folders of a trash folder that is `owner`'s.
int OpenTrash(const std::string& trash, uid_t owner, UniqueFd& files, UniqueFd& info) {
  std::vector<std::string> parts;
  if (!SplitPath(trash, parts)) return EINVAL;
  UniqueFd top;
  if (const int err = OpenFolder(parts, parts.size(), top)) return err;
  if (const int err = OpenOwnedFolder(top.get(), "files", owner, false, files)) return err;
  UniqueFd infoPath;
  if (const int err = OpenOwnedFolder(top.get(), "info", owner, false, infoPath)) return err;
  info.reset(::openat(infoPath.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  return info.valid() ? 0 : errno;
}

}  // namespace

std::optional<FileIdentity> IdentityAt(const std::string& path) {
  OpenedEntry entry;
  if (OpenEntry(path, entry) != 0) return std::nullopt;
  return IdentityIn(entry.folder.get(), entry.name);
}

RemovalResult RestoreFromTrash(const std::string& trash, const std::string& name, const std::string& original,
                               const FileIdentity& identity, uint32_t folderMode, uid_t owner) {
  UniqueFd files, info;
  if (const int err = OpenTrash(trash, owner, files, info)) return {err == ENOENT ? ENOENT : err};
  const RemovalResult r = MoveBack(files.get(), name, original, identity, folderMode);
  // The entry is gone from the trash only once its file is back.
  if (r.Done()) ::unlinkat(info.get(), (name + kInfoSuffix).c_str(), 0);
  return r;
}

void RemoveTrashInfo(const std::string& trash, const std::string& name, uid_t owner) {
  UniqueFd files, info;
  if (OpenTrash(trash, owner, files, info) != 0) return;
  // Only an entry whose file is no longer there.
  if (!IdentityIn(files.get(), name)) ::unlinkat(info.get(), (name + kInfoSuffix).c_str(), 0);
}

std::string FindInTrash(const std::string& trash, const std::string& original, const FileIdentity& identity,
                        uid_t owner) {
  UniqueFd files, info;
  if (OpenTrash(trash, owner, files, info) != 0) return {};
  const std::string wanted = "Path=" + TrashPathEncoded(original);
  UniqueFd listFd(::openat(info.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  DIR* list = listFd.valid() ? ::fdopendir(listFd.get()) : nullptr;
  if (list == nullptr) return {};
  listFd.release();
  std::string found;
  while (const dirent* e = ::readdir(list)) {
    const std::string infoName = e->d_name;
    if (!infoName.ends_with(kInfoSuffix) || infoName.size() == kInfoSuffixLength) continue;
    const std::string name = infoName.substr(0, infoName.size() - kInfoSuffixLength);
    const std::optional<FileIdentity> there = IdentityIn(files.get(), name);
    if (!there || !SameFile(*there, identity)) continue;
    // The identity decides; the info file must name the same original.
    const FileRead content = ReadWholeFile("/proc/self/fd/" + std::to_string(info.get()) + "/" + infoName, 65536);
    if (content.error == 0 && content.bytes.find("\n" + wanted + "\n") != std::string::npos) {
      found = name;
      break;
    }
  }
  ::closedir(list);
  return found;
}

std::vector<std::string> TrashFolders(const TrashSetup& setup) {
  std::vector<std::string> folders;
  if (!setup.homeTrash.empty()) folders.push_back(setup.homeTrash);
  const std::string uid = std::to_string(setup.uid);
  for (const std::string& root : setup.driveRoots) {
    const std::string top = root == "/" ? std::string() : root;
    folders.push_back(top + "/.Trash/" + uid);
    folders.push_back(top + "/.Trash-" + uid);
  }
  return folders;
}

RemovalResult RestoreFromHolding(const std::string& held, const std::string& original, const FileIdentity& identity,
                                 uint32_t folderMode) {
  OpenedEntry entry;
  if (const int err = OpenEntry(held, entry)) return {err};
  return MoveBack(entry.folder.get(), entry.name, original, identity, folderMode);
}

std::vector<std::string> HoldingPlaces(const std::string& original, const HoldingSetup& setup) {
  std::vector<std::string> parts, places;
  if (!SplitPath(original, parts)) return places;
  for (const std::vector<std::string>& bases : {setup.driveRoots, std::vector<std::string>{setup.homeFolder}}) {
    const int depth = DriveDepth(parts, bases);
    if (depth < 0) continue;
    std::string place;
    for (int i = 0; i < depth; ++i) place += "/" + parts[static_cast<size_t>(i)];
    place += std::string("/") + kHoldingFolderName;
    for (size_t i = static_cast<size_t>(depth); i < parts.size(); ++i) place += "/" + parts[i];
    if (std::find(places.begin(), places.end(), place) == places.end()) places.push_back(place);
  }
  return places;
}

}  // namespace vorlo
