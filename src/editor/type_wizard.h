// The junk type wizard (TTypeWiz): six pages that edit one junk type (name
// and method, folders, delete specifications with restrictions, protect
// specifications), a summary of the result and a trial count that lists the
// files the type would process. Its work is spread by concern over
// type_wizard.cpp (creation, navigation, enabling, hints), wizard_pages.cpp
// (building the pages), wizard_lists.cpp (folder and specification lists),
// wizard_type_io.cpp (loading and building the type) and wizard_count.cpp
// (summary and count pages, on the app's count).
#pragma once

#include <functional>

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "app/type_count.h"
#include "core/data_files.h"
#include "core/description.h"
#include "core/junk_type.h"
#include "core/scan_thread.h"
#include "gui/qt_main_thread.h"
#include "platform/locale_info.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QStatusBar;
class QTextEdit;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorlo {

class PlacementStore;

class Clock;
class LocalDriveSource;
class TRestrictPanel;

// What the wizard needs of its surroundings; tests give temporary folders.
struct WizardSetup {
  LocalDriveSource& drives;        // the picker's and the count's drives; the local-drives text
  PlacementStore& placements;      // the wizard's and its editors' positions
  DataFiles files;                 // the found-files list
  const Clock& clock;
  DescriptionContext description;  // for the Summary page
  NumberSeparators separators;     // byte-count text of the count
  std::string programFolder;       // the scan's own folder (vMyDir)
  std::vector<std::string> skipFolders;
  // True while the main window's clean-up or analysis run is active: its
  // progress owns the hints then, and the wizard shows none.
  std::function<bool()> runActive;
};

// The pages in their order; the value is the page's index.
enum class WizardPage { nbpgName = 0, nbpgDirs = 1, nbpgDels = 2, nbpgProt = 3, nbpgSumm = 4, nbPgTotl = 5 };

// The help topic of a page: its index + 3, from 3 (Name) to 8 (Counts).
constexpr int HelpContext(WizardPage page) { return static_cast<int>(page) + 3; }

class TTypeWiz final : public QDialog {
  Q_OBJECT

 public:
  explicit TTypeWiz(WizardSetup setup, QWidget* parent = nullptr);
  // Waits for a running count to end before the widgets go.
  ~TTypeWiz() override;

  void SetFromObj(const TJunkFileObj& TJ, bool BinHasProb);
  // The type built from the controls; the wizard keeps it.
  const TJunkFileObj& GetFromObj();

  WizardPage CurrentPage() const;
  void aNextExecute();
  void aBackExecute();
  bool Counting() const { return count_.Active(); }
  const std::string& TmpName() const { return TmpName_; }
  const std::string& NameForAll() const { return nameforAll_; }

  // True when a folder row stands for all local drives.
  static bool IsLocalDrives(const QTreeWidgetItem& row);

  // While a count runs a close request stops it; the window closes when the
  // count's end notification has come.
  void reject() override;
  void done(int r) override;

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  QWidget* BuildNamePage();
  QWidget* BuildDirsPage();
  QWidget* BuildListPage(bool deletes);
  QWidget* BuildSummaryPage();
  QWidget* BuildCountPage();
  QWidget* BuildButtonBar();
  QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint);
  void WatchHints(QWidget* panel);

  void ShowPage(WizardPage page);
  void Notebook1PageChanged();
  void EnDisButtons();
  void UpdateListActions();
  void pnlMainMouseMove(QWidget* panel, const QPoint& pos);
  bool RunActive() const;

  void AddDirRow(const std::string& caption, FolderRule mode, bool withSelection);
  // The folder rows as the type's folder list: none for the local-drives row alone.
  FolderList DirRows() const;
  void adirClearExecute();
  void adirChangeExecute();
  void ListAdd(bool deletes);
  void ListEdit(bool deletes);
  void ListRemove(bool deletes);
  void ListClear(bool deletes);
  void aHelpExecute();

  void EnterSummary();
  void EnterCounts();
  void StartCount();
  void ReptCounting(const CountResult& counted);
  void DoneCounting(bool stopped);
  void CountEnded();
  void btnStopClick();
  void btnViewClick();

  WizardSetup setup_;
  QtMainThread mainThread_{this};
  ScanContext context_;
  std::string nameforAll_;
  std::string loadedName_;
  std::optional<TJunkFileObj> theObj_;
  TypeCount count_;  // writes the found files to TmpName_
  std::string TmpName_;
  bool busyCursor_ = false;
  bool closeAfterCount_ = false;

  QStackedWidget* Notebook1_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
  QLabel* lblReason_ = nullptr;  // why Next or Finish is disabled
  QLineEdit* ebName_ = nullptr;
  QRadioButton* rbRecycle_ = nullptr;
  QRadioButton* rbBackup_ = nullptr;
  QRadioButton* rbDelete_ = nullptr;
  QCheckBox* cbEnabled_ = nullptr;
  QTreeWidget* lvDirs_ = nullptr;
  QPushButton* btnDirChange_ = nullptr;
  QPushButton* btnDirClear_ = nullptr;
  QListWidget* lbDels_ = nullptr;
  QListWidget* lbProts_ = nullptr;
  QPushButton* listButtons_[2][4] = {};  // [deletes, protects][add, edit, remove, clear]
  TRestrictPanel* restrict_ = nullptr;
  QTextEdit* reProps_ = nullptr;
  QLabel* lblTypCount_ = nullptr;
  QLabel* lblTypDirs_ = nullptr;
  QLabel* lblTypDels_ = nullptr;
  QLabel* lblTypRes_ = nullptr;
  QLabel* lblTypProts_ = nullptr;
  QLabel* lblTypActual_ = nullptr;
  QLabel* lblTypSize_ = nullptr;
  QPushButton* btnStop_ = nullptr;
  QPushButton* btnView_ = nullptr;
  QPushButton* btnHelp_ = nullptr;
  QPushButton* btnBack_ = nullptr;
  QPushButton* btnNext_ = nullptr;
  QPushButton* btnFinish_ = nullptr;
  QPushButton* btnCancel_ = nullptr;
};

}  // namespace vorlo
