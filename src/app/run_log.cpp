#include "app/run_log.h"

#include <algorithm>
#include <cerrno>

#include "app/texts.h"
#include "core/text.h"

namespace vorlo {

namespace {

// The tabs a log line begins with are its own layout, not part of a name.
size_t LayoutPrefix(std::string_view line) {
  if (line.starts_with(texts::kErrPrefix)) return texts::kErrPrefix.size();
  return std::min(line.find_first_not_of('\t'), line.size());
}

void AppendEscaped(std::string& out, std::string_view line) {
  const size_t prefix = LayoutPrefix(line);
  out.append(line.substr(0, prefix));
  const std::string_view rest = line.substr(prefix);
  if (HasDisplayControls(rest))
    out.append(ShellQuoted(rest));
  else
    out.append(rest);
}

}  // namespace

int RunLog::Open(const std::string& path, bool replace) {
  Close();
  const std::lock_guard lock(mutex_);
  path_ = path;
  error_ = 0;
  return file_.Open(path, replace ? OutputFile::Mode::Replace : OutputFile::Mode::Append);
}

void RunLog::Close() {
  std::unique_lock lock(mutex_);
  if (!file_.IsOpen()) return;
  // A full disk or a lost network share may first show here.
  const int err = file_.Close();
  if (err == 0 || error_ != 0) return;
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
  if (!file_.IsOpen()) return;
  // After a failure the log still takes what it can (the halt line), but
  // the failure is reported once.
  const int err = file_.Write(bytes);
  if (err == 0 || error_ != 0) return;
  error_ = err;
  lock.unlock();
  if (onFailure) onFailure(err);
}

}  // namespace vorlo
