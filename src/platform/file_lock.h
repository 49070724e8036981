// An advisory lock on a file of the data folder, taken with flock so that
// the system drops it when the process dies. The lock belongs to this open
// file: a second lock on the same file, in this process or another, is
// refused while this one is held.
#pragma once

#include <string>

namespace vorlo {

class FileLock {
 public:
  FileLock() = default;
  ~FileLock() { Release(); }
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;

  // Takes the lock exclusively without waiting, creating the file when it
  // is missing. 0 on success; EWOULDBLOCK when someone else holds it;
  // otherwise the errno of opening or locking the file.
  int TryExclusive(const std::string& path);
  void Release();
  bool Held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

}  // namespace vorlo
