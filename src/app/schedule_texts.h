// The texts of scheduled clean-ups: the schedule's status and its refusals,
// the schedule dialog, and the notification that ends a scheduled run.
#pragma once

#include <string_view>

namespace vorlo::texts {

// Status, as vorlo-cli prints it and the dialog shows it.
inline constexpr const char* kScheduleIs = "Schedule: %s";
inline constexpr std::string_view kScheduleOff = "off";
inline constexpr std::string_view kNotEnabled = ", but its timer is not enabled";
inline constexpr const char* kNextRun = "Next run: %s";
inline constexpr const char* kLastRun = "Last run: %s";
inline constexpr const char* kLastOutcome = "Last outcome: %s";
inline constexpr std::string_view kNoNextRun = "none planned";
inline constexpr std::string_view kNeverRun = "never";

// Why a schedule cannot be set or read.
inline constexpr const char* kNoServiceManager =
    "Vorlo cannot schedule clean-ups here: the user's service manager (systemctl --user) is not available: %s";
inline constexpr std::string_view kNoSystemctl = "systemctl was not found";
inline constexpr std::string_view kNoUnitFolder =
    "Vorlo cannot schedule clean-ups here: the home folder is not known, so the user's units have no folder";
inline constexpr const char* kSystemctlStatus = "systemctl ended with status %d";
inline constexpr const char* kSystemctlFailed = "systemctl --user %s failed: %s";
inline constexpr const char* kNoProgram = "The program to schedule, %s, cannot be run: %s";
inline constexpr const char* kProgramPathUnsafe =
    "The program to schedule, %s, lies in a folder whose path holds a quote, a backslash or a control character, "
    "which the service manager refuses to run";
inline constexpr const char* kUnitNotWritten = "Cannot write %s: %s";
inline constexpr const char* kUnitNotRemoved = "Cannot remove %s: %s";

// The schedule dialog and the window's command that opens it. Alt+H is
// "Move item higher" on the same ribbon tab, so the command takes U.
inline constexpr std::string_view kScheduleCommand = "Sched&ule...";
inline constexpr std::string_view kScheduleCaption = "Scheduled clean-up";
inline constexpr std::string_view kScheduleGroup = "Clean up the checked junk types automatically";
inline constexpr std::string_view kPeriodCaptions[] = {"&Off", "&Daily", "&Weekly", "&Monthly"};
inline constexpr std::string_view kSkipsPermanent =
    "Scheduled clean-ups skip the junk types that delete files permanently, so every file they remove can be "
    "restored.";

// The notification at the end of a scheduled run, and its record.
inline constexpr std::string_view kNoticeSummary = "Vorlo's scheduled clean-up";
inline constexpr const char* kNoticeRemoved = "Removed %d file%s (%s).";
inline constexpr const char* kNoticeErrors = " %d file%s could not be removed: see the log.";
inline constexpr std::string_view kUndoAction = "Undo";
inline constexpr std::string_view kOpenLogAction = "Open log";
inline constexpr std::string_view kNoticeNothingRemoved = "Nothing was removed.";
inline constexpr const char* kRunSkipped = "Skipped: %s";

// The help topic of scheduled clean-ups.
inline constexpr int kHelpSchedule = 16;

}  // namespace vorlo::texts
