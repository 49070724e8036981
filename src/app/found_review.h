// The review of an analysis's kept results, without a window: the found
// files grouped by junk type, sorted by a column, filtered by part of a
// path, each with a tick, and the totals of what is ticked. A file that an
// earlier type found too is no row of its own: each file is reviewed once,
// under the type that would remove it.
//
// Sorting a million files takes a fraction of a second: the order of names,
// folders and paths is ranked once, so a sort compares integers only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/found_results.h"
#include "platform/locale_info.h"

namespace vorlo {

enum class ReviewColumn { Type, Name, Folder, Size, Modified };
inline constexpr int kReviewColumnCount = 5;

enum class TickState { None, Some, All };

class FoundReview {
 public:
  // Every file ticked, the types in list order, each type's files by path.
  explicit FoundReview(FoundResults results);

  const FoundResults& Results() const { return results_; }

  // The types with shown files, in the current order.
  size_t GroupCount() const { return groups_.size(); }
  uint32_t GroupType(size_t group) const { return groups_[group]; }
  const FoundType& Type(size_t group) const { return results_.Types()[groups_[group]]; }
  // A group's shown files: how many, the record of each row, their bytes.
  size_t FileCount(size_t group) const { return shown_[groups_[group]].size(); }
  uint32_t FileAt(size_t group, size_t row) const { return shown_[groups_[group]][row]; }
  int64_t GroupBytes(size_t group) const { return types_[groups_[group]].shownBytes; }
  // Where a type or a record is shown now: nothing when it is not.
  std::optional<size_t> GroupOf(uint32_t type) const;
  std::optional<std::pair<size_t, size_t>> PlaceOf(uint32_t record) const;

  // Orders the files of each type by the column, ties by path; the types by
  // their list order (Type, Name, Folder), total size (Size) or newest file
  // (Modified). Descending reverses the column's order, not that of ties.
  void Sort(ReviewColumn column, bool descending);
  // Shows only the files whose path holds `part`, letters A to Z in either
  // case; an empty part shows every file. Ticks stay as they are.
  void SetFilter(std::string_view part);
  const std::string& Filter() const { return filter_; }

  bool Ticked(uint32_t record) const { return (flags_[record] & kTicked) != 0; }
  void SetTicked(uint32_t record, bool on);
  // Over the group's shown files.
  TickState GroupTick(size_t group) const;
  void SetGroupTicked(size_t group, bool on);

  struct Totals {
    uint64_t files = 0;  // every file of the review
    uint64_t ticked = 0;
    int64_t tickedBytes = 0;
    uint64_t tickedHidden = 0;  // ticked, and not shown by the filter
  };
  const Totals& Count() const { return totals_; }
  // The ticked files, in the order of the results.
  std::vector<uint32_t> TickedRecords() const;
  FoundResults TickedResults() const { return results_.Subset(TickedRecords()); }

 private:
  static constexpr uint8_t kTicked = 1;
  static constexpr uint8_t kShown = 2;
  static constexpr uint32_t kNowhere = UINT32_MAX;

  struct TypeFiles {
    std::vector<uint32_t> files;  // in the current order
    int64_t bytes = 0;
    int64_t newest = INT64_MIN;
    int64_t shownBytes = 0;
    uint64_t shownTicked = 0;
  };

  void RankPaths();
  void Rebuild();

  FoundResults results_;
  std::vector<TypeFiles> types_;             // per type of the results
  std::vector<std::vector<uint32_t>> shown_;  // per type: its shown files, in order
  std::vector<uint32_t> typeOrder_;          // types with files, in the current order
  std::vector<uint32_t> groups_;             // of those, the ones with shown files
  std::vector<uint32_t> groupOf_;            // per type: its group, or kNowhere
  std::vector<uint8_t> flags_;               // per record
  std::vector<uint32_t> rowOf_;              // per record: its row in its group, or kNowhere
  std::vector<uint32_t> nameRank_, folderRank_, pathRank_;  // per record
  std::string filter_;
  Totals totals_;
};

// The status line of the review: "1,234 of 5,000 files ticked, 3.20 MB",
// and how many ticked files the filter hides.
std::string ReviewStatusText(const FoundReview::Totals& totals, const NumberSeparators& separators);
// A type row's count: "12 files", "1 file".
std::string ReviewFileCountText(uint64_t files, const NumberSeparators& separators);

}  // namespace vorlo
