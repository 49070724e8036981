// The program's texts of the runs, their logs, the count, the list commands and start-up.
#pragma once

#include <string_view>

#include "app/review_texts.h"

namespace vorlo::texts {

// Run log lines.
inline constexpr std::string_view kLogTitle = "Vorlo Log - ";
inline constexpr std::string_view kTestLogTitle = "Vorlo TEST Log - ";
inline constexpr std::string_view kFilesHaveBeen = " files have been ";
inline constexpr std::string_view kFilesWouldHaveBeen = " files would have been ";
inline constexpr std::string_view kMethodWords[] = {"sent to Recycle Bin", "moved to holding folder",
                                                   "deleted permanently"};
inline constexpr std::string_view kHalted = "**** PROCESSING HALTED BY USER ****";
inline constexpr std::string_view kHaltedNoLog = "**** PROCESSING HALTED: THE LOG COULD NOT BE WRITTEN ****";
inline constexpr std::string_view kHaltedNoJournal =
    "**** PROCESSING HALTED: THE UNDO JOURNAL COULD NOT BE WRITTEN ****";
inline constexpr std::string_view kFinishedAt = "Vorlo finished at ";
inline constexpr std::string_view kFinishedAnalyzingAt = "Vorlo finished analyzing at ";
inline constexpr const char* kProcessedRemoved = "Processed %d junk file types and removed %d junk files.";
inline constexpr const char* kProcessedFound = "Processed %d junk file types and found %d junk files.";
inline constexpr const char* kTotal = "TOTAL: %s  (files may occupy more space on disk)";
inline constexpr std::string_view kBinStatistics = "Recycle Bin statistics:";
inline constexpr const char* kBinLine = "%s %12s, Size: %12s (%.02d%%)";
inline constexpr const char* kBinLineError = "%s %12s, Size: %12s (%.02d%%) *ERROR* (%.02d%%)";
inline constexpr const char* kBinLineErrorUnknown = "%s %12s, Size: %12s (%.02d%%) *ERROR* (??%%)";
inline constexpr std::string_view kErrPrefix = "ERR\t";
inline constexpr std::string_view kDetailPrefix = "\t* ";
inline constexpr std::string_view kDupeSuffix = ") dupe";
// The error line of a scan that broke off; its detail says why.
inline constexpr std::string_view kScanBrokeOff = "(the search of this junk file type broke off)";

// Status bar panel 1.
inline constexpr std::string_view kNowAnalyzing = "Now analyzing ";
inline constexpr std::string_view kNowProcessing = "Now processing ";
// Why "Clean up" or "Analyze only" started nothing.
inline constexpr std::string_view kNoneChecked = "No junk file type is checked.";
inline constexpr std::string_view kCountRunning = "A count is running. Stop it first.";

// Recycle Bin problem before a run.
inline constexpr const char* kTypesDisabled = "%d junk file types that rely on the Recycle Bin have been disabled.";
inline constexpr std::string_view kProceed = "\r\n\r\nDo you want to proceed?";
inline constexpr std::string_view kNothingLeft = "\r\n\r\nThere are no enabled junk file types to process.";

// Closing messages.
inline constexpr std::string_view kBeforeStopped = "Before you stopped it, ";
inline constexpr const char* kCleanupDone = "Vorlo processed %d junk file types and removed %d junk files.";
inline constexpr const char* kNotRemoved = " %d files could not be removed. Check the log for details.";
inline constexpr const char* kSavingsLater =
    "\r\nWhen all of these files are permanently deleted, you will realize a savings of at least %s";
inline constexpr const char* kSavingsNow =
    "\r\nBy permanently deleting these files you have realized a savings of at least %s";
inline constexpr std::string_view kViewLog = "\r\n\r\nDo you want to view the log file?";
inline constexpr const char* kAnalysisDone = "Vorlo tested %d junk file types and found %d junk files.";
inline constexpr const char* kSavingsIf =
    "\r\nIf all of these files were permanently deleted, you would realize a savings of at least %s.";
inline constexpr std::string_view kBinWarning =
    "\r\n\r\nWARNING: The Recycle Bin is set too small on at least one of your drives. If you were to clean up "
    "this set of junk file types, you would not be able to restore all of the files that were sent to the "
    "Recycle Bin.\r\n\r\nYou will find Recycle Bin statistics at the end of the test log.";
inline constexpr std::string_view kViewTestLog = "\r\n\r\nDo you want to view the test log?";
// Yes to viewing the log, and no program could show it.
inline constexpr const char* kLogNotShown = "No program could open the log. You will find it here:\r\n\r\n%s";

// A run that cannot keep its log or has to share its data folder.
inline constexpr const char* kLogNotOpened = "Vorlo cannot write its log file %s: %s. Nothing has been removed.";
inline constexpr const char* kLogFailed = "Vorlo could not write its log file %s: %s. The run has been stopped.";
inline constexpr const char* kJournalNotOpened =
    "Vorlo cannot write its undo journal in %s: %s. Nothing has been removed.";
// How a refusal ends, for a clean-up and for an undo.
inline constexpr std::string_view kNothingRemoved = "Nothing has been removed.";
inline constexpr std::string_view kNothingPutBack = "Nothing has been put back.";
inline constexpr const char* kFolderBusy =
    "Another Vorlo run is using the data folder %s. Nothing has been removed. Try again when it has finished.";
inline constexpr const char* kCannotLock = "Vorlo cannot lock the data folder with %s: %s. Nothing has been removed.";
inline constexpr const char* kWindowOpen =
    "Vorlo is already open on the data folder %s. Use that window, or close it and start Vorlo again.";

// Count.
inline constexpr std::string_view kStopEventName = "Vorlo Stop Event";
inline constexpr std::string_view kCountStopEventName = "Count Vorlo Stop Event";
inline constexpr std::string_view kCountCaption = "Coun&t";
inline constexpr std::string_view kCountHint = "Count the number of files matching the selected junk file type";
inline constexpr std::string_view kStopCaption = "Stop";
inline constexpr std::string_view kStopHint = "Stop counting files";
inline constexpr std::string_view kCountIntro = "Vorlo has searched for files matching the selected type\r\n\r\n";
inline constexpr const char* kFoldersSearched = "%d folder%s searched\r\n";
inline constexpr std::string_view kNoMatches = "No files matched the junk file specifications";
inline constexpr const char* kMatched = "%d file%s matched the junk file specifications\r\n";
inline constexpr const char* kRestricted = "%d file%s did not meet the date or size restrictions\r\n";
inline constexpr const char* kProtected = "%d file%s protected by the protect file specifications\r\n\r\n";
inline constexpr const char* kWouldProcess = "%d file%s would be processed\r\n";
inline constexpr const char* kNoSpace = "%s %s not occupy any disk space";
inline constexpr const char* kOccupies = "%s %s %s of disk space.";
// The wizard's count page words two lines its own way: no line break after
// the first, two blanks before "of" in the second.
inline constexpr const char* kPageWouldProcess = "%d file%s would be processed";
inline constexpr const char* kPageOccupies = "%s %s %s  of disk space.";
inline constexpr std::string_view kStoppedByUser = "Operation stopped by user";

// Plural tables, indexed by whether the number is 1.
inline constexpr std::string_view t1[] = {"s were", " was"};
inline constexpr std::string_view t2[] = {"s", ""};
inline constexpr std::string_view t3[] = {"These files", "This file"};
inline constexpr std::string_view t4[] = {"do", "does"};
inline constexpr std::string_view t5[] = {"occupy", "occupies"};

// List commands and start-up.
inline constexpr std::string_view kCannotEnable =
    "This junk file type sends files to the Recycle Bin. You cannot enable it at this time.";
inline constexpr const char* kIdenticalType =
    "You are trying to add a junk file type that is identical in function to the existing junk file type \"%s\". "
    "Continue?";
// Why the ribbon's "Move item higher" moved nothing.
inline constexpr std::string_view kNoneSelected = "No junk file type is selected.";
inline constexpr std::string_view kAlreadyFirst = "The selected junk file type is already the first.";
inline constexpr std::string_view kRestoreQuestion =
    "It appears that was not shut down properly. Attempt to restore changed data from the previous session?";
// The recovery file answered No could not be renamed out of the way.
inline constexpr const char* kCannotSetAside = "Cannot set aside %s as %s: %s";
// Appended to the error of a list file the window cannot read.
inline constexpr std::string_view kNotStarted =
    "\r\n\r\nVorlo has not started, so that nothing replaces the file. Make it readable, or move it away to "
    "start with the default list.";

// Undo of a clean-up: why a file did not come back, the log's section,
// the questions and the summary.
inline constexpr std::string_view kUndoInTheWay = "a file is in the way";
inline constexpr std::string_view kUndoNotInTrash = "no longer in the trash";
inline constexpr std::string_view kUndoNotInHolding = "no longer in the holding folder";
inline constexpr std::string_view kUndoDeleted = "deleted permanently";
inline constexpr std::string_view kUndoLogTitle = "Vorlo Undo - ";
inline constexpr const char* kUndoOfRun = "Putting back what the clean-up of %s (run %u) removed";
inline constexpr const char* kUndoQuestion =
    "Undo the clean-up of %s? The %d files it sent to the trash or moved to the holding folder will be put back "
    "where they were.";
inline constexpr const char* kRestoredOf = "Restored %d of %d files.";
inline constexpr std::string_view kSeeLog = " Check the log for details.";
inline constexpr const char* kUndoneAlready = "Run %u has been undone already: nothing is left to restore.";
inline constexpr std::string_view kNothingToUndo = "No clean-up is left to undo.";
inline constexpr const char* kNoSuchRun = "There is no clean-up run %u to undo.";
inline constexpr std::string_view kUndoStopped = "You stopped the undo. ";

// Help contexts.
inline constexpr int kHelpRecycleBin = 12;
inline constexpr int kHelpCleanupEnd = 13;
inline constexpr int kHelpAnalysisEnd = 14;
inline constexpr int kHelpUndo = 15;

}  // namespace vorlo::texts
