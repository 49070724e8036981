#include "window/junk_list_model.h"

namespace vorlo {

JunkListModel::JunkListModel(JunkList& list, QObject* parent) : QAbstractListModel(parent), list_(list) {
  list_.reset = [this] {
    beginResetModel();
    endResetModel();
  };
  list_.beforeInsert = [this](size_t row) { beginInsertRows({}, static_cast<int>(row), static_cast<int>(row)); };
  list_.afterInsert = [this] { endInsertRows(); };
  list_.beforeErase = [this](size_t row) { beginRemoveRows({}, static_cast<int>(row), static_cast<int>(row)); };
  list_.afterErase = [this] { endRemoveRows(); };
  list_.rowChanged = [this](size_t row) {
    const QModelIndex i = index(static_cast<int>(row));
    Q_EMIT dataChanged(i, i);
  };
}

JunkListModel::~JunkListModel() {
  list_.reset = nullptr;
  list_.rowChanged = nullptr;
  list_.beforeInsert = nullptr;
  list_.afterInsert = nullptr;
  list_.beforeErase = nullptr;
  list_.afterErase = nullptr;
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
  if (!index.isValid()) return false;
  const auto row = static_cast<size_t>(index.row());
  if (role == Qt::CheckStateRole) {
    const bool checked = value.value<Qt::CheckState>() == Qt::Checked;
    onCheck ? onCheck(row, checked) : list_.SetChecked(row, checked);
    return true;
  }
  if (role == Qt::EditRole) {
    const QByteArray text = value.toString().toUtf8();
    const std::string name(text.constData(), static_cast<size_t>(text.size()));
    if (onRename) {
      onRename(row, name);
    } else if (!name.empty()) {
      list_[row].caption = name;
      list_.Touch(row);
    }
    return true;
  }
  return false;
}

Qt::ItemFlags JunkListModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
  if (!readOnly || !readOnly()) f |= Qt::ItemIsEditable;
  return f;
}

}  // namespace vorlo
