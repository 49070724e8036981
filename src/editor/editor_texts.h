// Texts of the junk type editor: the folder rules' names, which the wizard
// and the folder picker share, the picker's path field, and the wizard's
// reasons for a disabled Next or Finish.
#pragma once

namespace vorlo::texts {

// A folder entry's rule as the wizard's "Selection" column and the picker's
// path field name it, by rule code (0, 1, 2).
inline constexpr const char* kSelectionTexts[] = {"Folder and subfolders", "Folder only", "Subfolders only"};

// The folder picker's path field.
inline constexpr const char* kPathPlaceholder = "Type or paste a folder path";
inline constexpr const char* kPathHint = "The full path of a folder to search, added with the rule beside it";
inline constexpr const char* kPathRuleHint = "What to search in the typed folder";
inline constexpr const char* kAddPathCaption = "A&dd";
inline constexpr const char* kAddPathHint = "Add the typed folder with the chosen rule";
inline constexpr const char* kPathNotFull = "Enter a full path that begins with /";
inline constexpr const char* kPathMissing = "No such folder: %s";
inline constexpr const char* kPathNotFolder = "Not a folder: %s";

// Why the wizard's Next or Finish is disabled.
inline constexpr const char* kNeedName = "Enter a name for this junk file type.";
inline constexpr const char* kNeedSpec = "Add a file specification to process.";
inline constexpr const char* kNeedRestriction = "Complete the restriction, or switch it off.";

}  // namespace vorlo::texts
