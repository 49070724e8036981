#include "app/list_commands.h"

#include "app/junk_list.h"
#include "app/texts.h"
#include "app/user_port.h"
#include "core/junk_list_file.h"
#include "core/recycle_bin.h"
#include "core/text.h"

namespace vorlo {

ListCommands::ListCommands(JunkList& list, UserPort& port, RecycleBinCheck& bins, std::string recoveryFile)
    : list_(list), port_(port), bins_(bins), recoveryFile_(std::move(recoveryFile)) {}

void ListCommands::RowChecked(size_t row, bool checked) {
  ApplyCheck(row, checked);
  if (!readOnly_) SaveList();
}

void ListCommands::RowStateChanged(size_t row) {
  if (readOnly_ || row >= list_.size() || !list_[row].type) return;
  const bool was = list_[row].type->IsChecked();
  ApplyCheck(row, list_[row].checked);
  if (list_[row].type->IsChecked() != was) SaveList();
}

void ListCommands::ApplyCheck(size_t row, bool checked) {
  JunkRow& r = list_[row];
  list_.SetChecked(row, checked);
  if (readOnly_ || !r.type) return;
  if (checked && r.type->Backtype() == CleanupMethod::cuRecycle && bins_.RecycleBinProblem()) {
    list_.SetChecked(row, false);
    r.type->SetIsChecked(false);
    port_.Ask({MsgKind::Error, FillPlaceholder(bins_.BadBinMsg(), std::string(texts::kCannotEnable)),
               {MsgButton::Ok, MsgButton::Help}, texts::kHelpRecycleBin});
    return;
  }
  r.type->SetIsChecked(checked);
}

std::string ListCommands::Rename(size_t row, const std::string& text) {
  JunkRow& r = list_[row];
  if (text.empty()) return r.caption;
  r.caption = text;
  list_.Touch(row);
  if (r.type && r.type->TypName() != text) {
    r.type->SetTypName(text);
    SaveList();
  }
  return r.caption;
}

bool ListCommands::SafeAdd(const TJunkFileObj& type) {
  for (size_t i = 0; i < list_.size(); ++i) {
    if (!list_[i].type || !list_[i].type->SameAs(type)) continue;
    const Message ask{MsgKind::Question, FormatText(texts::kIdenticalType, list_[i].caption.c_str()),
                      {MsgButton::Yes, MsgButton::No}, 0};
    if (port_.Ask(ask) != MsgButton::Yes) return false;
  }
  const size_t row = list_.size();
  list_.Append(type);
  ApplyCheck(row, type.IsChecked());
  return true;
}

std::optional<size_t> ListCommands::Add(const TJunkFileObj& type) {
  const bool added = SafeAdd(type);
  SaveList();
  if (!added) return std::nullopt;
  return list_.size() - 1;
}

void ListCommands::Edit(size_t row, const TJunkFileObj& type) {
  JunkRow& r = list_[row];
  r.type = std::make_unique<TJunkFileObj>(type);
  r.caption = type.TypName();
  ApplyCheck(row, type.IsChecked());
  SaveList();
}

std::optional<size_t> ListCommands::Remove(size_t row) {
  UndoObj_ = std::move(list_[row].type);
  list_.Erase(row);
  SaveList();
  if (list_.empty()) return std::nullopt;
  return row < list_.size() ? row : list_.size() - 1;
}

std::optional<size_t> ListCommands::Undo() {
  if (!UndoObj_) return std::nullopt;
  const size_t row = list_.size();
  list_.Append(*UndoObj_);
  ApplyCheck(row, UndoObj_->IsChecked());
  UndoObj_.reset();
  SaveList();
  return row;
}

std::optional<size_t> ListCommands::Swap(size_t a, size_t b) {
  list_.Swap(a, b);
  SaveList();
  return b;
}

std::optional<size_t> ListCommands::MoveUp(std::optional<size_t> row) {
  if (!row || *row == 0 || *row >= list_.size()) return row;
  return Swap(*row, *row - 1);
}

std::optional<size_t> ListCommands::MoveDown(std::optional<size_t> row) {
  if (!row || *row + 1 >= list_.size()) return row;
  return Swap(*row, *row + 1);
}

void ListCommands::CheckAll(bool v) {
  for (size_t i = 0; i < list_.size(); ++i) ApplyCheck(i, v);
  SaveList();
}

void ListCommands::MethodForAll(int32_t method) {
  for (size_t i = 0; i < list_.size(); ++i)
    if (list_[i].type) list_[i].type->SetBackType(method);
  SaveList();
}

void ListCommands::SaveList() {
  try {
    SaveJTToFile(recoveryFile_, list_.Types());
    wrote_ = true;
  } catch (const std::exception& e) {
    port_.Ask({MsgKind::Error, e.what(), {MsgButton::Ok}, 0});
  }
}

}  // namespace vorlo
