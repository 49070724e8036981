// The commands on the junk list: the row-state handler, in-place rename,
// SafeAdd, remove and undo, moves, check all, method for all, and writing
// the list to the recovery file after the changes that are stored.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "core/junk_type.h"

namespace vorlo {

class JunkList;
class RecycleBinCheck;
class UserPort;

class ListCommands {
 public:
  ListCommands(JunkList& list, UserPort& port, RecycleBinCheck& bins, std::string recoveryFile);

  // A row's box was set or cleared (by the user or the program). While the
  // list is read-only only the box changes; a Recycle Bin type cannot be
  // checked while the bin is unusable; otherwise the type follows the box
  // and the list is written.
  void RowChecked(size_t row, bool checked);
  // A row's selection or focus changed: the same handler with the row's box
  // as it stands, so that a box clicked during a run reaches the type (and
  // the file) at the row's next change while idle.
  void RowStateChanged(size_t row);
  void SetReadOnly(bool readOnly) { readOnly_ = readOnly; }
  bool ReadOnly() const { return readOnly_; }

  // In-place rename: an empty text keeps the old name; a changed name is
  // stored. Returns the row's caption afterwards.
  std::string Rename(size_t row, const std::string& text);

  // Appends a type unless the user declines a duplicate; true when added.
  bool SafeAdd(const TJunkFileObj& type);
  // Adds (the wizard's or a default type's copy) and writes the list;
  // returns the new row, if one was added.
  std::optional<size_t> Add(const TJunkFileObj& type);
  // Replaces a row's type with the edited copy and writes the list.
  void Edit(size_t row, const TJunkFileObj& type);

  // Removes a row into the undo slot; returns the row to select, if any.
  std::optional<size_t> Remove(size_t row);
  bool CanUndo() const { return UndoObj_ != nullptr; }
  // Appends the removed type again; returns its row, if there was one.
  std::optional<size_t> Undo();

  // Exchanges a row with its neighbour; returns the row to select.
  std::optional<size_t> MoveUp(std::optional<size_t> row);
  std::optional<size_t> MoveDown(std::optional<size_t> row);

  void CheckAll(bool v);
  void MethodForAll(int32_t method);

  // Writes every row's type to the recovery file; errors are shown. Every
  // stored change ends with it, so the next start shows the list as left.
  void SaveList();
  // Whether SaveList has written the recovery file.
  bool WroteList() const { return wrote_; }

 private:
  std::optional<size_t> Swap(size_t a, size_t b);
  // The row-state handler without the write, for commands that write once.
  void ApplyCheck(size_t row, bool checked);
  JunkList& list_;
  UserPort& port_;
  RecycleBinCheck& bins_;
  std::string recoveryFile_;
  std::unique_ptr<TJunkFileObj> UndoObj_;
  bool readOnly_ = false;
  bool wrote_ = false;
};

}  // namespace vorlo
