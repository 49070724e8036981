// The texts of the review of found files: its command and button, its
// window, and vorlo-cli's words for listed files it does not clean.
#pragma once

#include <string_view>

namespace vorlo::texts {

// The ribbon command ("Tools" group of the "Vorlo" tab) and the button of an
// analysis's closing message that open the review.
inline constexpr std::string_view kReviewCommand = "&Review found files";
inline constexpr std::string_view kReviewButton = "Review";

// The review window.
inline constexpr const char* kReviewCaption = "Review found files";
inline constexpr const char* kReviewColumns[] = {"Type", "Name", "Folder", "Size", "Modified"};
inline constexpr const char* kReviewFilter = "&Filter:";
inline constexpr const char* kReviewFilterHint = "Part of a path";
inline constexpr const char* kCleanUpTicked = "Clean up ticked files";
inline constexpr const char* kReviewFiles = "%s file%s";
inline constexpr const char* kReviewTicked = "%s of %s files ticked, %s";
inline constexpr const char* kReviewTickedHidden = " (%s of them hidden by the filter)";
// With the date and time the analysis started.
inline constexpr const char* kReviewCaptionOf = "Review found files - analysis of %s";
inline constexpr const char* kReviewCaptionStopped = "Review found files - analysis of %s, stopped before its end";
inline constexpr const char* kReviewNoProgram = "No program could open the folder %s.";

// Clean up ticked files with none ticked, in status panel 1.
inline constexpr std::string_view kNothingTicked = "No found file is ticked.";
// Added to an analysis's closing message when its results could not be kept.
inline constexpr const char* kResultsNotKept = "\r\n\r\nThe found files could not be kept for review in %s: %s.";

// vorlo-cli clean --found: why a listed path is not cleaned, after the path.
inline constexpr std::string_view kNotInResults = "is not in the kept results";
inline constexpr std::string_view kDiffersFromResults = "differs from the kept results";
inline constexpr std::string_view kNotAFullPath = "is not a full path";
// vorlo-cli found, and clean --found, when no analysis has kept its results.
inline constexpr const char* kNoResults = "no analysis has kept its results in %s yet";

}  // namespace vorlo::texts
