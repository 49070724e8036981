#include "platform/trash_info.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <ctime>
#include <utility>
#include <vector>

#include "platform/output_file.h"
#include "platform/paths.h"
#include "platform/safe_path.h"

namespace vorlo {

namespace {

// Info files are written under a temporary name first: the prefix, the
// writer's pid and a number, and never the info suffix, so trash clients
// pass over it.
constexpr char kDraftPrefix[] = ".vorlo-";
constexpr size_t kDraftPrefixLength = sizeof kDraftPrefix - 1;
std::atomic<unsigned> draftNumber{0};

// The pid in a temporary's name; 0 when the name is not one.
pid_t DraftPid(const char* name) {
  if (std::strncmp(name, kDraftPrefix, kDraftPrefixLength) != 0) return 0;
  const char* p = name + kDraftPrefixLength;
  long long pid = 0;
  const char* digits = p;
  while (*p >= '0' && *p <= '9' && p - digits < 10) pid = pid * 10 + (*p++ - '0');
  if (p == digits || *p != '-' || !p[1]) return 0;
  for (++p; *p; ++p) {
    if (*p < '0' || *p > '9') return 0;
  }
  return pid > 0 && pid <= INT_MAX ? static_cast<pid_t>(pid) : 0;
}

bool ProcessRuns(pid_t pid) { return ::kill(pid, 0) == 0 || errno == EPERM; }

// The names of info/ with the inode each stands for.
std::vector<std::pair<std::string, ino_t>> InfoEntries(int info) {
  std::vector<std::pair<std::string, ino_t>> names;
  UniqueFd listFd(::openat(info, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  DIR* list = listFd.valid() ? ::fdopendir(listFd.get()) : nullptr;
  if (!list) return names;
  listFd.release();
  while (const dirent* entry = ::readdir(list)) names.emplace_back(entry->d_name, entry->d_ino);
  ::closedir(list);
  return names;
}

}  // namespace

std::string TrashPathEncoded(const std::string& path) { return PercentEncoded(path); }

int Flush(int fd) { return ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno; }

// Removes the temporaries of sends that did not finish. One whose writer no
// longer runs goes once a minute old: a live writer in another pid
// namespace that shares this trash looks dead from here, and its write
// takes far less. Any is gone after a day, when its pid may run again as
// another program.
//
// A temporary stays linked to its published info file until the file has
// moved, so one with a second name is the record of a send cut short after
// publishing: an info file of that inode whose file never reached files/
// restores nothing, and goes with it.
void RemoveAbandonedDrafts(int info, int files) {
  const time_t now = ::time(nullptr);
  const std::vector<std::pair<std::string, ino_t>> names = InfoEntries(info);
  std::vector<ino_t> published;
  for (const auto& [name, ino] : names) {
    const pid_t pid = DraftPid(name.c_str());
    struct stat st {};
    if (pid == 0 || ::fstatat(info, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode)) continue;
    const time_t age = now - st.st_mtime;
    if (age <= 24 * 60 * 60 && (age <= 60 || ProcessRuns(pid))) continue;
    if (st.st_nlink > 1) published.push_back(st.st_ino);
    ::unlinkat(info, name.c_str(), 0);
  }
  if (published.empty()) return;
  for (const auto& [name, ino] : names) {
    if (std::find(published.begin(), published.end(), ino) == published.end() || !name.ends_with(kInfoSuffix) ||
        DraftPid(name.c_str()) != 0)
      continue;
    const std::string trashName = name.substr(0, name.size() - kInfoSuffixLength);
    struct stat st {};
    if (::fstatat(files, trashName.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0 && errno == ENOENT)
      ::unlinkat(info, name.c_str(), 0);
  }
}


int InfoDraft::Write(const std::string& content) {
  Discard();
  if (const int err = hook_ ? hook_(TrashStep::kWriteInfo) : 0) return err;
  const std::string prefix = kDraftPrefix + std::to_string(::getpid()) + "-";
  UniqueFd fd;
  std::string name;
  for (unsigned tries = 0; !fd.valid(); ++tries) {
    name = prefix + std::to_string(draftNumber++);
    fd.reset(::openat(info_, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!fd.valid() && (errno != EEXIST || tries == 1000)) return errno;
  }
  name_ = name;
  int err = WriteAll(fd.get(), content);
  if (err == 0) err = Flush(fd.get());
  if (::close(fd.release()) != 0 && err == 0) err = errno;
  if (err != 0) Discard();
  return err;
}

int InfoDraft::Publish(const std::string& infoName) {
  int err = hook_ ? hook_(TrashStep::kPublishInfo) : 0;
  if (err == 0 && ::linkat(info_, name_.c_str(), info_, infoName.c_str(), 0) != 0) err = errno;
  if (err == 0) return 0;
  // A file system without hard links: a rename that does not replace
  // publishes as well, and takes the temporary name with it.
  if (err != EPERM && err != EOPNOTSUPP) return err;
  err = RenameNoReplace(info_, name_, info_, infoName);
  if (err == 0) name_.clear();
  return err;
}

void InfoDraft::Discard() {
  if (!name_.empty()) ::unlinkat(info_, name_.c_str(), 0);
  name_.clear();
}

// The Path= line of an info file's content.
std::string_view PathLine(std::string_view info) {
  const size_t at = info.find("\nPath=");
  if (at == std::string_view::npos) return {};
  const size_t end = info.find('\n', at + 1);
  return info.substr(at + 1, end == std::string_view::npos ? std::string_view::npos : end - at - 1);
}

// An info file `infoName` for the same original path whose file never
// reached files/ (a send cut short between publishing and moving) is taken
// over by the next send of that path, so the trash lists the path once.
bool IsOrphanInfo(int files, int info, const std::string& trashName, const std::string& infoName,
                  std::string_view ourInfo) {
  struct stat st {};
  if (::fstatat(files, trashName.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT) return false;
  UniqueFd fd(::openat(info, infoName.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > 65536) return false;
  std::string content(static_cast<size_t>(st.st_size), '\0');
  if (::read(fd.get(), content.data(), content.size()) != static_cast<ssize_t>(content.size())) return false;
  return !PathLine(content).empty() && PathLine(content) == PathLine(ourInfo);
}

}  // namespace vorlo
