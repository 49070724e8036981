#include "platform/dir_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

// The mount id needs the kernel's statx structure; glibc's own fallback
// structure lacks the field.
#if defined(STATX_MNT_ID) && defined(__has_include)
#if __has_include(<linux/stat.h>)
#define VORLO_HAVE_MNT_ID 1
#endif
#endif

namespace vorlo {

namespace {

DIR* AsDir(void* p) { return static_cast<DIR*>(p); }

EntryKind KindOfMode(mode_t mode) {
  if (S_ISREG(mode)) return EntryKind::File;
  if (S_ISDIR(mode)) return EntryKind::Folder;
  if (S_ISLNK(mode)) return EntryKind::Symlink;
  return EntryKind::Other;
}

EntryKind KindOfEntry(int dirFd, const dirent& e) {
  switch (e.d_type) {
    case DT_REG: return EntryKind::File;
    case DT_DIR: return EntryKind::Folder;
    case DT_LNK: return EntryKind::Symlink;
    case DT_UNKNOWN: break;
    default: return EntryKind::Other;
  }
  // Some file systems leave the type open.
  struct stat st {};
  if (fstatat(dirFd, e.d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) return EntryKind::Other;
  return KindOfMode(st.st_mode);
}

bool IsDotOrDotDot(const char* n) { return n[0] == '.' && (n[1] == 0 || (n[1] == '.' && n[2] == 0)); }

constexpr int kOpenFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

}  // namespace

void DirEntries::Add(std::string_view name, EntryKind kind) {
  entries_.push_back({names_.size(), static_cast<uint32_t>(name.size()), kind});
  names_.append(name);
  names_.push_back('\0');
}

// Takes over a folder descriptor (or the errno of a failed open).
DirListing DirListing::FromFd(int fd) {
  DirListing l;
  if (fd < 0) {
    l.error_ = errno;
    return l;
  }
  l.dir_ = fdopendir(fd);
  if (l.dir_ == nullptr) {
    l.error_ = errno;
    close(fd);
  }
  return l;
}

DirListing DirListing::Open(const std::string& path) { return FromFd(open(path.c_str(), kOpenFlags)); }

DirListing DirListing::OpenAt(const DirListing& parent, std::string_view name) {
  DirListing l;
  if (!parent.IsOpen()) {
    l.error_ = parent.error_ != 0 ? parent.error_ : EBADF;
    return l;
  }
  // One component only: a path would let the walk step around its checks.
  const std::string n(name);
  if (n.empty() || n.find('/') != std::string::npos || n.find('\0') != std::string::npos ||
      IsDotOrDotDot(n.c_str())) {
    l.error_ = EINVAL;
    return l;
  }
  return FromFd(openat(parent.Fd(), n.c_str(), kOpenFlags));
}

DirListing::DirListing(DirListing&& other) noexcept
    : dir_(std::exchange(other.dir_, nullptr)), error_(other.error_) {}

DirListing& DirListing::operator=(DirListing&& other) noexcept {
  if (this != &other) {
    if (dir_ != nullptr) closedir(AsDir(dir_));
    dir_ = std::exchange(other.dir_, nullptr);
    error_ = other.error_;
  }
  return *this;
}

DirListing::~DirListing() {
  if (dir_ != nullptr) closedir(AsDir(dir_));
}

int DirListing::Fd() const { return dir_ != nullptr ? dirfd(AsDir(dir_)) : -1; }

bool DirListing::Read(DirEntries& out) {
  out.Clear();
  if (dir_ == nullptr) return false;
  DIR* d = AsDir(dir_);
  rewinddir(d);
  const int fd = dirfd(d);
  for (;;) {
    errno = 0;
    const dirent* e = readdir(d);
    if (e == nullptr) {
      if (errno != 0) {
        error_ = errno;
        return false;
      }
      return true;
    }
    if (IsDotOrDotDot(e->d_name)) continue;
    out.Add(e->d_name, KindOfEntry(fd, *e));
  }
}

EntryStat DirListing::Stat(const char* name) const {
  EntryStat r;
  if (dir_ == nullptr) {
    r.error = error_ != 0 ? error_ : EBADF;
    return r;
  }
  struct stat st {};
  if (fstatat(Fd(), name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
    r.error = errno;
    return r;
  }
  r.size = st.st_size;
  r.mtimeUtc = st.st_mtim.tv_sec;
  return r;
}

std::optional<MountKey> DirListing::Mount() const {
  if (dir_ == nullptr) return std::nullopt;
#ifdef VORLO_HAVE_MNT_ID
  struct statx sx {};
  if (statx(Fd(), "", AT_EMPTY_PATH, STATX_MNT_ID, &sx) == 0 && (sx.stx_mask & STATX_MNT_ID) != 0)
    return MountKey{sx.stx_mnt_id, true};
#endif
  struct stat st {};
  if (fstat(Fd(), &st) != 0) return std::nullopt;
  return MountKey{static_cast<uint64_t>(st.st_dev), false};
}

}  // namespace vorlo
