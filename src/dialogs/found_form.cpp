#include "dialogs/found_form.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QStatusBar>
#include <QStringList>
#include <QStyledItemDelegate>
#include <QVBoxLayout>
#include <algorithm>

#include "core/text.h"
#include "gui/dialog_parts.h"
#include "gui/display_text.h"
#include "gui/placement.h"
#include "platform/file_ops.h"

namespace vorlo {

namespace {

constexpr const char* kWindowName = "FoundForm";
constexpr const char* kCaption = "Files for \"%s\"";
constexpr const char* kCannotOpen = "Cannot open file \"%s\". %s";
constexpr const char* kMessageTitle = "Vorlo";

}  // namespace

// Every row is as wide as the widest line: the list takes its rows' size
// from one sample row (uniform sizes keep long lists fast), so the sample
// must already carry the extent.
class ExtentDelegate final : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  int extent = 0;

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    // The style puts a small margin on either side of the text.
    const int margin = 2 * (option.widget ? option.widget->style()->pixelMetric(QStyle::PM_FocusFrameHMargin,
                                                                                nullptr, option.widget) + 1
                                          : 1);
    size.setWidth(std::max(size.width(), extent + margin));
    return size;
  }
};

TFoundForm::TFoundForm(PlacementStore& placements, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      placements_(placements) {
  setObjectName(QString::fromLatin1(kWindowName));
  SetWindowFont(*this);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  QPushButton* btnDone = AddDoneStrip(*this, *layout);

  lbFound_ = new QListWidget(this);
  lbFound_->setObjectName(QStringLiteral("lbFound"));
  lbFound_->setUniformItemSizes(true);
  lbFound_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  lbFound_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  delegate_ = new ExtentDelegate(lbFound_);
  lbFound_->setItemDelegate(delegate_);
  layout->addWidget(lbFound_, 1);

  auto* status = new QStatusBar(this);
  status->setSizeGripEnabled(true);
  layout->addWidget(status);

  btnDone->setFocus();

  setMinimumSize(300, 200);
  resize(523, 337);
  placements_.GetPosFmINI(*this, kWindowName, false);
}

void TFoundForm::done(int r) {
  placements_.SetPosToINI(*this, kWindowName, false);
  QDialog::done(r);
}

bool TFoundForm::SetData(const std::string& fName, const std::string& Capn) {
  const FileRead read = ReadWholeFile(fName);
  if (read.error != 0) {
    loadError_ = DisplayText(FormatText(kCannotOpen, fName.c_str(), vorlo::ErrorText(read.error).c_str()));
    return false;
  }
  loadError_.clear();

  QStringList lines;
  const QFontMetrics metrics(lbFound_->font());
  int widest = 0;
  for (const std::string& line : SplitLines(read.bytes)) {
    lines.append(DisplayText(line));
    widest = std::max(widest, metrics.horizontalAdvance(lines.back()));
  }
  extent_ = widest;
  lbFound_->clear();
  delegate_->extent = extent_;
  lbFound_->addItems(lines);
  setWindowTitle(DisplayText(FormatText(kCaption, Capn.c_str())));
  return true;
}

void TFoundForm::keyPressEvent(QKeyEvent* e) {
  // Escape closes with OK like "Done"; Enter presses the default "Done".
  if (e->matches(QKeySequence::Cancel)) return accept();
  QDialog::keyPressEvent(e);
}

void ShowFoundFiles(QWidget* parent, PlacementStore& placements, const std::string& fName,
                    const std::string& Capn) {
  TFoundForm form(placements, parent);
  if (!form.SetData(fName, Capn)) {
    QMessageBox::critical(parent, QString::fromLatin1(kMessageTitle), form.LoadError());
    return;
  }
  form.exec();
}

}  // namespace vorlo
