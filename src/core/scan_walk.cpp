#include "core/scan_walk.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <string_view>
#include <utility>

#include "core/listed_walk.h"
#include "core/listing_store.h"
#include "core/local_drives.h"
#include "core/spared_files.h"
#include "core/stop_event.h"
#include "core/wildcard.h"
#include "platform/dir_listing.h"
#include "platform/folder_path.h"

namespace vorlo {

namespace {

// Folders whose descriptors stay open at once (beyond the top folder). Deeper
// ancestors are closed and reopened when the walk comes back to them, so a
// tree of any depth needs no more than this.
constexpr size_t kOpenWindow = 32;

// Folder and file errors that a walk reports: a folder that is not there,
// is no longer a folder or may not be read finds nothing, as always; any
// other failure (too many open files, a disk error) would pass files over
// unseen, so it is named.
bool IsWorthReporting(int err) {
  return err != 0 && err != ENOENT && err != ENOTDIR && err != ELOOP && err != EXDEV && err != EACCES &&
         err != EPERM;
}

// The walk: depth first with an explicit stack, each folder read once, and
// sub-folders opened relative to their parent's descriptor without following
// links and without leaving the parent's mount. With a run's listing store,
// a folder another scan of the run has read (and that has not changed since)
// is walked from the kept copy: it is opened only when a file in it is a
// candidate, and every candidate is looked at afresh before any decision.
class Walker {
 public:
  Walker(const TJunkFileObj& tj, const ScanRequest& request, std::vector<std::string> roots)
      : tj_(tj),
        request_(request),
        roots_(std::move(roots)),
        specs_(tj.Deletes()),
        store_(request.listings),
        storeType_(store_ != nullptr ? store_->TypeOf(tj) : ListingStore::kNoType),
        prefetch_(request.context.readAhead, [this](std::string_view parent, std::string_view name) {
          return Enters(parent, name);
        }, [specs = specs_](const DirEntries& listing, std::vector<size_t>& out) mutable {
          specs.Match(listing, out);
        }) {}

  // The stop test: once the signal is seen the scan stays stopped.
  bool Stopped() {
    if (!counts_.stopped && request_.stop.IsSet()) counts_.stopped = true;
    return counts_.stopped;
  }

  const std::vector<std::string>& Roots() const { return roots_; }
  const ScanCounts& Counts() const { return counts_; }

  // A folder or file that could not be looked at: the sink hears of it.
  void Fail(std::string_view path, int err) {
    ++fails_;
    if (!request_.sink) return;
    FoundFile file;
    file.type = &tj_;
    file.path = path;
    file.error = err;
    request_.sink(file);
  }

  void ProcessDir(const std::string& sDir, FolderRule How) {
    if (Skipped(sDir)) return;
    path_ = sDir;
    Frame& top = FrameAt(0);
    top = Frame();
    top.pathLen = path_.size();
    // Folder entries are absolute paths; anything else is a folder that does
    // not exist rather than something found relative to the working folder.
    // No link is followed on the way: the entry was resolved when the scan
    // started, so a link there now was put in since.
    top.dir = sDir.starts_with('/') ? DirListing::OpenNoLinks(sDir) : DirListing();
    if (IsWorthReporting(top.dir.Error())) Fail(sDir, top.dir.Error());
    top.id = top.dir.Id();
    top.driveRoot = IsDriveRoot(sDir);
    top.failsAtStart = fails_;
    depth_ = 0;
    const bool fromDisk = Load(top);
    // Nothing for this type anywhere below: the folders count as searched.
    if (uint32_t folders = 0; How != FolderRule::pFolOnly && top.stored != nullptr &&
                              store_->PassesOver(top.slot, storeType_, folders)) {
      Searched(How == FolderRule::pSubOnly ? folders - 1 : folders);
      CloseAll();
      return;
    }

    if (How != FolderRule::pSubOnly) {
      ProcessFiles();
      Searched(1);
    }
    if (How != FolderRule::pFolOnly && top.id) {
      // Read-ahead only where the walk reads the disk: a kept listing is
      // not read again.
      if (fromDisk) prefetch_.Begin(top.dir, sDir, top.Entries());  // read-ahead hook
      WalkSubfolders();
      if (fromDisk) prefetch_.End();  // read-ahead hook
    }
    CloseAll();
  }

 private:
  struct Frame {
    size_t nameStart = 0;  // this folder's name within path_
    size_t pathLen = 0;    // this folder's path is path_ up to here
    DirListing dir;        // closed when out of the open window, or not needed
    std::optional<FolderId> id;
    DirEntries own;        // the listing of this visit, when nothing is kept
    uint32_t slot = ListingStore::kNoSlot;  // the kept listing
    StoredFolder* stored = nullptr;
    size_t next = 0;  // next entry of the sub-folder loop
    size_t failsAtStart = 0;  // Fail calls before this folder's visit
    bool driveRoot = false;
    std::optional<uint32_t> mode;  // permission bits, once a file needed them

    const DirEntries& Entries() const { return stored != nullptr ? stored->Entries() : own; }
  };

  // EnsureOpen's answer for a folder that is gone or is another one now.
  static constexpr int kGone = -1;

  Frame& FrameAt(size_t d) {
    if (d >= frames_.size()) frames_.resize(d + 1);
    return frames_[d];
  }

  // The listing of a frame whose folder is identified: the kept copy, or
  // read from disk (and kept when a later scan may come here). True when it
  // was read from disk.
  bool Load(Frame& f, uint32_t* hint = nullptr) {
    f.own.Clear();
    f.stored = nullptr;
    f.slot = ListingStore::kNoSlot;
    if (store_ != nullptr && f.id) {
      const uint32_t slot = hint != nullptr ? store_->SlotOf(*f.id, *hint) : store_->SlotOf(*f.id);
      if (slot != ListingStore::kNoSlot) {
        f.slot = slot;
        f.stored = &store_->At(slot);
        // Now and then the store hears what changed meanwhile.
        if (++reused_ % 256 == 0) store_->Refresh();
        return false;
      }
    }
    if (!f.dir.IsOpen()) return true;
    const int watch = store_ != nullptr && f.id && store_->Wants(std::string_view(path_.data(), f.pathLen))
                          ? store_->WatchBeforeRead(f.dir.Fd())
                          : -1;
    // The one place a folder's entries come from disk.
    if (!f.dir.Read(f.own) && IsWorthReporting(f.dir.Error()))
      Fail(std::string_view(path_.data(), f.pathLen), f.dir.Error());
    if (watch >= 0) {
      f.own.Compact();
      f.slot = store_->Add(*f.id, std::move(f.own), watch, depth_ > 0 ? frames_[depth_ - 1].slot : ListingStore::kNoSlot);
      if (hint != nullptr) *hint = f.slot;
      f.stored = &store_->At(f.slot);
      f.own = DirEntries();
    }
    return true;
  }

  bool Skipped(const std::string& path) const {
    if (path == request_.myDir) return true;
    const auto& skip = request_.context.skipFolders;
    return std::find(skip.begin(), skip.end(), path) != skip.end();
  }

  bool IsDriveRoot(const std::string& path) const {
    return std::find(roots_.begin(), roots_.end(), path) != roots_.end();
  }


  // Matches the files of the top frame; path_ is that folder's path. Every
  // candidate is looked at now, in its open folder: what is gone or no
  // longer a file is passed over quietly, what cannot be looked at is named.
  void ProcessFiles() {
    Frame& f = frames_[depth_];
    const DirEntries& entries = f.Entries();
    if (entries.empty()) return;
    spared_.NewFolder();
    if (f.stored != nullptr && storeType_ != ListingStore::kNoType) {
      // Matched once for every type of the run when it was kept.
      matched_.clear();
      f.stored->HitsFor(storeType_, matched_);
    } else {
      specs_.Match(entries, matched_);
    }
    if (matched_.empty()) return;
    const std::string_view sDir(path_.data(), f.pathLen);
    if (const int err = EnsureOpen(depth_)) {
      if (err != kGone) Fail(sDir, err);
      return;
    }
    for (const size_t i : matched_) {
      if (Stopped()) return;
      const std::string_view name = entries.Name(i);
      const EntryStat st = f.dir.Stat(entries.CName(i));
      if (st.error == ENOENT || (st.error == 0 && st.kind != EntryKind::File && st.kind != EntryKind::Symlink))
        continue;
      ++counts_.matched;
      if (st.error != 0) {
        JoinPath(sDir, name, full_);
        Fail(full_, st.error);
        continue;
      }
      if (!tj_.MatchRestrict(FileFacts{st.size, st.mtimeUtc}, request_.context.clock)) {
        ++counts_.restricted;
        continue;
      }
      if (tj_.MatchProts(sDir, name) || spared_.Spares(f.dir, f.mode, entries, st, name)) {
        ++counts_.protectedFiles;
        continue;
      }
      counts_.bytes += st.size;
      if (request_.sink) {
        // The sink acts on the file relative to its open folder.
        JoinPath(sDir, name, full_);
        if (request_.context.progress != nullptr) request_.context.progress->Publish(full_);
        request_.sink(FoundFile{&tj_, f.dir.Fd(), *f.id, name, full_, st, 0});
      }
    }
  }

  // Looks at sub-folder entry `i` of the top frame on disk; `child` is the
  // folder opened when it is one to walk.
  SubfolderLook LookAtSubfolder(Frame& f, size_t i, DirListing& child) {
    using enum SubfolderLook::State;
    const DirEntries& entries = f.Entries();
    // Looked at before it is opened, so a mount point is not even
    // triggered; the opened folder must be the one looked at.
    const std::optional<FolderId> seen = f.dir.SubfolderId(entries.CName(i));
    if (!seen || seen->mount != f.id->mount) return {Skip, {}};
    child = DirListing::OpenAt(f.dir, entries.Name(i));
    if (child.IsOpen()) return child.Id() == seen ? SubfolderLook{Folder, *seen} : SubfolderLook{Skip, {}};
    if (child.Error() == ENOENT || child.Error() == ELOOP || child.Error() == ENOTDIR)
      return {Skip, {}};  // no longer a folder
    if (IsWorthReporting(child.Error())) Fail(path_, child.Error());
    return {Unreadable, {}};
  }

  void WalkSubfolders() {
    using enum SubfolderLook::State;
    for (;;) {
      Frame& f = frames_[depth_];
      const DirEntries& entries = f.Entries();
      // Files are passed over in a tight loop: most entries are files.
      size_t i = f.next;
      for (const size_t n = entries.size(); i < n && entries.Kind(i) != EntryKind::Folder;) ++i;
      if (i >= entries.size()) {
        f.next = i;
        if (f.stored != nullptr) store_->Settle(f.slot, fails_ != f.failsAtStart);
        f.dir = DirListing();
        if (depth_ == 0) return;
        --depth_;
        continue;
      }
      if (Stopped()) return;
      f.next = i + 1;
      const std::string_view name = entries.Name(i);
      if (f.driveRoot && IsDriveRootSkip(name)) continue;

      path_.resize(f.pathLen);
      if (path_.back() != '/') path_.push_back('/');
      const size_t nameStart = path_.size();
      path_.append(name);
      if (Skipped(path_)) continue;

      DirListing child;
      SubfolderLook look = f.stored != nullptr ? f.stored->Look(i) : SubfolderLook{};
      if (look.state == Unknown) {
        if (const int err = EnsureOpen(depth_)) {
          if (err != kGone) Fail(std::string_view(path_.data(), f.pathLen), err);
          continue;
        }
        look = LookAtSubfolder(f, i, child);
        if (f.stored != nullptr) f.stored->SetLook(i, look);
      }
      if (look.state == Skip) continue;
      uint32_t* hint = f.stored != nullptr && look.state == Folder ? &f.stored->SlotHint(i) : nullptr;
      if (uint32_t folders = 0; hint != nullptr && store_->PassesOver(store_->SlotOf(look.id, *hint), storeType_, folders)) {
        Searched(folders);
        continue;
      }

      // `f` may move when the stack grows.
      ++depth_;
      Frame& c = FrameAt(depth_);
      c.nameStart = nameStart;
      c.pathLen = path_.size();
      c.dir = std::move(child);
      c.id = look.state == Folder ? std::optional<FolderId>(look.id) : std::nullopt;
      c.next = 0;
      c.driveRoot = IsDriveRoot(path_);
      c.failsAtStart = fails_;
      c.mode.reset();
      KeepWindow(depth_);
      if (c.id && !c.dir.IsOpen() &&
          (store_ == nullptr || (hint != nullptr ? store_->SlotOf(*c.id, *hint) : store_->SlotOf(*c.id)) ==
                                    ListingStore::kNoSlot)) {
        // Known, but not kept (or changed since): read it from disk after all.
        if (const int err = EnsureOpen(depth_)) {
          if (err != kGone) Fail(path_, err);
          frames_[depth_].own.Clear();
          frames_[depth_].stored = nullptr;
          frames_[depth_].next = 0;
          --depth_;
          continue;
        }
      }
      if (Load(frames_[depth_], hint)) TellPrefetch();  // read-ahead hook
      ProcessFiles();
      Searched(1);
      if (Stopped()) return;
    }
  }

  void Searched(uint32_t folders) {
    counts_.folders += static_cast<int32_t>(folders);
    if (request_.context.progress != nullptr) request_.context.progress->FolderSearched(folders);
  }

  // Closes the ancestor that falls out of the window when frame `d` opens.
  void KeepWindow(size_t d) {
    if (d > kOpenWindow) frames_[d - kOpenWindow].dir = DirListing();
  }

  // Makes sure frame `k` has its folder open, reopening the chain from the
  // nearest open ancestor by name: 0, kGone when a folder on the way is not
  // the one seen before (renamed, replaced, swapped for a link), which ends
  // the walk of that branch quietly, or the errno that kept one from opening.
  int EnsureOpen(size_t k) {
    if (frames_[k].dir.IsOpen()) return 0;
    size_t j = k;
    while (j > 0 && !frames_[j].dir.IsOpen()) --j;
    if (!frames_[j].dir.IsOpen()) return GiveUp(j, k, kGone);
    // The folder alone, in one step below the open ancestor (no link, no
    // mount on the way); its identity tells it is the one seen before.
    if (k > j + 1) {
      Frame& fk = frames_[k];
      const std::string_view below(path_.data() + frames_[j + 1].nameStart, fk.pathLen - frames_[j + 1].nameStart);
      DirListing d = DirListing::OpenBelow(frames_[j].dir, below);
      if (d.IsOpen()) {
        if (!fk.id || d.Id() != fk.id) return GiveUp(j + 1, k, kGone);
        fk.dir = std::move(d);
        return 0;
      }
      if (d.Error() != ENOSYS) return GiveUp(j + 1, k, IsWorthReporting(d.Error()) ? d.Error() : kGone);
    }
    for (size_t m = j + 1; m <= k; ++m) {
      Frame& fm = frames_[m];
      const std::string_view name(path_.data() + fm.nameStart, fm.pathLen - fm.nameStart);
      DirListing d = DirListing::OpenAt(frames_[m - 1].dir, name);
      if (!d.IsOpen()) return GiveUp(m, k, IsWorthReporting(d.Error()) ? d.Error() : kGone);
      if (!fm.id || d.Id() != fm.id) return GiveUp(m, k, kGone);
      fm.dir = std::move(d);
      KeepWindow(m);
    }
    return 0;
  }

  int GiveUp(size_t from, size_t to, int err) {
    for (size_t m = from; m <= to; ++m) frames_[m].next = frames_[m].Entries().size();
    return err;
  }

  // Read-ahead hooks: which sub-folders the walk would enter, and where it
  // is now (the entry index of each folder on its way down).
  bool Enters(std::string_view parent, std::string_view name) const {
    std::string path;
    JoinPath(parent, name, path);
    return !(IsDriveRoot(std::string(parent)) && IsDriveRootSkip(name)) && !Skipped(path);
  }
  void TellPrefetch() {
    position_.clear();
    for (size_t d = 0; d < depth_; ++d) position_.push_back(static_cast<uint32_t>(frames_[d].next - 1));
    prefetch_.Entered(position_);
  }

  void CloseAll() {
    for (Frame& f : frames_) f.dir = DirListing();
  }

  const TJunkFileObj& tj_;
  const ScanRequest& request_;
  ScanCounts counts_;
  std::vector<std::string> roots_;
  DeleteSpecSet specs_;
  ListingStore* store_;
  uint32_t storeType_;  // this type among the store's, or kNoType
  size_t fails_ = 0;    // Fail calls so far
  std::vector<size_t> matched_;
  std::vector<Frame> frames_;  // frames_[0..depth_] are the folders being walked
  size_t depth_ = 0;
  size_t reused_ = 0;  // kept listings walked
  std::string path_;  // path of the folder being handled
  std::string full_;  // path of the file being handed over
  SparedFiles spared_;
  std::vector<uint32_t> position_;
  DirPrefetch prefetch_;  // last: its pool stops before the rest goes
};

}  // namespace

ScanCounts WalkJunkType(const TJunkFileObj& TJ, const ScanRequest& request) {
  if (request.listed != nullptr) return WalkListedFiles(TJ, request);
  Walker walk(TJ, request, request.context.drives.Roots());
  FolderList dirs;
  if (TJ.SearchesLocalDrives()) {
    for (const std::string& root : walk.Roots()) dirs.push_back({root, FolderRule::pFolAndSub});
  } else {
    // Each entry resolved once (links in its own path followed, "." and
    // ".." resolved), so the paths handed on are the ones removal acts on.
    // Running as root, a link in an entry's own path that another user
    // could have put there refuses the entry.
    for (const FolderEntry& entry : TJ.Dirs()) {
      const FolderResolution resolved = ResolveFolderEntry(entry.path);
      if (resolved.error != 0) {
        walk.Fail(entry.path, resolved.error);
        continue;
      }
      FolderEntry& e = dirs.emplace_back(FolderEntry{resolved.path, entry.rule});
      if (e.path.size() > 1 && e.path.back() == '/') e.path.pop_back();
    }
  }
  for (const FolderEntry& e : dirs) {
    if (walk.Stopped()) break;
    walk.ProcessDir(e.path, e.rule);
  }
  return walk.Counts();
}

}  // namespace vorlo
