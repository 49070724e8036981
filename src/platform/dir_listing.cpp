#include "platform/dir_listing.h"

#include <dirent.h>
#include <linux/openat2.h>
#include <sys/syscall.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include "platform/safe_path.h"

// The mount id needs the kernel's statx structure; glibc's own fallback
// structure lacks the field.
#if defined(STATX_MNT_ID) && defined(__has_include)
#if __has_include(<linux/stat.h>)
#define VORLO_HAVE_MNT_ID 1
#endif
#endif

namespace vorlo {

namespace {

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISDIR(mode)) return EntryKind::Folder;
  if (S_ISLNK(mode)) return EntryKind::Symlink;
  return EntryKind::Other;
}

EntryKind KindOfEntry(int dirFd, unsigned char type, const char* name) {
  switch (type) {
    case DT_REG: return EntryKind::File;
    case DT_DIR: return EntryKind::Folder;
    case DT_LNK: return EntryKind::Symlink;
    case DT_UNKNOWN: break;
    default: return EntryKind::Other;
  }
  // Some file systems leave the type open.
  struct stat st {};
  if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Other;
  return KindOfMode(st.st_mode);
}

bool IsDotOrDotDot(const char* n) { return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)); }

constexpr int kOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The kernel's record of one entry, as getdents64 fills the buffer.
struct KernelDirent {
  uint64_t d_ino;
  int64_t d_off;
  unsigned short d_reclen;
  unsigned char d_type;
  char d_name[1];
};

}  // namespace

void DirEntries::Add(std::string_view name, EntryKind kind) {
  entries_.push_back({static_cast<uint32_t>(names_.size()), static_cast<uint16_t>(name.size()), kind});
  names_.append(name);
  names_.push_back('\0');
}

// Takes over a folder descriptor (or the errno of a failed open).
DirListing DirListing::FromFd(int fd) {
  DirListing l;
  if (fd < 0) l.error_ = errno;
  l.fd_ = fd;
  return l;
}

DirListing DirListing::Open(const std::string& path) { return FromFd(open(path.c_str(), kOpenFlags)); }

DirListing DirListing::OpenNoLinks(const std::string& path) {
  DirListing l;
  std::vector<std::string> parts;
  if (!SplitPath(path, parts)) {
    l.error_ = EINVAL;
    return l;
  }
  if (parts.empty()) return FromFd(open("/", kOpenFlags));
  UniqueFd parent;
  if (const int err = OpenFolder(parts, parts.size() - 1, parent)) {
    l.error_ = err;
    return l;
  }
  return FromFd(openat(parent.get(), parts.back().c_str(), kOpenFlags));
}

DirListing DirListing::OpenAt(const DirListing& parent, std::string_view name) {
  DirListing l;
  if (!parent.IsOpen()) {
    l.error_ = parent.error_ != 0 ? parent.error_ : EBADF;
    return l;
  }
  // One component only: a path would let the walk step around its checks.
  // The name is copied for its terminating zero; short names stay on the stack.
  char small[256];
  std::string large;
  const char* n = nullptr;
  if (name.size() < sizeof small) {
    std::memcpy(small, name.data(), name.size());
    small[name.size()] = 0;
    n = small;
  } else {
    large.assign(name);
    n = large.c_str();
  }
  if (name.empty() || name.find('/') != std::string_view::npos || name.find('\0') != std::string_view::npos ||
      IsDotOrDotDot(n)) {
    l.error_ = EINVAL;
    return l;
  }
  return FromFd(openat(parent.Fd(), n, kOpenFlags));
}

DirListing DirListing::OpenBelow(const DirListing& ancestor, std::string_view path) {
  DirListing l;
  if (!ancestor.IsOpen()) {
    l.error_ = ancestor.error_ != 0 ? ancestor.error_ : EBADF;
    return l;
  }
  if (path.empty() || path.front() == '/' || path.find('\0') != std::string_view::npos) {
    l.error_ = EINVAL;
    return l;
  }
  const std::string relative(path);
  open_how how{};
  how.flags = kOpenFlags;
  how.resolve = RESOLVE_NO_SYMLINKS | RESOLVE_NO_XDEV | RESOLVE_BENEATH;
  return FromFd(static_cast<int>(syscall(SYS_openat2, ancestor.Fd(), relative.c_str(), &how, sizeof how)));
}

DirListing::DirListing(DirListing&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(other.error_), read_(other.read_) {}

DirListing& DirListing::operator=(DirListing&& other) noexcept {
  if (this != &other) {
    if (fd_ >= 0) close(fd_);
    fd_ = std::exchange(other.fd_, -1);
    error_ = other.error_;
    read_ = other.read_;
  }
  return *this;
}

DirListing::~DirListing() {
  if (fd_ >= 0) close(fd_);
}

bool DirListing::Read(DirEntries& out) {
  out.Clear();
  if (fd_ < 0) return false;
  if (read_ && lseek(fd_, 0, SEEK_SET) != 0) {
    error_ = errno;
    return false;
  }
  read_ = true;
  // Read straight from the kernel: a directory stream would add a few
  // system calls per folder, which a walk over many folders pays for.
  alignas(KernelDirent) char buffer[32768];
  for (;;) {
    const long n = syscall(SYS_getdents64, fd_, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      error_ = errno;
      return false;
    }
    if (n == 0) return true;
    for (long pos = 0; pos < n;) {
      const auto* e = reinterpret_cast<const KernelDirent*>(buffer + pos);
      pos += e->d_reclen;
      if (IsDotOrDotDot(e->d_name)) continue;
      out.Add(e->d_name, KindOfEntry(fd_, e->d_type, e->d_name));
    }
  }
}

EntryStat DirListing::Stat(const char* name) const {
  EntryStat r;
  if (fd_ < 0) {
    r.error = error_ != 0 ? error_ : EBADF;
    return r;
  }
  struct stat st {};
  if (fstatat(fd_, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
    r.error = errno;
    return r;
  }
  r.kind = KindOfMode(st.st_mode);
  r.size = st.st_size;
  r.mtimeUtc = st.st_mtim.tv_sec;
  r.links = st.st_nlink;
  r.uid = st.st_uid;
  r.identity = IdentityOfStat(st);
  return r;
}

std::optional<uint32_t> DirListing::Mode() const {
  struct stat st {};
  if (fd_ < 0 || fstat(fd_, &st) != 0) return std::nullopt;
  return static_cast<uint32_t>(st.st_mode & 07777);
}

bool DirListing::CountsSubfolderLinks() const {
  struct statfs fs {};
  if (fd_ < 0 || fstatfs(fd_, &fs) != 0) return false;
  constexpr long kExt = 0xEF53, kXfs = 0x58465342, kTmpfs = 0x01021994;
  const auto type = static_cast<long>(fs.f_type);
  return type == kExt || type == kXfs || type == kTmpfs;
}

std::optional<MountKey> DirListing::Mount() const {
  const auto id = Id();
  if (!id) return std::nullopt;
  return id->mount;
}

namespace {

// Identity of `name` relative to `dirFd` ("" with AT_EMPTY_PATH for the
// folder itself), the mount id where the kernel gives one.
std::optional<FolderId> IdOf(int dirFd, const char* name, int flags, bool folderOnly) {
#ifdef VORLO_HAVE_MNT_ID
  struct statx sx {};
  if (statx(dirFd, name, flags | AT_SYMLINK_NOFOLLOW | AT_NO_AUTOMOUNT, STATX_TYPE | STATX_INO | STATX_MNT_ID,
            &sx) == 0) {
    if (folderOnly && !S_ISDIR(sx.stx_mode)) return std::nullopt;
    const uint64_t dev = makedev(sx.stx_dev_major, sx.stx_dev_minor);
    FolderId id;
    id.mount = (sx.stx_mask & STATX_MNT_ID) != 0 ? MountKey{sx.stx_mnt_id, true} : MountKey{dev, false};
    id.dev = dev;
    id.ino = sx.stx_ino;
    return id;
  }
  if (errno != ENOSYS) return std::nullopt;
#endif
  struct stat st {};
  if (fstatat(dirFd, name, &st, flags | AT_SYMLINK_NOFOLLOW) != 0) return std::nullopt;
  if (folderOnly && !S_ISDIR(st.st_mode)) return std::nullopt;
  FolderId id;
  id.mount = MountKey{static_cast<uint64_t>(st.st_dev), false};
  id.dev = st.st_dev;
  id.ino = st.st_ino;
  return id;
}

}  // namespace

std::optional<FolderId> DirListing::Id() const {
  if (fd_ < 0) return std::nullopt;
  return IdOf(Fd(), "", AT_EMPTY_PATH, false);
}

std::optional<FolderId> DirListing::SubfolderId(const char* name) const {
  if (fd_ < 0 || name[0] == 0 || IsDotOrDotDot(name) || std::strchr(name, '/') != nullptr)
    return std::nullopt;
  return IdOf(Fd(), name, 0, true);
}

namespace {

std::vector<std::string> NamesOfKind(const std::string& path, EntryKind kind) {
  DirListing dir = DirListing::Open(path);
  DirEntries entries;
  std::vector<std::string> names;
  if (!dir.Read(entries)) return names;
  for (size_t i = 0; i < entries.size(); ++i)
    if (entries.Kind(i) == kind) names.emplace_back(entries.Name(i));
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace

std::vector<std::string> SubfolderNames(const std::string& path) { return NamesOfKind(path, EntryKind::Folder); }

std::vector<std::string> FileNames(const std::string& path) { return NamesOfKind(path, EntryKind::File); }

}  // namespace vorlo
