#include "app/run_log.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

#include "app/texts.h"

namespace vorlo {

namespace {

bool IsControl(char c) {
  const auto b = static_cast<unsigned char>(c);
  return b < 0x20 || b == 0x7f;
}

// The tabs a log line begins with are its own layout, not part of a name.
size_t LayoutPrefix(std::string_view line) {
  if (line.starts_with(texts::kErrPrefix)) return texts::kErrPrefix.size();
  return std::min(line.find_first_not_of('\t'), line.size());
}

void AppendEscaped(std::string& out, std::string_view line) {
  const size_t prefix = LayoutPrefix(line);
  out.append(line.substr(0, prefix));
  const std::string_view rest = line.substr(prefix);
  if (std::none_of(rest.begin(), rest.end(), IsControl)) {
    out.append(rest);
    return;
  }
  static constexpr char kHex[] = "0123456789abcdef";
  out += "$'";
  for (const char c : rest) {
    if (IsControl(c)) {
      const auto b = static_cast<unsigned char>(c);
      out += {'\\', 'x', kHex[b >> 4], kHex[b & 0xf]};
    } else if (c == '\\' || c == '\'') {
      out += {'\\', c};
    } else {
      out += c;
    }
  }
  out += '\'';
}

}  // namespace

int RunLog::Open(const std::string& path, bool replace) {
  Close();
  const std::lock_guard lock(mutex_);
  path_ = path;
  error_ = 0;
  fd_ = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC | (replace ? O_TRUNC : O_APPEND), 0644);
  return fd_ < 0 ? errno : 0;
}

void RunLog::Close() {
  std::unique_lock lock(mutex_);
  if (fd_ < 0) return;
  // A full disk or a lost network share may first show here.
  const bool failed = ::close(fd_) != 0;
  const int err = errno;
  fd_ = -1;
  if (!failed || error_ != 0) return;
  error_ = err;
  lock.unlock();
  if (onFailure) onFailure(err);
}

int RunLog::Error() const {
  const std::lock_guard lock(mutex_);
  return error_;
}

void RunLog::Lines(std::initializer_list<std::string_view> lines) {
  std::string bytes;
  for (std::string_view line : lines) {
    AppendEscaped(bytes, line);
    bytes += "\r\n";
  }
  Write(bytes);
}

void RunLog::Text(std::string_view text) {
  std::string bytes;
  AppendEscaped(bytes, text);
  Write(bytes);
}

void RunLog::Write(const std::string& bytes) {
  std::unique_lock lock(mutex_);
  if (fd_ < 0) return;
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
    if (n > 0) {
      done += static_cast<size_t>(n);
      continue;
    }
    if (n < 0 && errno == EINTR) continue;
    const int err = n < 0 ? errno : EIO;
    if (error_ != 0) return;  // reported already
    error_ = err;
    lock.unlock();
    if (onFailure) onFailure(err);
    return;
  }
}

}  // namespace vorlo
