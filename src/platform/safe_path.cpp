#include "platform/safe_path.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#include "platform/file_ops.h"
#include "platform/removal.h"

namespace vorlo {

UniqueFd& UniqueFd::operator=(UniqueFd&& other) noexcept {
  if (this != &other) {
    reset(other.fd_);
    other.fd_ = -1;
  }
  return *this;
}

void UniqueFd::reset(int fd) {
  if (fd_ >= 0) ::close(fd_);
  fd_ = fd;
}

bool SplitPath(std::string_view path, std::vector<std::string>& parts) {
  parts.clear();
  if (path.empty() || path.front() != '/') return false;
  size_t pos = 0;
  while (pos < path.size()) {
    size_t end = path.find('/', pos);
    if (end == std::string_view::npos) end = path.size();
    const std::string_view part = path.substr(pos, end - pos);
    if (part == "." || part == "..") return false;
    if (!part.empty()) parts.emplace_back(part);
    pos = end + 1;
  }
  return true;
}

namespace {

// O_PATH: walking needs search permission only, not read permission.
constexpr int kFolderFlags = O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

}  // namespace

int OpenFolder(const std::vector<std::string>& parts, size_t count, UniqueFd& folder) {
  UniqueFd current(::open("/", O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!current.valid()) return errno;
  for (size_t i = 0; i < count && i < parts.size(); ++i) {
    UniqueFd next(::openat(current.get(), parts[i].c_str(), kFolderFlags));
    if (!next.valid()) return errno;
    current = std::move(next);
  }
  folder = std::move(current);
  return 0;
}

int OpenEntry(std::string_view path, OpenedEntry& entry) {
  // A trailing "/" would name a folder, never a file.
  if (!SplitPath(path, entry.parts) || entry.parts.empty() || path.back() == '/') return EINVAL;
  if (const int err = OpenFolder(entry.parts, entry.parts.size() - 1, entry.folder)) return err;
  entry.name = entry.parts.back();
  struct stat st {};
  if (::fstatat(entry.folder.get(), entry.name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return errno;
  entry.mode = st.st_mode;
  entry.owner = st.st_uid;
  return 0;
}

FileIdentity IdentityOfStat(const struct stat& st) {
  constexpr int64_t kNs = 1000000000;
  return {static_cast<uint64_t>(st.st_dev), static_cast<uint64_t>(st.st_ino), st.st_size,
          st.st_mtim.tv_sec * kNs + st.st_mtim.tv_nsec, st.st_ctim.tv_sec * kNs + st.st_ctim.tv_nsec};
}

int FileKindError(mode_t mode) {
  if (S_ISREG(mode) || S_ISLNK(mode)) return 0;
  if (S_ISDIR(mode)) return EISDIR;
  return EPERM;
}

int OpenOwnedFolder(int dirfd, const std::string& name, uid_t owner, bool create, UniqueFd& folder) {
  if (create && ::mkdirat(dirfd, name.c_str(), 0700) != 0 && errno != EEXIST) return errno;
  UniqueFd opened(::openat(dirfd, name.c_str(), kFolderFlags));
  if (!opened.valid()) return errno;
  struct stat st {};
  if (::fstat(opened.get(), &st) != 0) return errno;
  if (st.st_uid != owner) return EPERM;
  folder = std::move(opened);
  return 0;
}

int DriveDepth(const std::vector<std::string>& parts, const std::vector<std::string>& roots) {
  int best = -1;
  std::vector<std::string> rootParts;
  for (const std::string& root : roots) {
    if (!SplitPath(root, rootParts) || rootParts.size() >= parts.size()) continue;
    if (static_cast<int>(rootParts.size()) <= best) continue;
    bool prefix = true;
    for (size_t i = 0; i < rootParts.size() && prefix; ++i) prefix = rootParts[i] == parts[i];
    if (prefix) best = static_cast<int>(rootParts.size());
  }
  return best;
}

namespace {

MountIdentity IdentityFrom(const struct statx& sx) {
  MountIdentity id;
  id.dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
  id.mount = (sx.stx_mask & STATX_MNT_ID) ? sx.stx_mnt_id : 0;
  return id;
}

}  // namespace

int IdentityOf(int fd, MountIdentity& id) {
  struct statx sx {};
  if (::statx(fd, "", AT_EMPTY_PATH, STATX_MNT_ID, &sx) != 0) return errno;
  id = IdentityFrom(sx);
  return 0;
}

int IdentityOfPath(const std::string& path, MountIdentity& id) {
  std::string p = path.empty() ? "/" : path;
  for (;;) {
    struct statx sx {};
    if (::statx(AT_FDCWD, p.c_str(), 0, STATX_MNT_ID, &sx) == 0) {
      id = IdentityFrom(sx);
      return 0;
    }
    if (errno != ENOENT || p == "/") return errno;
    while (p.size() > 1 && p.back() == '/') p.pop_back();
    const size_t slash = p.rfind('/');
    if (slash == std::string::npos) return ENOENT;
    p.resize(slash == 0 ? 1 : slash);
  }
}

int RemovalLease::Take(int folder, const char* name, const FileIdentity* expected) {
  struct stat st {};
  if (::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return errno;
  mode_ = st.st_mode;
  seen_ = IdentityOfStat(st);
  if (expected != nullptr && !(seen_ == *expected)) return kFileChanged;
  if (!S_ISREG(st.st_mode)) return 0;
  // A write-only file is opened for writing (never truncated); the open
  // does not wait for another program's lease to break (O_NONBLOCK).
  constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;
  UniqueFd fd(::openat(folder, name, O_RDONLY | kFlags));
  if (!fd.valid() && errno == EACCES) fd.reset(::openat(folder, name, O_WRONLY | kFlags));
  if (!fd.valid()) {
    if (errno == EWOULDBLOCK || errno == ETXTBSY) return kFileInUse;  // leased elsewhere, or a running program
    if (errno == ELOOP) return kFileChanged;                         // a link now
    return errno;
  }
  struct stat opened {};
  if (::fstat(fd.get(), &opened) != 0) return errno;
  if (!S_ISREG(opened.st_mode) || opened.st_ino != st.st_ino || opened.st_dev != st.st_dev) return kFileChanged;
  // A break of the lease (someone opening the file in the instant it is
  // held) signals this process; SIGIO would end it, SIGURG is ignored.
  ::fcntl(fd.get(), F_SETSIG, SIGURG);
  if (::fcntl(fd.get(), F_SETLEASE, F_WRLCK) == 0) {
    fd_ = std::move(fd);
    return 0;
  }
  if (errno == EAGAIN || errno == EBUSY) return kFileInUse;
  return errno == EINVAL ? 0 : errno;  // EINVAL: this file system has no leases
}

int RemovalLease::Confirm(int folder, const char* name) const {
  if (fd_.valid() && ::fcntl(fd_.get(), F_GETLEASE) != F_WRLCK) return kFileInUse;
  struct stat st {};
  if (::fstatat(folder, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return errno;
  return st.st_ino == seen_.ino && st.st_dev == seen_.dev ? 0 : kFileChanged;
}

RemovalLease::~RemovalLease() {
  if (fd_.valid()) ::fcntl(fd_.get(), F_SETLEASE, F_UNLCK);
}

int RenameNoReplace(int fromDir, const std::string& from, int toDir, const std::string& to) {
  if (::renameat2(fromDir, from.c_str(), toDir, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
  const int err = errno;
  if (err != EINVAL && err != ENOSYS) return err;
  // No RENAME_NOREPLACE on this file system: a link fails on an existing
  // target just the same.
  if (::linkat(fromDir, from.c_str(), toDir, to.c_str(), 0) != 0) return errno;
  if (::unlinkat(fromDir, from.c_str(), 0) != 0) {
    const int unlinkErr = errno;
    ::unlinkat(toDir, to.c_str(), 0);
    return unlinkErr;
  }
  return 0;
}

}  // namespace vorlo
