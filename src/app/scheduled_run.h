// What a scheduled clean-up leaves besides its log: a record of its outcome
// in the data folder, which the schedule's status shows, and the desktop
// notification that ends it with the buttons "Undo" and "Open log".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/data_files.h"
#include "platform/desktop_notice.h"
#include "platform/locale_info.h"

namespace vorlo {

// The keys the notification's buttons answer with.
inline constexpr std::string_view kNoticeUndo = "undo";
inline constexpr std::string_view kNoticeOpenLog = "open-log";

struct ScheduledRunOutcome {
  int32_t files = 0;  // removed
  int64_t bytes = 0;  // their size
  int32_t errors = 0;  // files that could not be removed
  // Why the run did not start (another run or the window held the data
  // folder, say); empty for a run that ran.
  std::string skipped;

  bool operator==(const ScheduledRunOutcome&) const = default;
};

// Replaces the data folder's record of the last scheduled run: 0, or the
// errno. A scheduled run calls this at its end.
[[nodiscard]] int RecordScheduledRun(const DataFiles& files, const ScheduledRunOutcome& outcome);
// The record; nothing when there is none or it cannot be read.
std::optional<ScheduledRunOutcome> LastScheduledRun(const DataFiles& files);

// The notification for a run that removed `files` files of `bytesText`
// (StringForBytes of their size) and failed on `errors`: nothing when
// nothing was removed and nothing failed.
std::optional<DesktopNotice> ScheduledRunNotice(int32_t files, const std::string& bytesText, int32_t errors);

// One line for the status: the notification's text, or why the run was
// skipped, or that nothing was removed.
std::string ScheduledRunText(const ScheduledRunOutcome& outcome, const NumberSeparators& separators);

}  // namespace vorlo
