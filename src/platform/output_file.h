// A text file the program writes into: the run logs and the wizard's list of
// found files in the data folder. It is opened without following a link and
// only when it is a regular file; running as root in a folder another user
// owns, a file of that user (or one with more than one name) is refused, so
// that the folder's owner cannot point a log at a file of root's. Replacing
// truncates only after those checks.
#pragma once

#include <string>
#include <string_view>

namespace vorlo {

class OutputFile {
 public:
  enum class Mode { Append, Replace };

  OutputFile() = default;
  ~OutputFile() { Close(); }
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  // Creates the file (mode 0644) when missing. 0, or the errno (ELOOP for a
  // link, EINVAL for anything but a regular file, EPERM for a refused one).
  [[nodiscard]] int Open(const std::string& path, Mode mode);
  bool IsOpen() const { return fd_ >= 0; }
  // Writes all of `bytes`: 0, or the errno (EIO when nothing more goes).
  [[nodiscard]] int Write(std::string_view bytes);
  // Flushes what was written to disk: 0, or the errno.
  [[nodiscard]] int Sync();
  // 0, or the error close reports (it may carry a write error).
  int Close();

 private:
  int fd_ = -1;
};

// Writes all of `bytes` to a descriptor: 0, or the errno of the failed
// write (EIO when a write takes nothing).
[[nodiscard]] int WriteAll(int fd, std::string_view bytes);

}  // namespace vorlo
