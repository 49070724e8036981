// The junk list document: ordered rows, each with its caption, its check
// box and the junk type it owns. The box and the type's checked flag are
// kept apart: during a run a click changes only the box.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/junk_type.h"

namespace vorlo {

struct JunkRow {
  std::string caption;
  bool checked = true;
  std::unique_ptr<TJunkFileObj> type;  // may be absent
};

class JunkList {
 public:
  size_t size() const { return rows_.size(); }
  bool empty() const { return rows_.empty(); }
  JunkRow& operator[](size_t i) { return rows_[i]; }
  const JunkRow& operator[](size_t i) const { return rows_[i]; }

  // Appends a row showing the type's name and checked flag.
  void Append(TJunkFileObj type);
  void Clear();
  void Erase(size_t row);
  // Rows exchange their places (type, caption and box travel together).
  void Swap(size_t a, size_t b);
  // Sets a row's box (and tells the observer).
  void SetChecked(size_t row, bool checked);
  // Tells the observer that a row's caption or type changed.
  void Touch(size_t row) {
    if (rowChanged) rowChanged(row);
  }
  bool AnyChecked() const;
  // The types of the rows that have one, in list order.
  std::vector<TJunkFileObj> Types() const;

  // Called after a row changed; the window uses it to repaint.
  std::function<void(size_t row)> rowChanged;
  // Called around a row's insertion or removal, so that a view keeps its
  // selection on the other rows.
  std::function<void(size_t row)> beforeInsert;
  std::function<void()> afterInsert;
  std::function<void(size_t row)> beforeErase;
  std::function<void()> afterErase;
  std::function<void()> reset;

 private:
  std::vector<JunkRow> rows_;
};

// With an unusable Recycle Bin: clears the box and the checked flag of every
// type that sends files there; returns how many of them were checked.
int UncheckBinTypes(JunkList& list);

}  // namespace vorlo
