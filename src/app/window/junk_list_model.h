// The junk list as the window shows it: one row per junk type, the type's
// name as caption and its checked flag in the row's check box.
#pragma once

#include <QAbstractListModel>
#include <vector>

#include "core/junk_type.h"

namespace vorlo {

class JunkListModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  explicit JunkListModel(QObject* parent = nullptr);

  void SetTypes(std::vector<TJunkFileObj> types);
  const std::vector<TJunkFileObj>& Types() const { return types_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  std::vector<TJunkFileObj> types_;
};

// Text for the screen; bytes that are not UTF-8 are shown replaced.
QString DisplayText(const std::string& utf8);

}  // namespace vorlo
