#include "app/window/junk_list_model.h"

namespace vorlo {

QString DisplayText(const std::string& utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

JunkListModel::JunkListModel(QObject* parent) : QAbstractListModel(parent) {}

void JunkListModel::SetTypes(std::vector<TJunkFileObj> types) {
  beginResetModel();
  types_ = std::move(types);
  endResetModel();
}

int JunkListModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(types_.size());
}

QVariant JunkListModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= rowCount()) return {};
  const TJunkFileObj& t = types_[static_cast<size_t>(index.row())];
  switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: return DisplayText(t.TypName());
    case Qt::CheckStateRole: return t.IsChecked() ? Qt::Checked : Qt::Unchecked;
    default: return {};
  }
}

bool JunkListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (!index.isValid() || role != Qt::CheckStateRole) return false;
  types_[static_cast<size_t>(index.row())].SetIsChecked(value.value<Qt::CheckState>() == Qt::Checked);
  Q_EMIT dataChanged(index, index, {role});
  return true;
}

Qt::ItemFlags JunkListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

}  // namespace vorlo
