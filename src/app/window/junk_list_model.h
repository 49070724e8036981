// The junk list as the window shows it: one row per junk list row, its
// caption and its check box.
#pragma once

#include <QAbstractListModel>

#include "app/junk_list.h"

namespace vorlo {

class JunkListModel final : public QAbstractListModel {
  Q_OBJECT

 public:
  // The list must outlive the model; the model follows its changes.
  explicit JunkListModel(JunkList& list, QObject* parent = nullptr);
  ~JunkListModel() override;

  JunkList& List() { return list_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

 private:
  JunkList& list_;
};

// Text for the screen; bytes that are not UTF-8 are shown replaced.
QString DisplayText(const std::string& utf8);

}  // namespace vorlo
