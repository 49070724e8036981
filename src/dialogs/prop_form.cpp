#include "dialogs/prop_form.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "gui/dialog_parts.h"
#include "gui/description_view.h"
#include "gui/placement.h"

namespace vorlo {

namespace {

constexpr const char* kWindowName = "PropForm";
constexpr const char* kCaption = "Vorlo - junk file type properties";

}  // namespace

TPropForm::TPropForm(DescriptionContext context, PlacementStore& placements, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      context_(std::move(context)),
      placements_(placements) {
  SetUpWindow(*this, kWindowName, kCaption);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  QPushButton* btnDone = AddDoneStrip(*this, *layout);

  reProps_ = new QTextEdit(this);
  reProps_->setObjectName(QStringLiteral("reProps"));
  reProps_->setReadOnly(true);
  reProps_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(reProps_, 1);

  btnDone->setFocus();

  // The minimum is larger than the design size, so the window opens at the
  // minimum.
  setMinimumSize(320, 240);
  resize(304, 201);
  placements_.GetPosFmINI(*this, kWindowName, true);
}

void TPropForm::done(int r) {
  placements_.SetPosToINI(*this, kWindowName, true);
  QDialog::done(r);
}

void TPropForm::SetFromObj(const TJunkFileObj& TJ) { REDisplay(*reProps_, TJ, context_); }

void TPropForm::keyPressEvent(QKeyEvent* e) {
  // Escape closes with OK like "Done"; Enter presses the default "Done".
  if (e->matches(QKeySequence::Cancel)) return accept();
  QDialog::keyPressEvent(e);
}

}  // namespace vorlo
