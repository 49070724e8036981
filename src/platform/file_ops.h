// File and folder operations on byte paths. They return an errno value
// (0 for success) instead of throwing, so a run never stops mid-way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlo {

// The platform's message text of an errno value.
std::string ErrorText(int err);

bool FileExists(const std::string& path);    // anything but a folder
bool FolderExists(const std::string& path);  // a folder, or a link to one
// Size of a file in bytes; -1 when it cannot be read.
int64_t FileSize(const std::string& path);

// Creates one folder level (mode 0700); an existing folder is success.
[[nodiscard]] int CreateFolder(const std::string& path);
// Creates a folder with all missing parents.
[[nodiscard]] int CreateFolderTree(const std::string& path);

struct FileRead {
  std::string bytes;
  int error = 0;
};
// Reads a whole regular file; larger files than `maxBytes` fail with EFBIG.
[[nodiscard]] FileRead ReadWholeFile(const std::string& path, size_t maxBytes = 64u << 20);

// Writes a new file beside `path`, flushes it to disk and renames it over
// `path`; on any failure the old file stays as it was.
[[nodiscard]] int WriteFileReplacing(const std::string& path, std::string_view bytes);

}  // namespace vorlo
