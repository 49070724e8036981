#include "editor/picker_legend.h"

#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <array>

#include "gui/dialog_parts.h"
#include "gui/placement.h"
#include "editor/picker_pictures.h"

namespace vorlo {

namespace {

constexpr const char* kWindowName = "LegendForm";
constexpr const char* kCaption = "Vorlo -  Folder Icons Legend";
constexpr const char* kOK = "OK";
constexpr int kClientWidth = 262;

struct LegendLine {
  int picture;
  const char* text;
};

constexpr std::array<LegendLine, 5> kLines{{
    {2, "Search all subfolders that exist now"},
    {7, "Search all subfolders that exist at clean-up time"},
    {1, "Search no subfolders"},
    {3, "Search some subfolders, not all"},
    {4, "Folder has no subfolders"},
}};

}  // namespace

TLegendForm::TLegendForm(const TDirSelImages& imDirSel, PlacementStore& placements, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint),
      placements_(placements) {
  SetUpWindow(*this, kWindowName, kCaption);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tvLegend_ = new QTreeWidget(this);
  tvLegend_->setObjectName(QStringLiteral("tvLegend"));
  tvLegend_->setHeaderHidden(true);
  tvLegend_->setRootIsDecorated(false);
  tvLegend_->setItemsExpandable(false);
  tvLegend_->setIndentation(19);
  tvLegend_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  tvLegend_->setIconSize(TDirSelImages::kPictureSize);
  tvLegend_->setLineWidth(2);
  tvLegend_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  tvLegend_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  for (const LegendLine& line : kLines) {
    auto* item = new QTreeWidgetItem(tvLegend_);
    item->setIcon(0, QIcon(imDirSel.Picture(line.picture)));
    item->setText(0, QString::fromUtf8(line.text));
  }
  layout->addWidget(tvLegend_);
  // Lines are for reading only: a selection would suggest otherwise.
  connect(tvLegend_, &QTreeWidget::itemSelectionChanged, this, [this] {
    if (!tvLegend_->selectedItems().isEmpty()) tvLegend_->clearSelection();
  });

  // Outside the visible area: only Enter and Escape reach it.
  auto* btnOK = new QPushButton(QString::fromLatin1(kOK), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setDefault(true);
  btnOK->resize(45, 23);
  connect(btnOK, &QPushButton::clicked, this, &TLegendForm::btnOKClick);

  const int rows = static_cast<int>(kLines.size()) * tvLegend_->sizeHintForRow(0);
  // As wide as the longest line needs, so none is cut.
  int widest = 0;
  for (const LegendLine& line : kLines)
    widest = std::max(widest, tvLegend_->fontMetrics().horizontalAdvance(QString::fromUtf8(line.text)));
  // Room for the picture, the item's margins and the gap between the two.
  const int width = std::max(kClientWidth, TDirSelImages::kPictureSize.width() + widest + 16 + 2 * tvLegend_->frameWidth());
  setFixedSize(width, rows + 2 * tvLegend_->frameWidth());
  btnOK->move(width + 13, 71);
  placements_.GetPosFmINI(*this, kWindowName, false);
}

void TLegendForm::SavePlacement() { placements_.SetPosToINI(*this, kWindowName, false); }

void TLegendForm::btnOKClick() { hide(); }

void TLegendForm::showEvent(QShowEvent* e) {
  QDialog::showEvent(e);
  Q_EMIT VisibilityChanged(true);
}

void TLegendForm::hideEvent(QHideEvent* e) {
  QDialog::hideEvent(e);
  Q_EMIT VisibilityChanged(false);
}

}  // namespace vorlo
