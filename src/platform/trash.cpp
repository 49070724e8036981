#include "platform/trash.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <map>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/clock.h"
#include "platform/environment.h"
#include "platform/file_ops.h"
#include "platform/safe_path.h"
#include "platform/trash_info.h"

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

constexpr unsigned kMaxNameTries = 100000;

// The files/ and info/ folders of one trash, opened once per call.
struct TrashFolder {
  std::string path;  // of the trash folder, for the record of where a file went
  int error = 0;
  UniqueFd files, info;
  MountIdentity fs;
  // Where the search for a free name starts per original name, so a batch
  // of equal names does not probe the taken ones again and again.
  std::unordered_map<std::string, unsigned> nextNumber;
};

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
  // Where the last file sent went.
  const TrashPlace& Place() const { return place_; }

 private:
  int OpenSourceFolder(const std::vector<std::string>& parts);
  int PickTrash(const std::vector<std::string>& parts, TrashFolder*& trash);
  TrashFolder& HomeTrash();
  void OpenTopdirTrash(int root, const std::string& rootPath, TrashFolder& trash) const;
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
  TrashPlace place_;
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
  home_->path = setup_.homeTrash;
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

void TrashSender::OpenTopdirTrash(int root, const std::string& rootPath, TrashFolder& trash) const {
  const std::string uidText = std::to_string(setup_.uid);
  // $topdir/.Trash/$uid, when .Trash is a real folder with the sticky bit.
  UniqueFd shared(::openat(root, ".Trash", O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
  struct stat st {};
  if (shared.valid() && ::fstat(shared.get(), &st) == 0 && (st.st_mode & S_ISVTX)) {
    UniqueFd own;
    if (OpenOwnedFolder(shared.get(), uidText, setup_.uid, true, own) == 0 &&
        OpenFilesAndInfo(own.get(), setup_.uid, trash) == 0) {
      trash.path = rootPath + "/.Trash/" + uidText;
      return;
    }
  }
  // Else $topdir/.Trash-$uid.
  UniqueFd own;
  trash.path = rootPath + "/.Trash-" + uidText;
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
      OpenTopdirTrash(topdir.root.get(), rootPath, *topdir.trash);
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
    const bool adopted = err == EEXIST && IsOrphanInfo(trash->files.get(), trash->info.get(), trashName, infoName, info);
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
      place_ = {trash->path, trashName};
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
    if (onResult && !onResult(results.size() - 1, results.back(), results.back().Done() ? sender.Place() : TrashPlace{}))
      break;
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
