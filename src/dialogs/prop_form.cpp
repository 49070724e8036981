#include "dialogs/prop_form.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include "dialogs/description_view.h"
#include "dialogs/placement.h"

namespace vorlo {

namespace {

constexpr const char* kWindowName = "PropForm";
constexpr const char* kCaption = "Vorlo - junk file type properties";
constexpr const char* kDone = "Done";

}  // namespace

TPropForm::TPropForm(DescriptionContext context, std::string iniPath, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      context_(std::move(context)),
      iniPath_(std::move(iniPath)) {
  setObjectName(QString::fromLatin1(kWindowName));
  setWindowTitle(QString::fromLatin1(kCaption));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  setFont(font);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* strip = new QWidget(this);
  strip->setFixedHeight(28);
  auto* stripLayout = new QHBoxLayout(strip);
  stripLayout->setContentsMargins(8, 2, 8, 3);
  auto* btnDone = new QPushButton(QString::fromLatin1(kDone), strip);
  btnDone->setObjectName(QStringLiteral("btnDone"));
  btnDone->setFixedSize(75, 23);
  btnDone->setDefault(true);
  stripLayout->addWidget(btnDone);
  stripLayout->addStretch(1);
  layout->addWidget(strip);

  reProps_ = new QTextEdit(this);
  reProps_->setObjectName(QStringLiteral("reProps"));
  reProps_->setReadOnly(true);
  reProps_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  layout->addWidget(reProps_, 1);

  connect(btnDone, &QPushButton::clicked, this, &QDialog::accept);
  btnDone->setFocus();

  // The minimum is larger than the design size, so the window opens at the
  // minimum.
  setMinimumSize(320, 240);
  resize(304, 201);
  GetPosFmINI(*this, kWindowName, true, iniPath_);
}

TPropForm::~TPropForm() { SetPosToINI(*this, kWindowName, true, iniPath_); }

void TPropForm::SetFromObj(const TJunkFileObj& TJ) { REDisplay(*reProps_, TJ, context_); }

void TPropForm::keyPressEvent(QKeyEvent* e) {
  // Escape closes with OK like "Done"; Enter presses the default "Done".
  if (e->matches(QKeySequence::Cancel)) return accept();
  QDialog::keyPressEvent(e);
}

}  // namespace vorlo
