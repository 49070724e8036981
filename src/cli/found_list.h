// The kept results on the command line: the lines of `vorlo-cli found`, and
// reading a list of files back (those lines, or bare paths) to pick the
// kept results' files it names, for `vorlo-cli clean --found`.
#pragma once

#include <cstdio>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/data_files.h"
#include "core/found_results.h"

namespace vorlo {
class Clock;
}

namespace vorlo::cli {

// One file: its type's number in the list (from 1), size, modification time
// (ISO 8601, local time) and path, separated by tabs. With `nul` the line
// ends with a zero byte and the path is its bytes; else it ends with a line
// feed and a path holding a control is shown as terminals are shown names.
std::string FoundLine(const FoundResults& results, size_t record, const Clock& clock, bool nul);

struct UnmatchedPath {
  std::string path;         // as listed (unquoted)
  std::string_view reason;  // why it is not taken, to follow the path
};

struct FoundSelection {
  FoundResults matched;  // the named files, each once, in the results' order
  std::vector<UnmatchedPath> unmatched;
};

// Takes the files of `kept` that `list` names: one entry a line (a final CR
// dropped), or with `nul` one entry per zero byte; an entry is a line of
// `found` (whose type, size and time must still be those kept) or a bare
// full path, either perhaps shell-quoted. Empty entries are passed over;
// files an earlier type found are taken as that type's.
FoundSelection MatchFoundList(std::string_view list, bool nul, const FoundResults& kept, const Clock& clock);

// For `clean --found FILE`: loads the kept results of `files` and matches
// FILE against them; names every listed path it does not take on `err`, one
// "vorlo-cli: " line each (and sets `anyUnmatched`). Nothing when the results or FILE cannot be read
// (said on `err`).
std::optional<FoundResults> SelectListedFiles(const DataFiles& files, const std::string& listFile, bool nul,
                                              const Clock& clock, std::FILE* err, bool* anyUnmatched = nullptr);

// The kept results of `files`, or nothing with the reason on `err` (no
// analysis kept any, or the file cannot be loaded).
std::optional<FoundResults> LoadKeptResults(const DataFiles& files, std::FILE* err);

}  // namespace vorlo::cli
