// File and folder operations on byte paths. They return an errno value
// (0 for success) instead of throwing, so a run never stops mid-way.
#pragma once

#include <cstddef>
#include <cstdint>
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

// The platform's message text of an errno value, or the text of one of the
// codes above.
std::string ErrorText(int err);

bool FileExists(const std::string& path);    // anything but a folder
bool FolderExists(const std::string& path);  // a folder, or a link to one
// Size of a file in bytes; -1 when it cannot be read.
int64_t FileSize(const std::string& path);

// Creates one folder level (mode 0700); an existing folder is success.
[[nodiscard]] int CreateFolder(const std::string& path);
// Creates a folder with all missing parents.
[[nodiscard]] int CreateFolderTree(const std::string& path);

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

// Writes a new file beside `path` under a fresh unique name (never an
// existing file), flushes it to disk and renames it over `path`; on any
// failure the new file is removed and `path` stays as it was.
[[nodiscard]] int WriteFileReplacing(const std::string& path, std::string_view bytes);

// Removes one name of a file (a link itself, not what it points to): 0, or
// the errno.
[[nodiscard]] int RemoveFile(const std::string& path);

}  // namespace vorlo
