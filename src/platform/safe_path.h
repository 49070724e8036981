// Race-safe access by path for the removal methods and the trash: a path is
// opened folder by folder from "/" without following links, and the file is
// then acted on relative to its folder's descriptor, so a folder swapped for
// a link after the scan cannot redirect the action. Private to the platform
// layer; results are errno values, 0 for success.
#pragma once

#include <sys/stat.h>
#include <sys/types.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dir_listing.h"

namespace vorlo {

// Owns a file descriptor.
class UniqueFd {
 public:
  UniqueFd() = default;
  explicit UniqueFd(int fd) : fd_(fd) {}
  ~UniqueFd() { reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
  UniqueFd& operator=(UniqueFd&& other) noexcept;
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  void reset(int fd = -1);
  int release() {
    const int fd = fd_;
    fd_ = -1;
    return fd;
  }

 private:
  int fd_ = -1;
};

// The components of an absolute path; "//" counts as "/". False for a
// relative path and for "." or ".." components: a scan never produces them,
// and they would defeat the whole-component prefix tests.
[[nodiscard]] bool SplitPath(std::string_view path, std::vector<std::string>& parts);

// Opens the folder made of the first `count` parts ("/" for 0), one level at
// a time with O_NOFOLLOW | O_DIRECTORY: a link on the way fails with ELOOP
// or ENOTDIR.
[[nodiscard]] int OpenFolder(const std::vector<std::string>& parts, size_t count, UniqueFd& folder);

// A file given by path, its folder opened race-safely, the entry itself
// looked at without following a link.
struct OpenedEntry {
  std::vector<std::string> parts;
  UniqueFd folder;
  std::string name;  // the last part
  mode_t mode = 0;
  uid_t owner = 0;
};
[[nodiscard]] int OpenEntry(std::string_view path, OpenedEntry& entry);

// The identity of a file as fstat or fstatat report it.
[[nodiscard]] FileIdentity IdentityOfStat(const struct stat& st);

// Only regular files and links are files: 0 for those, EISDIR for a folder,
// EPERM for devices, FIFOs and sockets.
[[nodiscard]] int FileKindError(mode_t mode);

// Opens the folder `name` in `dirfd` without following a link, creating it
// with mode 0700 first when `create` is set and it is missing. An entry that
// is a link fails (ELOOP/ENOTDIR), one not owned by `owner` with EPERM.
[[nodiscard]] int OpenOwnedFolder(int dirfd, const std::string& name, uid_t owner, bool create, UniqueFd& folder);

// The number of parts of the longest root (of `roots`) that is a proper
// whole-component prefix of `parts`; -1 when none is.
[[nodiscard]] int DriveDepth(const std::vector<std::string>& parts, const std::vector<std::string>& roots);

// Which mounted file system a folder is on. Bind mounts share a device
// number, so the mount id is compared as well where the kernel gives it.
struct MountIdentity {
  uint64_t dev = 0;
  uint64_t mount = 0;
  bool operator==(const MountIdentity&) const = default;
};
[[nodiscard]] int IdentityOf(int fd, MountIdentity& id);
// Of a path, links followed; a missing path answers for its nearest
// existing ancestor (where the missing folders would be created).
[[nodiscard]] int IdentityOfPath(const std::string& path, MountIdentity& id);

// A write lease on a file about to be removed: the kernel grants it only
// while no other process has the file open or mapped, and holding it across
// the unlink or rename closes the gap between the test and the act. When in
// doubt the file stays: only a file system without leases, or a link (no
// program holds a link open), goes ahead without one.
class RemovalLease {
 public:
  RemovalLease() = default;
  RemovalLease(const RemovalLease&) = delete;
  RemovalLease& operator=(const RemovalLease&) = delete;
  ~RemovalLease();

  // Looks at `name` in `folder` without following a link and, for a regular
  // file, takes the lease through an open its mode allows. 0 to go ahead;
  // ENOENT when it is gone; kFileChanged when it is not `expected` (when
  // given); kFileInUse when another program has it open, mapped or running;
  // any other errno met (too many open files, a file of another owner).
  // Devices, FIFOs and sockets are looked at, never opened: see Mode().
  [[nodiscard]] int Take(int folder, const char* name, const FileIdentity* expected = nullptr);
  // The file's type and permissions as Take saw them.
  mode_t Mode() const { return mode_; }
  // Just before the unlink or rename: 0 while the lease holds and the name
  // still names the file Take looked at; kFileInUse once another program
  // has asked for the file (the lease is breaking), kFileChanged when the
  // name names another file now.
  [[nodiscard]] int Confirm(int folder, const char* name) const;

 private:
  UniqueFd fd_;
  mode_t mode_ = 0;
  FileIdentity seen_;
};

// renameat2 with RENAME_NOREPLACE. Where the file system lacks that flag, a
// hard link and an unlink, which never replace either.
[[nodiscard]] int RenameNoReplace(int fromDir, const std::string& from, int toDir, const std::string& to);

}  // namespace vorlo
