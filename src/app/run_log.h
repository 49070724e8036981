// A run log: UTF-8 text with CR LF line ends. Lines are written whole under
// one lock, so the halt lines of a stop never split a file line of the scan
// thread. A log that cannot be opened or written loses its lines silently.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace vorlo {

class RunLog {
 public:
  RunLog() = default;
  ~RunLog() { Close(); }
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  // Appends to the file (creating it), or replaces it.
  void OpenAppend(const std::string& path) { Open(path, "ab"); }
  void OpenNew(const std::string& path) { Open(path, "wb"); }
  void Close();

  // Writes lines together, each ended by CR LF.
  void Lines(std::initializer_list<std::string_view> lines);
  void Line(std::string_view line) { Lines({line}); }
  // Writes text without ending the line.
  void Text(std::string_view text);

 private:
  void Open(const std::string& path, const char* mode);
  std::mutex mutex_;
  std::FILE* file_ = nullptr;
};

}  // namespace vorlo
