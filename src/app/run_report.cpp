#include "app/run_report.h"

#include <cstring>

#include "app/texts.h"
#include "core/byte_text.h"
#include "core/recycle_bin.h"
#include "core/text.h"
#include "platform/file_ops.h"

namespace vorlo {

namespace {

const std::string kStarLine(60, '*');
const std::string kDashLine(60, '-');

// The platform's text for an error, without trailing blanks, line breaks
// and full stops; empty when there is none.
std::string ErrorDetail(int err) {
  if (err == 0) return {};
  std::string text = ErrorText(err);
  while (!text.empty() && std::strchr(" \r\n.", text.back()) != nullptr) text.pop_back();
  return text;
}

}  // namespace

std::string RunReport::Bytes(int64_t n) const { return StringForBytes(n, separators_); }

void RunReport::Title(bool test, const std::string& dateTime) {
  if (test)
    log_.Lines({kStarLine, std::string(texts::kTestLogTitle) + dateTime});
  else
    log_.Lines({kStarLine, std::string(texts::kLogTitle) + dateTime, kStarLine});
}

void RunReport::TypeHeader(const std::string& caption, CleanupMethod method, bool test, bool first) {
  if (!first) log_.Line("");
  log_.Text("\"" + caption + "\"" + std::string(test ? texts::kFilesWouldHaveBeen : texts::kFilesHaveBeen));
  // An unknown method writes no words and leaves the line open for the dashes.
  if (const auto m = static_cast<int32_t>(method); m >= 0 && m <= 2) log_.Line(texts::kMethodWords[m]);
  log_.Line(kDashLine);
}

void RunReport::Removed(std::string_view path) { log_.Line(std::string("\t").append(path)); }

void RunReport::Duplicate(std::string_view path) {
  log_.Line(std::string("\t(").append(path).append(texts::kDupeSuffix));
}

void RunReport::Failed(std::string_view path, int err) {
  log_.Lines({std::string(texts::kErrPrefix).append(path), std::string(texts::kDetailPrefix) + ErrorDetail(err)});
}

void RunReport::ScanBrokeOff(std::string_view what) {
  log_.Lines({std::string(texts::kErrPrefix).append(texts::kScanBrokeOff),
              std::string(texts::kDetailPrefix).append(what)});
}

void RunReport::UndoTitle(const std::string& dateTime) {
  log_.Lines({kStarLine, std::string(texts::kUndoLogTitle) + dateTime, kStarLine});
}

void RunReport::UndoHeader(const std::string& which) { log_.Lines({which, kDashLine}); }

void RunReport::NotRestored(std::string_view path, std::string_view reason) {
  log_.Lines({std::string(texts::kErrPrefix).append(path), std::string(texts::kDetailPrefix).append(reason)});
}

void RunReport::UndoClosing(const std::string& summary) { log_.Lines({kStarLine, summary, kStarLine, "", ""}); }

void RunReport::Halted() { log_.Lines({texts::kHalted, ""}); }

void RunReport::HaltedNoLog() { log_.Lines({texts::kHaltedNoLog, ""}); }

void RunReport::HaltedNoJournal() { log_.Lines({texts::kHaltedNoJournal, ""}); }

bool RunReport::Closing(bool test, const RunTally& tally, const std::string& time, const AllBinInfo& bins) {
  log_.Line(kStarLine);
  if (test) {
    log_.Line(std::string(texts::kFinishedAnalyzingAt) + time);
    log_.Line(FormatText(texts::kProcessedFound, tally.types, tally.removed));
  } else {
    log_.Line(std::string(texts::kFinishedAt) + time);
    log_.Line(FormatText(texts::kProcessedRemoved, tally.types, tally.removed));
  }
  if (tally.bytes > 0) log_.Line(FormatText(texts::kTotal, Bytes(tally.bytes).c_str()));
  log_.Line(kStarLine);
  if (!test) {
    log_.Lines({"", ""});
    return false;
  }
  log_.Line(texts::kBinStatistics);
  const bool warning = BinStatistics(bins);
  log_.Line(kStarLine);
  return warning;
}

// One line per listed local drive; true when some drive's bin is too small.
bool RunReport::BinStatistics(const AllBinInfo& bins) {
  bool BinProb = false;
  for (const DriveBinInfo& d : bins.DrivesInfo) {
    const OneBinInfo& b = d.info;
    if (!b.InReg || !b.local) continue;
    const std::string req = PadLeft(Bytes(b.BinReq), 12), size = PadLeft(Bytes(b.BinSize), 12);
    const char* mp = d.mountPoint.c_str();
    if (b.BinReq <= b.BinSize) {
      log_.Line(FormatText(texts::kBinLine, mp, req.c_str(), size.c_str(), b.BinPercent));
      continue;
    }
    BinProb = true;
    if (b.DrvSize != 0) {
      const auto needed = static_cast<int>(b.BinReq * 100 / b.DrvSize + 1);
      log_.Line(FormatText(texts::kBinLineError, mp, req.c_str(), size.c_str(), b.BinPercent, needed));
    } else {
      log_.Line(FormatText(texts::kBinLineErrorUnknown, mp, req.c_str(), size.c_str(), b.BinPercent));
    }
  }
  return BinProb;
}

std::string RunReport::ClosingMessage(bool test, bool stopped, bool binWarning, int logError,
                                      const RunTally& tally) const {
  std::string text;
  if (logError != 0)
    text = FormatText(texts::kLogFailed, ShownName(log_.Path()).c_str(), ErrorText(logError).c_str()) + "\r\n\r\n";
  else if (stopped)
    text = texts::kBeforeStopped;
  const std::string size = Bytes(tally.bytes);
  if (test) {
    text += FormatText(texts::kAnalysisDone, tally.types, tally.removed);
    if (tally.bytes > 0) text += FormatText(texts::kSavingsIf, size.c_str());
    if (binWarning) text += texts::kBinWarning;
    return logError != 0 ? text : text + std::string(texts::kViewTestLog);
  }
  text += FormatText(texts::kCleanupDone, tally.types, tally.removed);
  if (tally.errors > 0) text += FormatText(texts::kNotRemoved, tally.errors);
  if (tally.bytes > 0)
    text += FormatText(tally.nonPermanent > 0 ? texts::kSavingsLater : texts::kSavingsNow, size.c_str());
  return logError != 0 ? text : text + std::string(texts::kViewLog);
}

}  // namespace vorlo
