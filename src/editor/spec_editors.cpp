#include "editor/spec_editors.h"

#include <QButtonGroup>
#include <QFileDialog>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "gui/display_text.h"
#include "core/spec_rules.h"
#include "gui/dialog_parts.h"
#include "gui/placement.h"
#include "platform/environment.h"
#include "platform/file_ops.h"

namespace vorlo {
namespace {

constexpr const char* kSpecWindowName = "SpecForm";
constexpr const char* kNameWindowName = "NameForm";
constexpr const char* kSpecCaption = "Vorlo - files to process";
constexpr const char* kNameCaption = "Vorlo - files to protect";
constexpr const char* kBrowseTitle = "Choose file to protect";
constexpr const char* kBrowseFilter = "All files (*)";
constexpr const char* kInitialDirKey = "InitialDir";

const QString kSpecForbidden = QStringLiteral("\"/:<>\\|");
const QString kNameForbidden = QStringLiteral("\"*<>?|");


// Drops typed characters of a forbidden set; pasted text is cleaned by the
// change handlers instead.
class ForbiddenKeyFilter final : public QObject {
 public:
  ForbiddenKeyFilter(QString forbidden, QObject* parent) : QObject(parent), forbidden_(std::move(forbidden)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) {
      const QString typed = static_cast<QKeyEvent*>(event)->text();
      if (typed.size() == 1 && forbidden_.contains(typed[0])) return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  QString forbidden_;
};

// Removes the forbidden characters; when that changed the text, puts the
// cleaned text back with the caret at its end. Returns the cleaned text.
QString CleanEdit(QLineEdit& edit, const QString& forbidden) {
  QString text = edit.text();
  for (qsizetype i = text.size() - 1; i >= 0; --i)
    if (forbidden.contains(text[i])) text.remove(i, 1);
  if (text != edit.text()) {
    const QSignalBlocker block(&edit);
    edit.setText(text);
    edit.setCursorPosition(static_cast<int>(text.size()));
  }
  return text;
}

// The editors' rules work on the bytes the edit gives back.
QString SpecStatusText(const QString& text) { return DisplayText(SpecStatus(EditBytes(text))); }
bool SpecAccepted(const QString& text) { return SpecOk(EditBytes(text)); }

QFrame* Band(QWidget* parent, int y, int width, int height) {
  auto* band = new QFrame(parent);
  band->setGeometry(0, y, width, height);
  auto* line = new QFrame(band);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  line->setGeometry(0, height - 2, width, 2);
  return band;
}

QLabel* StatusLabel(QWidget* parent, int y, int width) {
  auto* label = new QLabel(parent);
  label->setObjectName(QStringLiteral("lblStat"));
  label->setAlignment(Qt::AlignCenter);
  label->setGeometry(0, y, width, 16);
  return label;
}

QPushButton* Button(QWidget* parent, const char* objectName, const char* caption, int x, int y) {
  auto* button = new QPushButton(DisplayText(caption), parent);
  button->setObjectName(QString::fromLatin1(objectName));
  button->setGeometry(x, y, 75, 23);
  return button;
}

QLineEdit* Edit(QWidget* parent, const char* objectName, int x, int y, const QString& forbidden) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(objectName));
  edit->setGeometry(x, y, 297, 21);
  edit->installEventFilter(new ForbiddenKeyFilter(forbidden, edit));
  return edit;
}

constexpr Qt::WindowFlags kToolWindow =
    Qt::Tool | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

// The OK and Cancel pair at the foot of both editors.
QPushButton* AddOkCancel(QDialog& dialog, int y) {
  QPushButton* btnOK = Button(&dialog, "btnOK", "OK", 150, y);
  btnOK->setDefault(true);
  btnOK->setEnabled(false);
  QPushButton* btnCancel = Button(&dialog, "btnCancel", "Cancel", 230, y);
  QObject::connect(btnOK, &QPushButton::clicked, &dialog, &QDialog::accept);
  QObject::connect(btnCancel, &QPushButton::clicked, &dialog, &QDialog::reject);
  return btnOK;
}

}  // namespace

// ---------------------------------------------------------------- TSpecForm

TSpecForm::TSpecForm(PlacementStore& placements, QWidget* parent)
    : QDialog(parent, kToolWindow), placements_(placements) {
  SetUpWindow(*this, kSpecWindowName, kSpecCaption);
  setFixedSize(316, 105);

  QFrame* band = Band(this, 0, 316, 41);
  ebSpec_ = Edit(band, "ebSpec", 8, 8, kSpecForbidden);
  lblStat_ = StatusLabel(this, 41, 316);
  btnOK_ = AddOkCancel(*this, 70);
  connect(ebSpec_, &QLineEdit::textChanged, this, &TSpecForm::ebSpecChange);
  ebSpec_->setFocus();

  placements_.GetPosFmINI(*this, kSpecWindowName, false);
}

void TSpecForm::done(int r) {
  placements_.SetPosToINI(*this, kSpecWindowName, false);
  QDialog::done(r);
}

void TSpecForm::SetSpec(const std::string& S) {
  ebSpec_->setText(EditText(S));
  btnOK_->setEnabled(SpecAccepted(ebSpec_->text()));
}

std::string TSpecForm::GetSpec() const { return EditBytes(ebSpec_->text()); }

void TSpecForm::ebSpecChange() {
  const QString text = CleanEdit(*ebSpec_, kSpecForbidden);
  lblStat_->setText(SpecStatusText(text));
  btnOK_->setEnabled(SpecAccepted(text));
}

// ---------------------------------------------------------------- TNameForm

TNameForm::TNameForm(PlacementStore& placements, QWidget* parent)
    : QDialog(parent, kToolWindow), placements_(placements) {
  SetUpWindow(*this, kNameWindowName, kNameCaption);
  setFixedSize(317, 190);

  QFrame* specBand = Band(this, 0, 317, 65);
  rbSpec_ = new QRadioButton(QStringLiteral("File &specification"), specBand);
  rbSpec_->setObjectName(QStringLiteral("rbSpec"));
  rbSpec_->move(8, 8);
  rbSpec_->adjustSize();
  ebSpec_ = Edit(specBand, "ebSpec", 8, 32, kSpecForbidden);

  QFrame* nameBand = Band(this, 65, 317, 64);
  rbName_ = new QRadioButton(QStringLiteral("File &name (full path)"), nameBand);
  rbName_->setObjectName(QStringLiteral("rbName"));
  rbName_->move(8, 72 - 65);
  rbName_->adjustSize();
  btnBrowse_ = Button(nameBand, "btnBrowse", "&Browse...", 230, 70 - 65);
  ebName_ = Edit(nameBand, "ebName", 8, 96 - 65, kNameForbidden);

  lblStat_ = StatusLabel(this, 129, 317);
  btnOK_ = AddOkCancel(*this, 158);
  auto* btnCancel = findChild<QPushButton*>(QStringLiteral("btnCancel"));

  // The radio buttons sit in different bands, so they need a group to stay
  // exclusive.
  kindGroup_ = new QButtonGroup(this);
  kindGroup_->addButton(rbSpec_);
  kindGroup_->addButton(rbName_);
  rbSpec_->setChecked(true);

  setTabOrder(rbSpec_, ebSpec_);
  setTabOrder(ebSpec_, rbName_);
  setTabOrder(rbName_, btnBrowse_);
  setTabOrder(btnBrowse_, ebName_);
  setTabOrder(ebName_, btnOK_);
  setTabOrder(btnOK_, btnCancel);

  connect(ebSpec_, &QLineEdit::textChanged, this, &TNameForm::ebSpecChange);
  connect(ebName_, &QLineEdit::textChanged, this, &TNameForm::ebNameChange);
  connect(rbSpec_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) rbSpecClick();
  });
  connect(rbName_, &QRadioButton::toggled, this, [this](bool on) {
    if (on) rbSpecClick();
  });
  connect(btnBrowse_, &QPushButton::clicked, this, &TNameForm::btnBrowseClick);
  ebSpec_->installEventFilter(this);
  ebName_->installEventFilter(this);

  chooseFile_ = [](QWidget* owner, const QString& startDir) -> std::optional<QString> {
    QFileDialog dialog(owner, DisplayText(kBrowseTitle), startDir, DisplayText(kBrowseFilter));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().constFirst();
  };

  placements_.GetPosFmINI(*this, kNameWindowName, false);
  // Browse starts where it last ended, at first in the home folder: the
  // program's own folder holds nothing to protect.
  const std::optional<std::string> stored =
      placements_.ReadIniString(PlacementSection(kNameWindowName), kInitialDirKey);
  initialDir_ = EditText(stored && !stored->empty() ? *stored : HomeFolder());
  if (!initialDir_.endsWith(QLatin1Char('/'))) initialDir_ += QLatin1Char('/');
  lblStat_->setText(DisplayText(kStatNoName));
}

void TNameForm::done(int r) {
  placements_.SetPosToINI(*this, kNameWindowName, false);
  placements_.WriteIniString(PlacementSection(kNameWindowName), kInitialDirKey, EditBytes(initialDir_));
  QDialog::done(r);
}

void TNameForm::SetSpec(const std::string& V) {
  // A text with "/" or ":" cannot be a specification (the edit would strip
  // them); the full-name edit shows it unchanged, with "Enter full path"
  // unless it begins with "/".
  const QString text = EditText(V);
  if (!text.contains(QLatin1Char('/')) && !text.contains(QLatin1Char(':'))) {
    rbSpec_->setChecked(true);
    ebSpec_->setText(text);
  } else {
    rbName_->setChecked(true);
    ebName_->setText(text);
  }
  CheckOK();
}

std::string TNameForm::GetSpec() const {
  if (!rbSpec_->isChecked()) return EditBytes(ebName_->text());
  // Protect patterns meet every dotless name with a period added, so a
  // dotless pattern gets one too: "core" then protects the file core, and
  // "*~" the names a delete specification "*~" takes.
  return StoredProtectPattern(EditBytes(ebSpec_->text()));
}

bool TNameForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::FocusIn) {
    if (watched == ebSpec_) rbSpec_->setChecked(true);
    if (watched == ebName_) rbName_->setChecked(true);
  }
  return QDialog::eventFilter(watched, event);
}

void TNameForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  FormActivate();
}

void TNameForm::FormActivate() { (rbName_->isChecked() ? ebName_ : ebSpec_)->setFocus(); }

void TNameForm::ebSpecChange() {
  const QString text = CleanEdit(*ebSpec_, kSpecForbidden);
  lblStat_->setText(SpecStatusText(text));
  CheckOK();
}

void TNameForm::ebNameChange() {
  const std::string path = EditBytes(CleanEdit(*ebName_, kNameForbidden));
  lblStat_->setText(DisplayText(FullNameStatus(path, IsFullPath(path) && NamesAFile(path))));
  CheckOK();
}

void TNameForm::rbSpecClick() {
  if (rbSpec_->isChecked())
    ebSpecChange();
  else
    ebNameChange();
}

void TNameForm::btnBrowseClick() {
  const std::optional<QString> chosen = chooseFile_(this, initialDir_);
  if (!chosen) return;
  // Start the next browse where this one ended.
  const qsizetype slash = chosen->lastIndexOf(QLatin1Char('/'));
  if (slash >= 0) initialDir_ = chosen->left(slash + 1);
  rbName_->setChecked(true);
  ebName_->setText(*chosen);
}

void TNameForm::CheckOK() {
  btnOK_->setEnabled(rbName_->isChecked() ? IsFullPath(EditBytes(ebName_->text())) : SpecAccepted(ebSpec_->text()));
}

}  // namespace vorlo
