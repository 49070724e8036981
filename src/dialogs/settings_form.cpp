#include "dialogs/settings_form.h"
#include "gui/dialog_parts.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace vorlo {
namespace {

constexpr int HighIndex = 2;
const char* const OptionTexts[] = {"REALTIME_PRIORITY_CLASS", "Normal", "High"};
constexpr PriorityClass OptionClasses[] = {PriorityClass::Realtime, PriorityClass::Normal, PriorityClass::High};

}  // namespace

TSettingsform::TSettingsform(QWidget* parent, PrioritySetter setPriority)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      setPriority_(std::move(setPriority)) {
  setObjectName(QStringLiteral("Settingsform"));
  setWindowTitle(QStringLiteral("Settingsform"));
  SetWindowFont(*this, "Segoe UI", 12);
  setFixedSize(319, 245);

  RadioGroup1 = new QGroupBox(QStringLiteral("Power-Mode"), this);
  RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
  RadioGroup1->setGeometry(38, 24, 242, 105);
  auto* column = new QVBoxLayout(RadioGroup1);
  group_ = new QButtonGroup(this);
  for (int i = 0; i < 3; ++i) {
    Items[i] = new QRadioButton(QString::fromUtf8(OptionTexts[i]), RadioGroup1);
    Items[i]->setObjectName(QStringLiteral("Items%1").arg(i));
    column->addWidget(Items[i]);
    group_->addButton(Items[i], i);
  }
  SetItemIndex(HighIndex);

  btnCancel = new QPushButton(QStringLiteral("&Cancel"), this);
  btnCancel->setObjectName(QStringLiteral("btnCancel"));
  btnCancel->setGeometry(72, 160, 75, 25);
  btnOK = new QPushButton(QStringLiteral("&Okay"), this);
  btnOK->setObjectName(QStringLiteral("btnOK"));
  btnOK->setGeometry(172, 160, 75, 25);
  // Neither button answers Enter.
  for (QPushButton* button : {btnCancel, btnOK}) {
    button->setAutoDefault(false);
    button->setDefault(false);
  }
  connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(btnOK, &QPushButton::clicked, this, &TSettingsform::btnOKClick);
}

int TSettingsform::ItemIndex() const { return group_->checkedId(); }

void TSettingsform::SetItemIndex(int index) {
  if (index >= 0 && index < 3) Items[index]->setChecked(true);
}

void TSettingsform::btnOKClick() {
  const int index = ItemIndex();
  if (index >= 0 && setPriority_) setPriority_(OptionClasses[index]);
  accept();
}

void TSettingsform::keyPressEvent(QKeyEvent* e) {
  // Escape does not close the window; only the buttons and the close box do.
  if (e->key() == Qt::Key_Escape) {
    e->ignore();
    return;
  }
  QDialog::keyPressEvent(e);
}

}  // namespace vorlo
