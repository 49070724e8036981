// What a clean-up or analysis says: every line of its log (title, type
// headers, removed, failed and duplicate files, halt lines, closing lines,
// Recycle Bin statistics) and its closing message, laid out in one place.
// The lines go through the run's RunLog, which escapes names and reports a
// failed write.
#pragma once

#include <string>
#include <string_view>

#include "app/run_log.h"
#include "app/run_tally.h"
#include "core/junk_type.h"
#include "platform/locale_info.h"

namespace vorlo {

struct AllBinInfo;

class RunReport {
 public:
  RunReport(RunLog& log, NumberSeparators separators) : log_(log), separators_(std::move(separators)) {}

  void Title(bool test, const std::string& dateTime);
  // "<caption>" files have been (would have been) <method>, and the dashes;
  // a blank line before every type but the first.
  void TypeHeader(const std::string& caption, CleanupMethod method, bool test, bool first);
  void Removed(std::string_view path);
  void Duplicate(std::string_view path);
  // The error line and the detail line with the system's text for `err`.
  void Failed(std::string_view path, int err);
  // A scan that broke off, with what broke it.
  void ScanBrokeOff(std::string_view what);
  void Halted();
  void HaltedNoLog();
  void HaltedNoJournal();
  // The closing lines, then for an analysis the Recycle Bin statistics;
  // true when a drive's Recycle Bin is too small for what would go there.
  bool Closing(bool test, const RunTally& tally, const std::string& time, const AllBinInfo& bins);

  // An undo's section of the clean-up log: its title, which run it puts
  // back, each file that did not come back with the reason, and the summary
  // (files that came back are Removed lines).
  void UndoTitle(const std::string& dateTime);
  void UndoHeader(const std::string& which);
  void NotRestored(std::string_view path, std::string_view reason);
  void UndoClosing(const std::string& summary);

  // The message at the end of a run; with a log error it leads with that
  // and does not offer the log.
  std::string ClosingMessage(bool test, bool stopped, bool binWarning, int logError, const RunTally& tally) const;

 private:
  bool BinStatistics(const AllBinInfo& bins);
  std::string Bytes(int64_t n) const;

  RunLog& log_;
  NumberSeparators separators_;
};

}  // namespace vorlo
