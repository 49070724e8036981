#include "core/listed_walk.h"

#include <algorithm>
#include <cerrno>
#include <optional>
#include <unordered_set>

#include "core/local_drives.h"
#include "core/spared_files.h"
#include "core/stop_event.h"
#include "core/wildcard.h"
#include "platform/file_ops.h"
#include "platform/folder_path.h"

namespace vorlo {

namespace {

bool IsAtOrBelow(std::string_view path, std::string_view folder) {
  if (folder == "/") return path.starts_with('/');
  return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

// The folders a type searches, resolved as its walk resolves them, and
// whether a folder is one whose own files that walk would take.
class Coverage {
 public:
  Coverage(const TJunkFileObj& TJ, const ScanRequest& request) : request_(request) {
    for (std::string& root : request.context.drives.Roots()) drives_.push_back(Trimmed(std::move(root)));
    if (TJ.SearchesLocalDrives()) {
      for (const std::string& root : drives_) entries_.push_back({root, FolderRule::pFolAndSub});
      return;
    }
    for (const FolderEntry& entry : TJ.Dirs()) {
      const FolderResolution resolved = ResolveFolderEntry(entry.path);
      if (resolved.error == 0) entries_.push_back({Trimmed(resolved.path), entry.rule});
    }
  }

  bool Takes(const std::string& folder) const {
    if (!request_.myDir.empty() && IsAtOrBelow(folder, request_.myDir)) return false;
    for (const std::string& skip : request_.context.skipFolders)
      if (IsAtOrBelow(folder, skip)) return false;
    for (const std::string& root : drives_)
      if (folder != root && IsAtOrBelow(folder, root) && IsDriveRootSkip(NextName(folder, root))) return false;
    return std::any_of(entries_.begin(), entries_.end(), [&](const FolderEntry& e) {
      if (folder == e.path) return e.rule != FolderRule::pSubOnly;
      return e.rule != FolderRule::pFolOnly && IsAtOrBelow(folder, e.path);
    });
  }

 private:
  static std::string Trimmed(std::string path) {
    if (path.size() > 1 && path.back() == '/') path.pop_back();
    return path;
  }
  // The name of the folder below `root` on the way to `path`.
  static std::string_view NextName(std::string_view path, std::string_view root) {
    std::string_view rest = path.substr(root == "/" ? 1 : root.size() + 1);
    return rest.substr(0, rest.find('/'));
  }

  const ScanRequest& request_;
  std::vector<std::string> drives_;
  std::vector<FolderEntry> entries_;
};

}  // namespace

ScanCounts WalkListedFiles(const TJunkFileObj& TJ, const ScanRequest& request) {
  ScanCounts counts;
  const Coverage coverage(TJ, request);
  DeleteSpecSet specs(TJ.Deletes());
  SparedFiles spared;
  DirEntries entries;
  std::vector<size_t> matched;
  std::string full;
  const auto hand = [&](FoundFile file) {
    if (request.sink) request.sink(file);
  };
  const auto refuse = [&](const std::string& folder, const ListedFile& f, int err) {
    JoinPath(folder, f.name, full);
    FoundFile file;
    file.type = &TJ;
    file.path = full;
    file.error = err;
    hand(file);
  };
  for (const ListedFolder& folder : *request.listed) {
    if (request.stop.IsSet()) {
      counts.stopped = true;
      break;
    }
    counts.matched += static_cast<int32_t>(folder.files.size());
    const bool covered = coverage.Takes(folder.path);
    DirListing dir = covered ? DirListing::OpenNoLinks(folder.path) : DirListing();
    const std::optional<FolderId> id = dir.Id();
    if (!covered || !dir.IsOpen() || !id || !dir.Read(entries)) {
      // A folder gone, no longer the type's, or reached through a link now
      // holds none of the files found; any other failure is named.
      const int e = dir.Error();
      const int err = !covered || e == 0 || e == ENOENT || e == ENOTDIR || e == ELOOP ? kChangedSinceAnalysis : e;
      for (const ListedFile& f : folder.files) refuse(folder.path, f, err);
      continue;
    }
    ++counts.folders;
    if (request.context.progress != nullptr) request.context.progress->FolderSearched();
    spared.NewFolder();
    specs.Match(entries, matched);
    std::unordered_set<std::string_view> named;
    for (const size_t i : matched) named.insert(entries.Name(i));
    std::optional<uint32_t> mode;
    for (const ListedFile& f : folder.files) {
      if (request.stop.IsSet()) {
        counts.stopped = true;
        break;
      }
      EntryStat st;
      int err = named.contains(f.name) ? 0 : kChangedSinceAnalysis;
      if (err == 0) {
        st = dir.Stat(f.name.c_str());
        if (st.error != 0)
          err = st.error == ENOENT ? kChangedSinceAnalysis : st.error;
        else if ((st.kind != EntryKind::File && st.kind != EntryKind::Symlink) || !f.found.Unchanged(st.identity) ||
                 !TJ.MatchRestrict(FileFacts{st.size, st.mtimeUtc}, request.context.clock) ||
                 TJ.MatchProts(folder.path, f.name) || spared.Spares(dir, mode, entries, st, f.name))
          err = kChangedSinceAnalysis;
      }
      if (err != 0) {
        refuse(folder.path, f, err);
        continue;
      }
      counts.bytes += st.size;
      JoinPath(folder.path, f.name, full);
      if (request.context.progress != nullptr) request.context.progress->Publish(full);
      hand(FoundFile{&TJ, dir.Fd(), *id, f.name, full, st, 0});
    }
  }
  return counts;
}

}  // namespace vorlo
