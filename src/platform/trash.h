// The desktop trash (freedesktop.org Trash specification 1.0): files on the
// home trash's file system go to $XDG_DATA_HOME/Trash, files on another
// local drive to that drive's $topdir/.Trash/$uid or $topdir/.Trash-$uid.
// A file is never copied to reach a trash.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/removal.h"

namespace vorlo {

class Clock;

// The steps of sending one file, in order. An info file appears in info/
// only complete and flushed to disk, so a crash at any step leaves nothing,
// a temporary that is not an info file (removed by a later send), an info
// file whose file was not moved yet (taken over by the next send of that
// path, or removed with its temporary by a later send), or the finished
// entry.
enum class TrashStep {
  kWriteInfo,    // the info file's content goes to a temporary name in info/
  kPublishInfo,  // the temporary is linked to the name "<name>.trashinfo"
  kMove,         // the file is renamed into files/
  kSent,         // the file is in the trash
};
// Seen before each step, by tests: 0 goes ahead, an errno fails the
// step's system call with it. What kSent returns is ignored.
using TrashStepHook = std::function<int(TrashStep)>;

struct TrashSetup {
  std::string homeTrash;                // $XDG_DATA_HOME/Trash, without trailing "/"; empty: none
  std::vector<std::string> driveRoots;  // mount points of the local drives
  uint32_t uid = 0;
  const Clock* clock = nullptr;         // for DeletionDate (local time)
};

// The setup of this machine's user, from the environment.
TrashSetup SystemTrashSetup(std::vector<std::string> driveRoots, const Clock& clock);

// Sends the files in one call and returns what happened to each, in the
// order of `paths`: done (the file is in the trash now), gone (ENOENT: no
// file was there to send) or failed with the errno met (the file stays at
// its path). A failure does not stop the others. Only regular files and
// links are sent (folders EISDIR, special files EPERM); a link in the folder
// part of a path fails (ELOOP or ENOTDIR); a file whose file system has no
// usable trash stays (EXDEV, or the error met setting up that trash).
// A file in another program's hands stays (kFileInUse).
// The first send into a trash folder removes the temporaries that crashed
// sends left in its info/ folder.
[[nodiscard]] std::vector<RemovalResult> SendToTrash(const std::vector<std::string>& paths, const TrashSetup& setup,
                                                     const TrashStepHook& hook = {});

// A file of a batch, anchored to its folder: `folder` is a descriptor of
// the folder it was found in (not owned; -1 to open the folder of `path`
// from "/"), `name` the file's name in it, `path` its full path (for the
// trash's record and to find its drive).
// With `expected`, a file that is no longer that one stays (kFileChanged).
struct TrashItem {
  int folder = -1;
  std::string name;
  std::string path;
  std::optional<FileIdentity> expected{};
};
// Where a file went: the trash folder (the one holding files/ and info/)
// and its name in files/ (its info file is that name and ".trashinfo").
struct TrashPlace {
  std::string trash;
  std::string name;
};
// Told each item's result as soon as it is known, in order, with the place
// of an item that went (empty otherwise); false stops the send there: the
// items after it are not tried (ECANCELED) and stay.
using TrashResultHook = std::function<bool(size_t item, const RemovalResult& result, const TrashPlace& place)>;
// As above, each file moved relative to its own folder descriptor.
[[nodiscard]] std::vector<RemovalResult> SendToTrashAt(const std::vector<TrashItem>& items, const TrashSetup& setup,
                                                       const TrashStepHook& hook = {},
                                                       const TrashResultHook& onResult = {});

// Keeps the folders of a batch open until it has been sent, each as a
// descriptor of its own, after the scan has closed them.
class HeldFolders {
 public:
  HeldFolders() = default;
  HeldFolders(const HeldFolders&) = delete;
  HeldFolders& operator=(const HeldFolders&) = delete;
  ~HeldFolders() { Clear(); }

  // A descriptor of the open folder `folder`, valid until Clear(); -1 when
  // none can be had (out of descriptors).
  [[nodiscard]] int Hold(int folder);
  size_t size() const { return fds_.size(); }
  void Clear();

 private:
  std::vector<int> fds_;
};

}  // namespace vorlo
