#include "app/run_log.h"

namespace vorlo {

void RunLog::Open(const std::string& path, const char* mode) {
  const std::lock_guard lock(mutex_);
  if (file_ != nullptr) std::fclose(file_);
  file_ = std::fopen(path.c_str(), mode);
}

void RunLog::Close() {
  const std::lock_guard lock(mutex_);
  if (file_ != nullptr) std::fclose(file_);
  file_ = nullptr;
}

void RunLog::Lines(std::initializer_list<std::string_view> lines) {
  const std::lock_guard lock(mutex_);
  if (file_ == nullptr) return;
  for (std::string_view line : lines) {
    std::fwrite(line.data(), 1, line.size(), file_);
    std::fwrite("\r\n", 1, 2, file_);
  }
}

void RunLog::Text(std::string_view text) {
  const std::lock_guard lock(mutex_);
  if (file_ != nullptr) std::fwrite(text.data(), 1, text.size(), file_);
}

}  // namespace vorlo
