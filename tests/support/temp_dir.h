// A temporary folder per test, removed with everything in it.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include <unistd.h>

namespace vorlo::testing {

class TempDir {
 public:
  TempDir() : TempDir(std::filesystem::temp_directory_path().string()) {}
  // Below `base` instead of the usual temp folder.
  explicit TempDir(const std::string& base) {
    std::string templ = base + "/vorlo-test-XXXXXX";
    path_ = ::mkdtemp(templ.data());
  }

  // A memory-backed folder when one is writable (trees that tests make and
  // remove by the hundred cost far less there), else the usual temp folder.
  static std::string FastBase() {
    if (::access("/dev/shm", W_OK | X_OK) == 0 && std::filesystem::is_directory("/dev/shm")) return "/dev/shm";
    return std::filesystem::temp_directory_path().string();
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  // Creates a file with the given content, with its parent folders.
  std::string Write(const std::string& name, const std::string& content = "") const {
    const std::string full = *this / name;
    std::filesystem::create_directories(std::filesystem::path(full).parent_path());
    std::ofstream(full, std::ios::binary) << content;
    return full;
  }

 private:
  std::string path_;
};

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace vorlo::testing
