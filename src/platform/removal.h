// Removing one file race-safely, relative to a descriptor of its folder:
// either the folder the scan holds open (the *At forms), so scan and
// removal agree on what the path means, or one opened from "/" folder by
// folder without following links. A folder swapped for a link after the
// scan cannot redirect the removal, and a path of any length works. A file
// another program has open or mapped is left alone (kFileInUse), and so is
// one that changed since the decision to remove it (kFileChanged). Each call
// says what happened to its file.
#pragma once

#include <cerrno>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dir_listing.h"
#include "platform/file_ops.h"

namespace vorlo {

// What a removal did to one file: done, or failed with an errno or
// kFileInUse. Only ENOENT means the file was gone before it could be acted
// on.
struct [[nodiscard]] RemovalResult {
  int error = 0;

  bool Done() const { return error == 0; }
  bool Gone() const { return error == ENOENT; }
  bool InUse() const { return error == kFileInUse; }
  bool operator==(const RemovalResult&) const = default;
};

// True when something (a file, a link, anything) exists at `path`; links
// are not followed.
[[nodiscard]] bool PathExists(const std::string& path);

// Deletes a regular file or a link (the link itself). A regular file
// without any write permission bit is not deleted (EACCES), as rm would ask
// first; a folder is refused with EISDIR, a device, FIFO or socket with
// EPERM. A link in the folder part of the path fails (ELOOP or ENOTDIR).
RemovalResult DeleteFilePermanently(std::string_view path);
// The same for the file `name` in the open folder `folder`; with
// `expected`, a file that is no longer that one stays (kFileChanged).
RemovalResult DeleteFileAt(int folder, const char* name, const FileIdentity* expected = nullptr);

// Where the holding folder of a drive is, and the home folder that stands
// in for a drive root where the holding folder cannot be created there.
struct HoldingSetup {
  std::vector<std::string> driveRoots;  // mount points of the local drives
  std::string homeFolder;               // without trailing "/"; empty: no stand-in
};

// Moves a file into the holding folder of its drive, keeping its path below
// the drive's mount point (or below the home folder, see HoldingSetup). An
// earlier copy of the same path is replaced; nothing else is ever replaced,
// nothing is copied across file systems, and links planted inside the
// holding folder are not followed. Folders created on the way get mode 0700
// and must be owned by the user (EPERM otherwise). A file on no local drive
// of the setup, or on another file system than its drive root, fails with
// EXDEV; folders and special files are refused as by DeleteFilePermanently.
RemovalResult MoveToHolding(std::string_view path, const HoldingSetup& setup);
// The same for the file `name` in the open folder `folder`; `path` is its
// full path, for the place below the holding folder. With `expected`, a
// file that is no longer that one stays (kFileChanged); `movedTo`, when
// given, is where the file went.
RemovalResult MoveToHoldingAt(int folder, const char* name, std::string_view path, const HoldingSetup& setup,
                              const FileIdentity* expected = nullptr, std::string* movedTo = nullptr);

inline constexpr const char* kHoldingFolderName = "Vorlo$$$.$$$";

}  // namespace vorlo
