#include "platform/file_ops.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "platform/output_file.h"

namespace vorlo {

namespace {

class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now and reports the error of close (it may carry a write error).
  int Close() {
    const int rc = ::close(fd_);
    fd_ = -1;
    return rc == 0 ? 0 : errno;
  }

 private:
  int fd_;
};

std::string ParentOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

}  // namespace

std::string ErrorText(int err) {
  if (err == kNotRegularFile) return "Not a regular file";
  if (err == kFileInUse) return "The file is open in another program";
  if (err == kFileChanged) return "The file has changed since it was found";
  if (err == kUnsafeLink) return "The folder's path leads through a link that another user could change";
  if (err == kNoRecord) return "The file could not be recorded in the undo journal";
  if (err == kChangedSinceAnalysis) return "changed since the analysis";
  return std::strerror(err);
}

uint32_t FolderModeOf(int fd) {
  struct stat st {};
  return ::fstat(fd, &st) == 0 ? static_cast<uint32_t>(st.st_mode & 07777) : 0;
}

size_t SpareDescriptors() {
  struct rlimit limit {};
  if (::getrlimit(RLIMIT_NOFILE, &limit) != 0 || limit.rlim_cur == RLIM_INFINITY) return SIZE_MAX;
  size_t open = 0;
  if (DIR* fds = ::opendir("/proc/self/fd")) {
    while (const dirent* e = ::readdir(fds))
      if (e->d_name[0] != '.') ++open;
    ::closedir(fds);
  }
  return limit.rlim_cur > open ? static_cast<size_t>(limit.rlim_cur) - open : 0;
}

int RenameFile(const std::string& from, const std::string& to) {
  return ::rename(from.c_str(), to.c_str()) == 0 ? 0 : errno;
}

int RemoveFile(const std::string& path) { return ::unlink(path.c_str()) == 0 ? 0 : errno; }

bool IsTerminal(std::FILE* stream) { return ::isatty(::fileno(stream)) == 1; }

bool FileExists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

bool FolderExists(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool NamesAFile(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

int64_t FileSize(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) ? st.st_size : -1;
}

int CreateFolder(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) == 0) return 0;
  const int err = errno;
  return err == EEXIST && FolderExists(path) ? 0 : err;
}

int CreateFolderTree(const std::string& path) {
  if (path.empty() || FolderExists(path)) return 0;
  const std::string parent = ParentOf(path);
  if (parent != path)
    if (const int err = CreateFolderTree(parent); err != 0) return err;
  return CreateFolder(path);
}

FileRead ReadWholeFile(const std::string& path, size_t maxBytes) {
  FileRead result;
  // Without O_NONBLOCK, opening a FIFO would wait for a writer.
  Fd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  if (fd.get() < 0) return {{}, errno};
  struct stat st;
  if (::fstat(fd.get(), &st) != 0) return {{}, errno};
  if (S_ISDIR(st.st_mode)) return {{}, EISDIR};
  if (!S_ISREG(st.st_mode)) return {{}, kNotRegularFile};
  if (static_cast<uint64_t>(st.st_size) > maxBytes) return {{}, EFBIG};
  // Files of /proc and /sys tell a size of 0 and are read all the same.
  result.bytes.reserve(static_cast<size_t>(st.st_size));
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {{}, errno};
    }
    if (n == 0) break;
    if (result.bytes.size() + static_cast<size_t>(n) > maxBytes) return {{}, EFBIG};
    result.bytes.append(buf, static_cast<size_t>(n));
  }
  return result;
}

int ReplacingFile::Open(const std::string& path) {
  Abandon();
  // mkostemp creates the file with O_CREAT | O_EXCL: a file or link already
  // there under that name is never opened, so never truncated.
  std::string temp = path + ".new-XXXXXX";
  const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  fd_ = fd;
  path_ = path;
  temp_ = std::move(temp);
  return 0;
}

int ReplacingFile::Write(std::string_view bytes) { return fd_ < 0 ? EBADF : WriteAll(fd_, bytes); }

int ReplacingFile::Commit() {
  if (fd_ < 0) return EBADF;
  int err = ::fsync(fd_) != 0 ? errno : 0;
  const int closed = ::close(fd_);
  fd_ = -1;
  if (err == 0 && closed != 0) err = errno;
  if (err == 0 && ::rename(temp_.c_str(), path_.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(temp_.c_str());
    temp_.clear();
    return err;
  }
  temp_.clear();
  Fd dir(::open(ParentOf(path_).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (dir.get() >= 0) ::fsync(dir.get());
  return 0;
}

void ReplacingFile::Abandon() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

int WriteFileReplacing(const std::string& path, std::string_view bytes) {
  ReplacingFile file;
  if (const int err = file.Open(path); err != 0) return err;
  if (const int err = file.Write(bytes); err != 0) return err;
  return file.Commit();
}

}  // namespace vorlo
