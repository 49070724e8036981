#include "app/junk_list.h"

namespace vorlo {

void JunkList::Append(TJunkFileObj type) {
  JunkRow row;
  row.caption = type.TypName();
  row.checked = type.IsChecked();
  row.type = std::make_unique<TJunkFileObj>(std::move(type));
  if (beforeInsert) beforeInsert(rows_.size());
  rows_.push_back(std::move(row));
  if (afterInsert) afterInsert();
}

void JunkList::Clear() {
  rows_.clear();
  if (reset) reset();
}

void JunkList::Erase(size_t row) {
  if (beforeErase) beforeErase(row);
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(row));
  if (afterErase) afterErase();
}

void JunkList::Swap(size_t a, size_t b) {
  std::swap(rows_[a], rows_[b]);
  if (rowChanged) {
    rowChanged(a);
    rowChanged(b);
  }
}

void JunkList::SetChecked(size_t row, bool checked) {
  rows_[row].checked = checked;
  if (rowChanged) rowChanged(row);
}

bool JunkList::AnyChecked() const {
  for (const JunkRow& r : rows_)
    if (r.checked) return true;
  return false;
}

std::vector<TJunkFileObj> JunkList::Types() const {
  std::vector<TJunkFileObj> types;
  for (const JunkRow& r : rows_)
    if (r.type) types.push_back(*r.type);
  return types;
}

int UncheckBinTypes(JunkList& list) {
  int wasChecked = 0;
  for (size_t i = 0; i < list.size(); ++i) {
    JunkRow& row = list[i];
    if (!row.type || row.type->Backtype() != CleanupMethod::cuRecycle) continue;
    if (row.type->IsChecked()) ++wasChecked;
    row.type->SetIsChecked(false);
    list.SetChecked(i, false);
  }
  return wasChecked;
}

}  // namespace vorlo
