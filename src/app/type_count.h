// The count of one junk type: the scan run without touching any file, its
// figures and the texts that report them. The main window's count (through
// RunControl) and the wizard's count page both run on this; each shows the
// report its own way (a message box, the page's labels).
#pragma once

#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "core/found_file.h"
#include "core/junk_type.h"
#include "core/scan_thread.h"
#include "core/stop_event.h"
#include "platform/locale_info.h"
#include "platform/output_file.h"

namespace vorlo {

class TJunkDelThread;

// What a finished count found: the scan's counts (bytes of the files that
// would be processed, folders searched, files matched, restricted and
// protected).
using CountResult = ScanCounts;

// The report, line by line as shown; a line that is not shown is empty.
struct CountLines {
  std::string folders, matched, restricted, protectedFiles, actual, size;
};

// The main window's message and the wizard's page word two lines apart.
enum class CountWording { Message, Page };

CountLines CountReportLines(const CountResult& r, const NumberSeparators& separators, CountWording wording);
// The main window's message: the introduction, then the lines.
std::string CountMessage(const CountResult& r, const NumberSeparators& separators);

class TypeCount {
 public:
  using Report = std::function<void(const CountResult&)>;
  using Done = std::function<void(bool stopped)>;

  // The context and the program folder are the scan's (see ActOnFiles); the
  // stop event's name tells the window's count from the wizard's.
  TypeCount(std::string stopEventName, const ScanContext& context, std::string programFolder);
  // The owner lets a started count end (`done` has run) before this goes.
  ~TypeCount();
  TypeCount(const TypeCount&) = delete;
  TypeCount& operator=(const TypeCount&) = delete;

  // Starts counting `type`, which must outlive the count. With a
  // `foundList`, each file that would be processed is written there, one
  // path a line ended by "\r\n"; when that file cannot be created nothing
  // starts and the errno is returned. `report` runs on the main thread
  // while the scan waits, only when it was not stopped; `done` runs on the
  // main thread at the end, the list file closed by then.
  int Start(const TJunkFileObj& type, const std::string& foundList, Report report, Done done);
  void Stop() { stop_.Set(); }
  bool Active() const { return active_; }
  // What broke the last count off, when something did (the report was not
  // made then).
  const std::string& Error() const { return error_; }

 private:
  void OneFile(const FoundFile& file);
  void Ended(TJunkDelThread& thread);

  StopEvent stop_;
  const ScanContext& context_;
  std::string programFolder_;
  void FlushList(size_t atLeast);
  void CloseList();

  std::mutex listLock_;  // the list is written from the scan thread
  OutputFile list_;
  std::string listBuffer_;
  bool active_ = false;
  std::string error_;
  std::unique_ptr<TJunkDelThread> scan_;
  Report report_;
  Done done_;
};

}  // namespace vorlo
