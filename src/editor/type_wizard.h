// The junk type wizard (TTypeWiz): six pages that edit one junk type (name
// and method, folders, delete specifications with restrictions, protect
// specifications), a summary of the result and a trial count that lists the
// files the type would process.
#pragma once

#include <QDialog>
#include <cstdio>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "gui/qt_main_thread.h"
#include "core/description.h"
#include "core/junk_type.h"
#include "core/scan_thread.h"
#include "core/stop_event.h"
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

class Clock;
class LocalDriveSource;
class TRestrictPanel;

// What the wizard needs of its surroundings; tests give temporary folders.
struct WizardSetup {
  LocalDriveSource& drives;        // the picker's and the count's drives; the local-drives text
  std::string iniPath;             // settings file (placement, editors)
  std::string dataFolder;          // with trailing "/": the found-files list lives here
  const Clock& clock;
  DescriptionContext description;  // for the Summary page
  NumberSeparators separators;     // byte-count text of the count
  std::string programFolder;       // the scan's own folder (vMyDir)
  std::vector<std::string> skipFolders;
};

// Page indexes.
inline constexpr int nbpgName = 0;
inline constexpr int nbpgDirs = 1;
inline constexpr int nbpgDels = 2;
inline constexpr int nbpgProt = 3;
inline constexpr int nbpgSumm = 4;
inline constexpr int nbPgTotl = 5;

// Name of the found-files list in the data folder.
inline constexpr const char* kFoundListName = "Vorlo.$$$.TXT";

class TTypeWiz final : public QDialog {
  Q_OBJECT

 public:
  explicit TTypeWiz(WizardSetup setup, QWidget* parent = nullptr);
  // Waits for a running count to end before the widgets go.
  ~TTypeWiz() override;

  void SetFromObj(const TJunkFileObj& TJ, bool BinHasProb);
  // The type built from the controls; the wizard keeps it.
  const TJunkFileObj& GetFromObj();

  int CurrentPage() const;
  void aNextExecute();
  void aBackExecute();
  bool Counting() const { return counting_; }
  const std::string& TmpName() const { return TmpName_; }
  const std::string& NameForAll() const { return nameforAll_; }

  // True when a folder row stands for all local drives.
  static bool IsLocalDrives(const QTreeWidgetItem& row);

  // While a count runs a close request stops it; the window closes when the
  // count's end notification has come.
  void reject() override;

 protected:
  bool event(QEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  QWidget* BuildNamePage();
  QWidget* BuildDirsPage();
  QWidget* BuildListPage(bool deletes);
  QWidget* BuildSummaryPage();
  QWidget* BuildCountPage();
  QWidget* BuildButtonBar();
  QPushButton* MakeButton(QWidget* parent, const char* name, const QString& caption, const QString& hint);
  void WatchHints(QWidget* panel);

  void ShowPage(int index);
  void Notebook1PageChanged();
  void EnDisButtons();
  void UpdateListActions();
  void pnlMainMouseMove(QWidget* panel, const QPoint& pos);

  void AddDirRow(const std::string& caption, FolderRule mode, bool withSelection);
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
  void OneFile(const std::string& FileName);
  void ReptCounting(int64_t SizDel, int32_t NumDir, int32_t NumDel, int32_t NumRes, int32_t NumProt);
  void DoneCounting(TJunkDelThread& Thread);
  void btnStopClick();
  void btnViewClick();

  WizardSetup setup_;
  QtMainThread mainThread_{this};
  ScanContext context_;
  std::string nameforAll_;
  std::string loadedName_;
  std::optional<TJunkFileObj> theObj_;
  StopEvent StopEvent_;
  std::string TmpName_;
  std::FILE* TmpFile_ = nullptr;
  std::mutex tmpFileLock_;  // the per-file callback writes from the scan thread
  bool counting_ = false;
  bool busyCursor_ = false;
  bool closeAfterCount_ = false;

  QStackedWidget* Notebook1_ = nullptr;
  QStatusBar* statusBar_ = nullptr;
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
