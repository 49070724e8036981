#include "editor/folder_probe.h"

#include <optional>

#include "platform/dir_listing.h"

namespace vorlo {

namespace {

// Where a folder is opened: without the trailing "/", which would make the
// kernel follow a link in the last component.
std::string OpenablePath(std::string path) {
  if (path.size() > 1 && path.back() == '/') path.pop_back();
  return path;
}

// A sub-folder the tree shows: a real folder (links are never followed) on
// the same mount (another mount is another drive, or not a local one at
// all). When its identity cannot be read it is shown.
bool Shown(const DirListing& folder, const DirEntries& entries, size_t i, const std::optional<MountKey>& mount) {
  if (entries.Kind(i) != EntryKind::Folder || entries.Name(i).empty()) return false;
  if (!mount) return true;
  const std::optional<FolderId> id = folder.SubfolderId(entries.CName(i));
  return !id || id->mount == *mount;
}

bool AnySubdirsIn(DirListing& folder, const std::optional<MountKey>& mount, DirEntries& scratch) {
  if (!folder.IsOpen()) return false;
  folder.Read(scratch);  // what could be read counts
  for (size_t i = 0; i < scratch.size(); ++i)
    if (Shown(folder, scratch, i, mount)) return true;
  return false;
}

}  // namespace

bool AnySubdirs(const std::string& Path) {
  DirListing folder = DirListing::Open(OpenablePath(Path));
  DirEntries scratch;
  return AnySubdirsIn(folder, folder.Mount(), scratch);
}

std::vector<ShownFolder> ListSubdirs(const std::string& Path) {
  DirListing folder = DirListing::Open(OpenablePath(Path));
  DirEntries entries;
  folder.Read(entries);  // an unreadable folder simply shows no sub-folders
  const std::optional<MountKey> mount = folder.Mount();
  const bool countsLinks = folder.CountsSubfolderLinks();

  std::vector<ShownFolder> shown;
  DirEntries scratch;
  for (size_t i = 0; i < entries.size(); ++i) {
    if (!Shown(folder, entries, i, mount)) continue;
    ShownFolder f{std::string(entries.Name(i)), false};
    // A folder with two links has no sub-folder where links are counted;
    // that spares opening each of thousands of leaf folders.
    if (!countsLinks || folder.Stat(entries.CName(i)).links != 2) {
      DirListing sub = DirListing::OpenAt(folder, entries.Name(i));
      f.hasSubfolders = AnySubdirsIn(sub, mount, scratch);
    }
    shown.push_back(std::move(f));
  }
  return shown;
}

}  // namespace vorlo
