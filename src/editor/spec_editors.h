// The file specification editors: TSpecForm for delete specifications and
// TNameForm for protect specifications (a pattern or a full path). Both
// clean and check the text as it is typed, show a one-line status and
// enable OK only for a usable text.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vorlo {

class PlacementStore;

// Both editors restore their position from the placement store they are
// given and save it there when they close.
class TSpecForm final : public QDialog {
  Q_OBJECT

 public:
  explicit TSpecForm(PlacementStore& placements, QWidget* parent = nullptr);
  void SetSpec(const std::string& S);
  std::string GetSpec() const;

  void done(int r) override;

 private:
  void ebSpecChange();

  PlacementStore& placements_;
  QLineEdit* ebSpec_ = nullptr;
  QLabel* lblStat_ = nullptr;
  QPushButton* btnOK_ = nullptr;
};

class TNameForm final : public QDialog {
  Q_OBJECT

 public:
  // Asks for an existing file starting in `startDir`; nothing when cancelled.
  using FileChooser = std::function<std::optional<QString>(QWidget* parent, const QString& startDir)>;

  explicit TNameForm(PlacementStore& placements, QWidget* parent = nullptr);
  void SetSpec(const std::string& V);
  std::string GetSpec() const;

  // Also writes the folder "&Browse..." starts in next time.
  void done(int r) override;

  // Replaces the open-file dialog ("&Browse..."), for tests.
  void SetFileChooser(FileChooser chooser) { chooseFile_ = std::move(chooser); }
  // The folder "&Browse..." starts in (with a trailing "/").
  QString InitialDir() const { return initialDir_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void ebSpecChange();
  void ebNameChange();
  void rbSpecClick();
  void btnBrowseClick();
  void CheckOK();
  void FormActivate();

  PlacementStore& placements_;
  QRadioButton* rbSpec_ = nullptr;
  QRadioButton* rbName_ = nullptr;
  QButtonGroup* kindGroup_ = nullptr;
  QLineEdit* ebSpec_ = nullptr;
  QLineEdit* ebName_ = nullptr;
  QPushButton* btnBrowse_ = nullptr;
  QLabel* lblStat_ = nullptr;
  QPushButton* btnOK_ = nullptr;
  QString initialDir_;
  FileChooser chooseFile_;
};

}  // namespace vorlo
