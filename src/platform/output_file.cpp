#include "platform/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace vorlo {

int WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n > 0) {
      bytes.remove_prefix(static_cast<size_t>(n));
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    return n < 0 ? errno : EIO;
  }
  return 0;
}

namespace {

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Root writing into another user's folder writes only files of its own.
int RefusedForRoot(const std::string& path, const struct stat& file) {
  if (::geteuid() != 0) return 0;
  struct stat folder {};
  if (::stat(FolderOf(path).c_str(), &folder) != 0) return errno;
  if (folder.st_uid == 0) return 0;
  return file.st_uid != 0 || file.st_nlink > 1 ? EPERM : 0;
}

}  // namespace

int OutputFile::Open(const std::string& path, Mode mode) {
  Close();
  // Non-blocking, so that a FIFO planted under the name cannot hang the open.
  const int flags = O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC |
                    (mode == Mode::Append ? O_APPEND : 0);
  const int fd = ::open(path.c_str(), flags, 0644);
  if (fd < 0) return errno;
  struct stat st {};
  int err = ::fstat(fd, &st) != 0 ? errno : 0;
  if (err == 0 && !S_ISREG(st.st_mode)) err = EINVAL;
  if (err == 0) err = RefusedForRoot(path, st);
  if (err == 0 && mode == Mode::Replace && ::ftruncate(fd, 0) != 0) err = errno;
  if (err == 0 && ::fcntl(fd, F_SETFL, flags & (O_APPEND)) != 0) err = errno;
  if (err != 0) {
    ::close(fd);
    return err;
  }
  fd_ = fd;
  return 0;
}

int OutputFile::Write(std::string_view bytes) { return fd_ < 0 ? EBADF : WriteAll(fd_, bytes); }

int OutputFile::Sync() {
  if (fd_ < 0) return EBADF;
  return ::fsync(fd_) == 0 || errno == EINVAL ? 0 : errno;
}

int OutputFile::Close() {
  if (fd_ < 0) return 0;
  const int rc = ::close(fd_);
  fd_ = -1;
  return rc == 0 ? 0 : errno;
}

}  // namespace vorlo
