#include "dialogs/found_review_model.h"

#include <QDateTime>
#include <QFont>
#include <QLocale>
#include <vector>

#include "app/review_texts.h"
#include "core/byte_text.h"
#include "core/text.h"
#include "gui/display_text.h"

namespace vorlo {

namespace {

// A type row has internal id 0; a file row its group's row + 1.
constexpr quintptr kTypeRow = 0;

QVariant Shown(std::string_view text) { return DisplayText(ShownName(text)); }

Qt::CheckState CheckOf(TickState state) {
  switch (state) {
    case TickState::None: return Qt::Unchecked;
    case TickState::Some: return Qt::PartiallyChecked;
    case TickState::All: break;
  }
  return Qt::Checked;
}

}  // namespace

FoundReviewModel::FoundReviewModel(FoundReview& review, NumberSeparators separators, QObject* parent)
    : QAbstractItemModel(parent), review_(review), separators_(std::move(separators)) {}

QModelIndex FoundReviewModel::index(int row, int column, const QModelIndex& parent) const {
  if (row < 0 || column < 0 || column >= kReviewColumnCount) return {};
  if (!parent.isValid())
    return static_cast<size_t>(row) < review_.GroupCount() ? createIndex(row, column, kTypeRow) : QModelIndex();
  if (parent.internalId() != kTypeRow || static_cast<size_t>(row) >= review_.FileCount(parent.row())) return {};
  return createIndex(row, column, static_cast<quintptr>(parent.row()) + 1);
}

QModelIndex FoundReviewModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == kTypeRow) return {};
  return createIndex(static_cast<int>(child.internalId() - 1), 0, kTypeRow);
}

int FoundReviewModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid()) return static_cast<int>(review_.GroupCount());
  if (parent.internalId() != kTypeRow || parent.column() != 0) return 0;
  return static_cast<int>(review_.FileCount(parent.row()));
}

int FoundReviewModel::columnCount(const QModelIndex&) const { return kReviewColumnCount; }

std::optional<uint32_t> FoundReviewModel::RecordAt(const QModelIndex& index) const {
  if (!index.isValid() || index.internalId() == kTypeRow) return std::nullopt;
  return review_.FileAt(index.internalId() - 1, index.row());
}

QVariant FoundReviewModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid()) return {};
  const auto column = static_cast<ReviewColumn>(index.column());
  if (role == Qt::TextAlignmentRole && column == ReviewColumn::Size)
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);

  const std::optional<uint32_t> record = RecordAt(index);
  if (!record) {
    const size_t group = index.row();
    if (role == Qt::CheckStateRole && column == ReviewColumn::Type) return CheckOf(review_.GroupTick(group));
    if (role == Qt::FontRole) {
      QFont bold;
      bold.setBold(true);
      return bold;
    }
    if (role != Qt::DisplayRole) return {};
    switch (column) {
      case ReviewColumn::Type: return Shown(review_.Type(group).name);
      case ReviewColumn::Name:
        return DisplayText(ReviewFileCountText(review_.FileCount(group), separators_));
      case ReviewColumn::Size: return DisplayText(StringForBytes(review_.GroupBytes(group), separators_));
      case ReviewColumn::Folder:
      case ReviewColumn::Modified: break;
    }
    return {};
  }

  const FoundResults& results = review_.Results();
  if (role == Qt::CheckStateRole && column == ReviewColumn::Type)
    return review_.Ticked(*record) ? Qt::Checked : Qt::Unchecked;
  if (role == Qt::ToolTipRole && (column == ReviewColumn::Name || column == ReviewColumn::Folder))
    return Shown(results.Path(*record));
  if (role != Qt::DisplayRole) return {};
  const FoundRecord& r = results[*record];
  switch (column) {
    case ReviewColumn::Name: return Shown(results.Name(*record));
    case ReviewColumn::Folder: return Shown(results.Folder(*record));
    case ReviewColumn::Size: return DisplayText(StringForBytes(r.size, separators_));
    case ReviewColumn::Modified:
      return QLocale().toString(QDateTime::fromMSecsSinceEpoch(r.mtimeNs / 1'000'000), QLocale::ShortFormat);
    case ReviewColumn::Type: break;
  }
  return {};
}

bool FoundReviewModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0) return false;
  const bool on = value.value<Qt::CheckState>() == Qt::Checked;
  if (const std::optional<uint32_t> record = RecordAt(index)) {
    review_.SetTicked(*record, on);
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    const QModelIndex type = parent(index);
    Q_EMIT dataChanged(type, type, {Qt::CheckStateRole});
  } else {
    review_.SetGroupTicked(index.row(), on);
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    if (const int files = rowCount(index); files > 0)
      Q_EMIT dataChanged(this->index(0, 0, index), this->index(files - 1, 0, index), {Qt::CheckStateRole});
  }
  Q_EMIT ticksChanged();
  return true;
}

Qt::ItemFlags FoundReviewModel::flags(const QModelIndex& index) const {
  if (!index.isValid()) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (index.column() == 0) f |= Qt::ItemIsUserCheckable;
  if (index.internalId() != kTypeRow) f |= Qt::ItemNeverHasChildren;
  return f;
}

QVariant FoundReviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= kReviewColumnCount) return {};
  if (role == Qt::DisplayRole) return QString::fromUtf8(texts::kReviewColumns[section]);
  // The largest and the newest files come first at the first click.
  const auto column = static_cast<ReviewColumn>(section);
  if (role == Qt::InitialSortOrderRole && (column == ReviewColumn::Size || column == ReviewColumn::Modified))
    return Qt::DescendingOrder;
  if (role == Qt::TextAlignmentRole && column == ReviewColumn::Size)
    return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
  return {};
}

void FoundReviewModel::sort(int column, Qt::SortOrder order) {
  if (column < 0 || column >= kReviewColumnCount) return;
  ChangeLayout([&] { review_.Sort(static_cast<ReviewColumn>(column), order == Qt::DescendingOrder); });
}

void FoundReviewModel::SetFilter(const std::string& part) {
  if (part == review_.Filter()) return;
  ChangeLayout([&] { review_.SetFilter(part); });
}

void FoundReviewModel::ChangeLayout(const std::function<void()>& change) {
  Q_EMIT layoutAboutToBeChanged();
  const QModelIndexList before = persistentIndexList();
  struct Was {
    std::optional<uint32_t> record;
    uint32_t type = 0;
    int column = 0;
  };
  std::vector<Was> was;
  was.reserve(before.size());
  for (const QModelIndex& index : before) {
    const std::optional<uint32_t> record = RecordAt(index);
    was.push_back({record, record ? 0 : review_.GroupType(index.row()), index.column()});
  }
  change();
  QModelIndexList after;
  after.reserve(before.size());
  for (const Was& w : was) {
    if (w.record) {
      const auto place = review_.PlaceOf(*w.record);
      after.append(place ? createIndex(static_cast<int>(place->second), w.column,
                                       static_cast<quintptr>(place->first) + 1)
                         : QModelIndex());
    } else {
      const std::optional<size_t> group = review_.GroupOf(w.type);
      after.append(group ? createIndex(static_cast<int>(*group), w.column, kTypeRow) : QModelIndex());
    }
  }
  changePersistentIndexList(before, after);
  Q_EMIT layoutChanged();
}

}  // namespace vorlo
