// The review of found files as a Qt model: a row per junk type with its
// files below it, columns type, name, folder, size and modified, a check
// box in the first column (a type's box stands for its shown files). All
// state lives in the FoundReview; the model only presents it, so a million
// files cost no object per row.
#pragma once

#include <QAbstractItemModel>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/found_review.h"
#include "platform/locale_info.h"

namespace vorlo {

class FoundReviewModel final : public QAbstractItemModel {
  Q_OBJECT

 public:
  FoundReviewModel(FoundReview& review, NumberSeparators separators, QObject* parent = nullptr);

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  void sort(int column, Qt::SortOrder order) override;

  // Shows only the files whose path holds `part` (UTF-8).
  void SetFilter(const std::string& part);
  // The record of a file row; nothing for a type row.
  std::optional<uint32_t> RecordAt(const QModelIndex& index) const;

 Q_SIGNALS:
  // A tick changed: the totals are to be shown again.
  void ticksChanged();

 private:
  // Rows move or hide: the views keep their selection and expanded types.
  void ChangeLayout(const std::function<void()>& change);

  FoundReview& review_;
  NumberSeparators separators_;
};

}  // namespace vorlo
