// A run log: UTF-8 text with CR LF line ends. Each call writes its lines in
// one write under one lock, so the halt lines of a stop never split a file
// line of the scan thread and a line on disk is never half a line.
//
// A control (C0, DEL, C1, or the line and paragraph separators) would let a
// file name forge log lines or act on the viewer or terminal that shows the
// log, so the text after a line's leading tabs (or after "ERR" and its tab)
// is written exactly when it has none, and otherwise in shell quoting
// (ShownName): $'...' with each byte of a control as \xHH, a backslash as
// \\ and a quote as \'. A real path starts with "/", never "$'".
//
// The file is opened as an OutputFile: never through a link, never another
// user's file when root writes into that user's folder.
//
// Failures are kept, not swallowed: opening returns the errno, the first
// failed write or close is kept in Error() and reported once to onFailure.
#pragma once

#include <functional>
#include <mutex>
#include <string>
#include <string_view>

#include "platform/output_file.h"

namespace vorlo {

class RunLog {
 public:
  RunLog() = default;
  ~RunLog() { Close(); }
  RunLog(const RunLog&) = delete;
  RunLog& operator=(const RunLog&) = delete;

  // Appends to the file (creating it), or replaces it. 0, or the errno.
  int OpenAppend(const std::string& path) { return Open(path, false); }
  int OpenNew(const std::string& path) { return Open(path, true); }
  // Closes the file; a failure to close counts as a failed write.
  void Close();

  // Writes lines together, each ended by CR LF.
  void Lines(std::initializer_list<std::string_view> lines);
  void Line(std::string_view line) { Lines({line}); }
  // Writes text without ending the line.
  void Text(std::string_view text);

  // The first failed write or close since the file was opened; 0 if none.
  int Error() const;
  const std::string& Path() const { return path_; }
  // Called once per opened file, on the writing thread, outside the lock,
  // when a write first fails.
  std::function<void(int err)> onFailure;

 private:
  int Open(const std::string& path, bool replace);
  void Write(const std::string& bytes);
  mutable std::mutex mutex_;
  OutputFile file_;
  int error_ = 0;
  std::string path_;
};

}  // namespace vorlo
