// Reading one folder: its entries' names (exact bytes) and kinds in a single
// pass, without following links, and on demand an entry's size and time.
// A folder is opened by path or relative to an open parent, so a walk can go
// down with descriptors and never be redirected by a swapped-in link.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlo {

enum class EntryKind : uint8_t { File, Folder, Symlink, Other };

// The entries of one folder. The names share one buffer, so a batch reused
// from folder to folder reads without an allocation per entry.
class DirEntries {
 public:
  size_t size() const { return entries_.size(); }
  bool empty() const { return entries_.empty(); }
  std::string_view Name(size_t i) const { return {names_.data() + entries_[i].offset, entries_[i].length}; }
  const char* CName(size_t i) const { return names_.c_str() + entries_[i].offset; }
  EntryKind Kind(size_t i) const { return entries_[i].kind; }
  bool Hidden(size_t i) const { return entries_[i].length > 0 && names_[entries_[i].offset] == '.'; }
  // Regular files and symbolic links are what delete specifications find.
  bool IsFile(size_t i) const { return Kind(i) == EntryKind::File || Kind(i) == EntryKind::Symlink; }

  void Clear() {
    names_.clear();
    entries_.clear();
  }
  void Add(std::string_view name, EntryKind kind);
  // The entry is no longer there: neither a file nor a folder from now on.
  void Drop(size_t i) { entries_[i].kind = EntryKind::Other; }
  // Gives back spare capacity, for a listing that is kept.
  void Compact() {
    names_.shrink_to_fit();
    entries_.shrink_to_fit();
  }
  size_t Bytes() const { return names_.capacity() + entries_.capacity() * sizeof(Entry); }

 private:
  // A name is at most NAME_MAX (255) bytes: eight bytes an entry.
  struct Entry {
    uint32_t offset;
    uint16_t length;
    EntryKind kind;
  };
  std::string names_;  // each name followed by a zero byte
  std::vector<Entry> entries_;
};

// What tells one file from another and from its own earlier state: a file
// whose identity changed between a decision and the act is not the one the
// decision was made on.
struct FileIdentity {
  uint64_t dev = 0;
  uint64_t ino = 0;
  int64_t size = 0;
  int64_t mtimeNs = 0;  // last write, nanoseconds since 1970 UTC
  int64_t ctimeNs = 0;  // last change of the inode
  bool operator==(const FileIdentity&) const = default;
};

struct EntryStat {
  int error = 0;  // errno; the figures are 0 when set
  EntryKind kind = EntryKind::Other;
  int64_t size = 0;
  int64_t mtimeUtc = 0;  // last write, seconds since 1970 UTC
  uint64_t links = 0;    // hard links; a folder's count includes its sub-folders on some file systems
  uint32_t uid = 0;      // owner
  FileIdentity identity;
};

// Which mounted file system a folder is on. Mount ids tell bind mounts of
// one device apart; where the kernel gives none the device number stands in.
struct MountKey {
  uint64_t value = 0;
  bool isMountId = false;
  bool operator==(const MountKey&) const = default;
};

// Which folder it is: its mount and its inode, so a walk can tell that the
// folder it opens is the one it looked at, and that it stays on one mount.
struct FolderId {
  MountKey mount;
  uint64_t dev = 0;
  uint64_t ino = 0;
  bool operator==(const FolderId&) const = default;
};

class DirListing {
 public:
  // Opens a folder; a link in the last component is not followed. On failure
  // the listing is empty and Error() holds the errno.
  [[nodiscard]] static DirListing Open(const std::string& path);
  // The same, following no link anywhere in the absolute `path`: a link on
  // the way fails with ELOOP or ENOTDIR.
  [[nodiscard]] static DirListing OpenNoLinks(const std::string& path);
  // Opens the sub-folder `name` (one component) of an open listing.
  [[nodiscard]] static DirListing OpenAt(const DirListing& parent, std::string_view name);
  // Opens the folder `path` (names joined by "/") below an open ancestor in
  // one step, following no link and crossing no mount on the way. Error()
  // is ENOSYS where the kernel cannot do that in one step.
  [[nodiscard]] static DirListing OpenBelow(const DirListing& ancestor, std::string_view path);

  DirListing() = default;
  DirListing(DirListing&& other) noexcept;
  DirListing& operator=(DirListing&& other) noexcept;
  DirListing(const DirListing&) = delete;
  DirListing& operator=(const DirListing&) = delete;
  ~DirListing();

  bool IsOpen() const { return fd_ >= 0; }
  int Error() const { return error_; }
  int Fd() const { return fd_; }  // -1 when not open

  // Reads every entry but "." and ".." into `out` (cleared first), in the
  // order the file system yields them. False on an error (Error() tells);
  // the entries read before it stay in `out`.
  bool Read(DirEntries& out);

  // Size and last-write time of an entry, the entry itself for a link.
  [[nodiscard]] EntryStat Stat(const char* name) const;

  std::optional<MountKey> Mount() const;
  // Permission bits of this open folder (sticky bit included); nothing when
  // they cannot be read.
  std::optional<uint32_t> Mode() const;

  // True when this folder's file system counts a folder's sub-folders in
  // its link count (ext2/3/4, xfs, tmpfs): a folder with two links then has
  // no sub-folder, and nothing needs to be opened to know it.
  bool CountsSubfolderLinks() const;
  // Identity of this open folder.
  std::optional<FolderId> Id() const;
  // Identity of the entry `name` without opening it: nothing when it is not
  // a folder (a link included) or cannot be looked at. An automount point is
  // seen as it is, not triggered.
  std::optional<FolderId> SubfolderId(const char* name) const;

 private:
  static DirListing FromFd(int fd);
  int fd_ = -1;
  int error_ = 0;
  bool read_ = false;  // a second Read starts from the beginning again
};

// The names of the sub-folders of `path` (links left out), sorted byte-wise;
// none when it cannot be read.
std::vector<std::string> SubfolderNames(const std::string& path);
// The same for its regular files.
std::vector<std::string> FileNames(const std::string& path);

}  // namespace vorlo
