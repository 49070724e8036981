// File and folder operations on byte paths. They return an errno value
// (0 for success) instead of throwing, so a run never stops mid-way.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace vorlo {

// Failures that are not errno values, numbered past every errno value.
// The path names something other than a regular file (a FIFO, a device, a
// socket).
inline constexpr int kNotRegularFile = 0x10000;
// A file that another program has open or mapped.
inline constexpr int kFileInUse = 0x10001;
// A file that is no longer the one a decision was made on (written to,
// replaced, renamed over since it was looked at).
inline constexpr int kFileChanged = 0x10002;
// A folder path that leads through a link which another user could change
// (refused when running as root).
inline constexpr int kUnsafeLink = 0x10003;
// A file that would have gone without its entry in the undo journal.
inline constexpr int kNoRecord = 0x10004;
// A file of an analysis's kept results that is no longer the one found, or
// that its junk type would no longer take.
inline constexpr int kChangedSinceAnalysis = 0x10005;

// The platform's message text of an errno value, or the text of one of the
// codes above.
std::string ErrorText(int err);

bool FileExists(const std::string& path);    // anything but a folder
bool FolderExists(const std::string& path);  // a folder, or a link to one
bool NamesAFile(const std::string& path);    // anything but a folder, links followed
// Size of a file in bytes; -1 when it cannot be read.
int64_t FileSize(const std::string& path);

// Renames `from` to `to` (replacing what `to` names): 0, or the errno.
[[nodiscard]] int RenameFile(const std::string& from, const std::string& to);
// Removes a file (a link itself, not what it points to) if it is there: 0,
// or the errno.
int RemoveFile(const std::string& path);
// Whether the stream is a terminal (progress lines are drawn only there).
bool IsTerminal(std::FILE* stream);

// Creates one folder level (mode 0700); an existing folder is success.
[[nodiscard]] int CreateFolder(const std::string& path);
// Creates a folder with all missing parents.
[[nodiscard]] int CreateFolderTree(const std::string& path);

// The permission bits of the open folder `fd`; 0 when they cannot be read.
uint32_t FolderModeOf(int fd);

// How many more descriptors this process may open now (its soft limit less
// those it has open).
size_t SpareDescriptors();

struct FileRead {
  std::string bytes;
  int error = 0;
};
// Reads a whole regular file, following links. It is opened without
// blocking and its type checked before any read: a folder fails with EISDIR,
// any other kind of file with kNotRegularFile. Larger files than `maxBytes`
// fail with EFBIG. The bytes take the file's size, with no spare room.
[[nodiscard]] FileRead ReadWholeFile(const std::string& path, size_t maxBytes = 64u << 20);

// A file written in pieces that takes the place of `path` only when it is
// complete: it is made beside `path` under a fresh unique name (never an
// existing file), and Commit flushes it to disk and renames it over `path`.
// Until then `path` stays as it was; a file not committed is removed.
class ReplacingFile {
 public:
  ReplacingFile() = default;
  ~ReplacingFile() { Abandon(); }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  [[nodiscard]] int Open(const std::string& path);
  bool IsOpen() const { return fd_ >= 0; }
  // Appends all of `bytes`: 0, or the errno.
  [[nodiscard]] int Write(std::string_view bytes);
  // Puts the file in place of `path`; on failure it is removed. 0 or the errno.
  [[nodiscard]] int Commit();
  // Removes the new file; `path` stays as it was.
  void Abandon();

 private:
  std::string path_;
  std::string temp_;
  int fd_ = -1;
};

// Writes `bytes` as a ReplacingFile and commits it.
[[nodiscard]] int WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace vorlo
