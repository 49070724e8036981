#include "app/window/junk_list_model.h"

namespace vorlo {

QString DisplayText(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

JunkListModel::JunkListModel(JunkList& list, QObject* parent) : QAbstractListModel(parent), list_(list) {
  list_.reset = [this] {
    beginResetModel();
    endResetModel();
  };
  list_.rowChanged = [this](size_t row) {
    const QModelIndex i = index(static_cast<int>(row));
    Q_EMIT dataChanged(i, i);
  };
}

JunkListModel::~JunkListModel() {
  list_.reset = nullptr;
  list_.rowChanged = nullptr;
}

int JunkListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(list_.size());
}

QVariant JunkListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const JunkRow& row = list_[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return DisplayText(row.caption);
    case Qt::CheckStateRole: return row.checked ? Qt::Checked : Qt::Unchecked;
    default: return {};
  }
}

bool JunkListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::CheckStateRole) return false;
  // The window's row-state handler decides whether the type follows the box.
  list_.SetChecked(static_cast<size_t>(index.row()), value.value<Qt::CheckState>() == Qt::Checked);
  return true;
}

Qt::ItemFlags JunkListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

}  // namespace vorlo
