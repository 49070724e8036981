// The junk list as the window shows it: one row per junk list row, its
// caption and its check box.
#pragma once

#include <QAbstractListModel>
#include <functional>
#include <string>

#include "app/junk_list.h"
#include "gui/display_text.h"

namespace vorlo {

class JunkListModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  // The list must outlive the model; the model follows its changes.
  explicit JunkListModel(JunkList& list, QObject* parent = nullptr);
  ~JunkListModel() override;

  JunkList& List() { return list_; }

  // What a click on a box and an in-place rename do (the list commands);
  // without them the box and caption change directly.
  std::function<void(size_t row, bool checked)> onCheck;
  std::function<void(size_t row, const std::string& text)> onRename;
  // Names are not editable while this says so (a count or run is active).
  std::function<bool()> readOnly;

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  JunkList& list_;
};

}  // namespace vorlo
