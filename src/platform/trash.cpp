#include "platform/trash.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/file_ops.h"
#include "platform/output_file.h"
#include "platform/safe_path.h"

namespace vorlo {

TrashSetup SystemTrashSetup(std::vector<std::string> driveRoots, const Clock& clock) {
  TrashSetup setup;
  const std::string dataHome = DataHome();
  if (!dataHome.empty()) setup.homeTrash = dataHome + "/Trash";
  setup.driveRoots = std::move(driveRoots);
  setup.uid = ::getuid();
  setup.clock = &clock;
  return setup;
}

namespace {

// Bytes other than unreserved URI characters and "/" as %XX, so names with
// newlines or invalid UTF-8 survive the info file.
std::string TrashPathEncoded(const std::string& path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (const char c : path) {
    const auto b = static_cast<unsigned char>(c);
    const bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
                       b == '.' || b == '_' || b == '~' || b == '/';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

constexpr char kInfoSuffix[] = ".trashinfo";
constexpr size_t kInfoSuffixLength = sizeof kInfoSuffix - 1;
constexpr unsigned kMaxNameTries = 100000;

// The files/ and info/ folders of one trash, opened once per call.
struct TrashFolder {
  int error = 0;
  UniqueFd files, info;
  MountIdentity fs;
  // Where the search for a free name starts per original name, so a batch
  // of equal names does not probe the taken ones again and again.
  std::unordered_map<std::string, unsigned> nextNumber;
};

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

int OpenFilesAndInfo(int trashFd, uid_t uid, TrashFolder& trash) {
  if (const int err = OpenOwnedFolder(trashFd, "files", uid, true, trash.files)) return err;
  UniqueFd info;
  if (const int err = OpenOwnedFolder(trashFd, "info", uid, true, info)) return err;
  // Readable, to be listed and flushed.
  trash.info.reset(::openat(info.get(), ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!trash.info.valid()) return errno;
  if (const int err = IdentityOf(trash.files.get(), trash.fs)) return err;
  RemoveAbandonedDrafts(trash.info.get(), trash.files.get());
  return 0;
}

// fsync, where the file system can flush that kind of file at all.
int Flush(int fd) { return ::fsync(fd) == 0 || errno == EINVAL ? 0 : errno; }

// An info file's content under a temporary name in info/, until it is
// published under its own name. The temporary name stays, as a second link,
// until the draft ends: after the file has moved, or when the send failed.
// Left behind by a crash, it tells a later send which info file may lack its
// file.
class InfoDraft {
 public:
  InfoDraft(int info, const TrashStepHook& hook) : info_(info), hook_(hook) {}
  InfoDraft(const InfoDraft&) = delete;
  InfoDraft& operator=(const InfoDraft&) = delete;
  ~InfoDraft() { Discard(); }

  // Writes `content` to a new temporary and flushes it to disk.
  int Write(const std::string& content);
  bool written() const { return !name_.empty(); }
  // Gives the temporary the name `infoName` as well, never replacing one
  // that exists (EEXIST).
  int Publish(const std::string& infoName);
  void Discard();

 private:
  int info_;
  const TrashStepHook& hook_;
  std::string name_;
};

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

// The name in the trash for try `number`: the name itself, then
// "<name>.2", "<name>.3", ... Shortened at a character boundary where the
// info file's name would pass the file system's limit.
std::string TrashName(const std::string& name, unsigned number) {
  const std::string suffix = number <= 1 ? std::string() : "." + std::to_string(number);
  const size_t room = NAME_MAX - kInfoSuffixLength - suffix.size();
  if (name.size() <= room) return name + suffix;
  size_t cut = room;
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return name.substr(0, cut) + suffix;
}

class TrashSender {
 public:
  TrashSender(const TrashSetup& setup, const TrashStepHook& hook) : setup_(setup), hook_(hook) {}
  int Send(const TrashItem& item);

 private:
  int OpenSourceFolder(const std::vector<std::string>& parts);
  int PickTrash(const std::vector<std::string>& parts, TrashFolder*& trash);
  TrashFolder& HomeTrash();
  void OpenTopdirTrash(int root, TrashFolder& trash) const;
  const std::string& DeletionDate();

  struct Topdir {
    int error = 0;
    UniqueFd root;
    MountIdentity fs;
    std::unique_ptr<TrashFolder> trash;
  };

  const TrashSetup& setup_;
  const TrashStepHook& hook_;
  // The folder of the previous file, kept open for the next one from it.
  std::string sourcePath_;
  UniqueFd source_;
  MountIdentity sourceFs_;
  int sourceError_ = 0;
  int anchor_ = -1;  // the folder descriptor sourceFs_ is of, in the anchored form
  int anchorError_ = 0;
  bool homeChecked_ = false;
  std::optional<MountIdentity> homeFs_;
  std::unique_ptr<TrashFolder> home_;
  std::map<std::string, Topdir> topdirs_;
  std::optional<int64_t> dateSecond_;
  std::string date_;
};

int TrashSender::OpenSourceFolder(const std::vector<std::string>& parts) {
  anchor_ = -1;
  std::string folder;
  for (size_t i = 0; i + 1 < parts.size(); ++i) folder += "/" + parts[i];
  if (source_.valid() && folder == sourcePath_) return 0;
  if (!source_.valid() && sourceError_ != 0 && folder == sourcePath_) return sourceError_;
  sourcePath_ = folder;
  source_.reset();
  sourceError_ = OpenFolder(parts, parts.size() - 1, source_);
  if (sourceError_ == 0) sourceError_ = IdentityOf(source_.get(), sourceFs_);
  if (sourceError_ != 0) source_.reset();
  return sourceError_;
}

TrashFolder& TrashSender::HomeTrash() {
  if (home_) return *home_;
  home_ = std::make_unique<TrashFolder>();
  // The user's own folders may be reached through links (a linked ~/.local);
  // inside the trash no link is followed.
  UniqueFd trashFd(::open(setup_.homeTrash.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  if (!trashFd.valid() && errno == ENOENT) {
    if (const int err = CreateFolderTree(setup_.homeTrash)) {
      home_->error = err;
      return *home_;
    }
    trashFd.reset(::open(setup_.homeTrash.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC));
  }
  if (!trashFd.valid()) {
    home_->error = errno;
    return *home_;
  }
  home_->error = OpenFilesAndInfo(trashFd.get(), setup_.uid, *home_);
  return *home_;
}

void TrashSender::OpenTopdirTrash(int root, TrashFolder& trash) const {
  const std::string uidText = std::to_string(setup_.uid);
  // $topdir/.Trash/$uid, when .Trash is a real folder with the sticky bit.
  UniqueFd shared(::openat(root, ".Trash", O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat st {};
  if (shared.valid() && ::fstat(shared.get(), &st) == 0 && (st.st_mode & S_ISVTX)) {
    UniqueFd own;
    if (OpenOwnedFolder(shared.get(), uidText, setup_.uid, true, own) == 0 &&
        OpenFilesAndInfo(own.get(), setup_.uid, trash) == 0) {
      return;
    }
  }
  // Else $topdir/.Trash-$uid.
  UniqueFd own;
  trash.error = OpenOwnedFolder(root, ".Trash-" + uidText, setup_.uid, true, own);
  if (trash.error == 0) trash.error = OpenFilesAndInfo(own.get(), setup_.uid, trash);
}

int TrashSender::PickTrash(const std::vector<std::string>& parts, TrashFolder*& trash) {
  if (!homeChecked_ && !setup_.homeTrash.empty()) {
    MountIdentity fs;
    if (IdentityOfPath(setup_.homeTrash, fs) == 0) homeFs_ = fs;
  }
  homeChecked_ = true;
  if (homeFs_ && *homeFs_ == sourceFs_) {
    trash = &HomeTrash();
  } else {
    const int depth = DriveDepth(parts, setup_.driveRoots);
    if (depth < 0) return EXDEV;
    std::string rootPath;
    for (int i = 0; i < depth; ++i) rootPath += "/" + parts[i];
    auto [it, added] = topdirs_.try_emplace(rootPath);
    Topdir& topdir = it->second;
    if (added) {
      topdir.error = OpenFolder(parts, depth, topdir.root);
      if (topdir.error == 0) topdir.error = IdentityOf(topdir.root.get(), topdir.fs);
    }
    if (topdir.error != 0) return topdir.error;
    // A file on another file system below the drive root (a mount that is
    // not a local drive) has no trash it could be renamed into.
    if (!(topdir.fs == sourceFs_)) return EXDEV;
    if (!topdir.trash) {
      topdir.trash = std::make_unique<TrashFolder>();
      OpenTopdirTrash(topdir.root.get(), *topdir.trash);
    }
    trash = topdir.trash.get();
  }
  if (trash->error != 0) return trash->error;
  return trash->fs == sourceFs_ ? 0 : EXDEV;
}

const std::string& TrashSender::DeletionDate() {
  static const SystemClock systemClock;
  const Clock& clock = setup_.clock ? *setup_.clock : systemClock;
  const int64_t now = clock.NowUtc();
  if (dateSecond_ == now) return date_;
  dateSecond_ = now;
  LocalDateTime t;
  if (const auto local = clock.ToLocal(now)) {
    t = *local;
  } else {
    const time_t seconds = static_cast<time_t>(now);
    struct tm utc {};
    gmtime_r(&seconds, &utc);
    t = {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
  }
  date_ = IsoDateTime(t);
  return date_;
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
bool IsOrphanOf(const TrashFolder& trash, const std::string& trashName, const std::string& infoName,
                std::string_view ourInfo) {
  struct stat st {};
  if (::fstatat(trash.files.get(), trashName.c_str(), &st, AT_SYMLINK_NOFOLLOW) == 0 || errno != ENOENT) return false;
  UniqueFd fd(::openat(trash.info.get(), infoName.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
  if (!fd.valid() || ::fstat(fd.get(), &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > 65536) return false;
  std::string content(static_cast<size_t>(st.st_size), '\0');
  if (::read(fd.get(), content.data(), content.size()) != static_cast<ssize_t>(content.size())) return false;
  return !PathLine(content).empty() && PathLine(content) == PathLine(ourInfo);
}

int TrashSender::Send(const TrashItem& item) {
  const std::string& path = item.path;
  std::vector<std::string> parts;
  if (!SplitPath(path, parts) || parts.empty() || path.back() == '/') return EINVAL;
  int source = item.folder;
  if (source < 0) {
    if (const int err = OpenSourceFolder(parts)) return err;
    source = source_.get();
  } else {
    // The items of a batch hold their folders open, so a number names one
    // folder for the whole call.
    if (source != anchor_) {
      sourcePath_.clear();
      source_.reset();
      sourceError_ = 0;
      anchor_ = source;
      anchorError_ = IdentityOf(source, sourceFs_);
    }
    if (anchorError_ != 0) return anchorError_;
  }
  const std::string& name = item.folder < 0 ? parts.back() : item.name;
  // The lease is held from here to the move: no program opens the file
  // unnoticed while its info file is written.
  RemovalLease lease;
  if (const int err = lease.Take(source, name.c_str(), item.expected ? &*item.expected : nullptr)) return err;
  if (const int err = FileKindError(lease.Mode())) return err;

  TrashFolder* trash = nullptr;
  if (const int err = PickTrash(parts, trash)) return err;

  std::string original;
  for (const std::string& part : parts) original += "/" + part;
  const std::string info =
      "[Trash Info]\nPath=" + TrashPathEncoded(original) + "\nDeletionDate=" + DeletionDate() + "\n";

  InfoDraft draft(trash->info.get(), hook_);
  unsigned& next = trash->nextNumber.try_emplace(name, 1).first->second;
  for (unsigned tries = 0; tries < kMaxNameTries; ++tries, ++next) {
    const std::string trashName = TrashName(name, next);
    const std::string infoName = trashName + kInfoSuffix;
    if (!draft.written()) {
      if (const int err = draft.Write(info)) return err;
    }
    int err = draft.Publish(infoName);
    const bool adopted = err == EEXIST && IsOrphanOf(*trash, trashName, infoName, info);
    if (err == EEXIST && !adopted) continue;
    if (adopted) err = 0;
    if (err != 0) return err;
    // The info file is on disk before its file moves.
    if (!adopted) err = Flush(trash->info.get());
    if (err == 0 && hook_) err = hook_(TrashStep::kMove);
    if (err == 0) err = lease.Confirm(source, name.c_str());
    // A file left in files/ without its info file still takes the name:
    // the rename does not replace it, and the next name is tried.
    if (err == 0) err = RenameNoReplace(source, name, trash->files.get(), trashName);
    if (err == 0) {
      ++next;
      if (hook_) hook_(TrashStep::kSent);
      return 0;
    }
    if (!adopted) ::unlinkat(trash->info.get(), infoName.c_str(), 0);
    if (err != EEXIST) return err;
  }
  return EEXIST;
}

}  // namespace

std::vector<RemovalResult> SendToTrash(const std::vector<std::string>& paths, const TrashSetup& setup,
                                       const TrashStepHook& hook) {
  TrashSender sender(setup, hook);
  std::vector<RemovalResult> results;
  results.reserve(paths.size());
  for (const std::string& path : paths) results.push_back({sender.Send(TrashItem{-1, {}, path})});
  return results;
}

std::vector<RemovalResult> SendToTrashAt(const std::vector<TrashItem>& items, const TrashSetup& setup,
                                         const TrashStepHook& hook, const TrashResultHook& onResult) {
  TrashSender sender(setup, hook);
  std::vector<RemovalResult> results;
  results.reserve(items.size());
  for (const TrashItem& item : items) {
    results.push_back({sender.Send(item)});
    if (onResult && !onResult(results.size() - 1, results.back())) break;
  }
  // What was not tried stays where it is.
  results.resize(items.size(), RemovalResult{ECANCELED});
  return results;
}

int HeldFolders::Hold(int folder) {
  const int fd = ::fcntl(folder, F_DUPFD_CLOEXEC, 0);
  if (fd >= 0) fds_.push_back(fd);
  return fd;
}

void HeldFolders::Clear() {
  for (const int fd : fds_) ::close(fd);
  fds_.clear();
}

}  // namespace vorlo
