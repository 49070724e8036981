// The main window: ribbon, junk list with its popup menu, Exit strip and
// status bar (main_window_layout.cpp); every command with its caption,
// hint, shortcut and enabling (main_window_actions.cpp); the user port of
// the runs and list commands, its message boxes those of MessageBoxPort.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/list_commands.h"
#include "app/run_control.h"
#include "app/startup.h"
#include "app/user_port.h"
#include "gui/message_box_port.h"
#include "gui/qt_main_thread.h"
#include "platform/file_lock.h"
#include "core/default_types.h"
#include "core/description.h"

class QAction;
class QItemSelection;
class QModelIndex;
class QLabel;
class QListView;
class QMenu;
class QTimer;

namespace vorlo {

class JunkListModel;
class PlacementStore;
class RecycleBinCheck;
class Ribbon;
class ServiceManager;

// What the window needs of the machine; tests give their own.
struct WindowServices {
  RecycleBinCheck& bins;
  DataFiles files;
  PlacementStore& placements;  // the settings file: this window's and its dialogs' positions
  DefaultFolders defaultFolders;
  std::function<DescriptionContext()> description;
  std::function<RunSetup(UserPort&, JunkList&, MainThreadExecutor&)> runSetup;
  // The junk type wizard: edits a copy of the type; nothing when cancelled.
  // Absent until the wizard exists: the add and edit commands stay disabled.
  std::function<std::optional<TJunkFileObj>(QWidget* parent, const TJunkFileObj&, bool recycleProb)> wizard;
  // Message boxes, the part of the user port that leaves the window. Null:
  // the window's own message boxes; tests give a scripted port.
  MessagePort* dialogs = nullptr;
  // Opens a file with the desktop's program for it and tells `ended`
  // whether that worked. Null: xdg-open; tests give their own.
  std::function<void(const std::string& path, std::function<void(bool opened)> ended)> openFile;
  NumberSeparators separators{};  // of the user's locale
  // The user's service manager, for the schedule. Null: systemctl --user;
  // tests give their own.
  ServiceManager* serviceManager = nullptr;
};

// The window's commands, one member each, all created with the window.
// Five ribbon entries run another command's operation with an enabling of
// their own: act1 as aCleanup, act2 as aAdd, act5 as aUp, act9 as aDefaults,
// Action1 as aAbout.
struct MainActions {
  QAction* aCleanup = nullptr;
  QAction* act1 = nullptr;
  QAction* act10 = nullptr;
  QAction* aReview = nullptr;
  QAction* aUndoCleanup = nullptr;
  QAction* aAdd = nullptr;
  QAction* act2 = nullptr;
  QAction* aDefaults = nullptr;
  QAction* act9 = nullptr;
  QAction* aEdit = nullptr;
  QAction* aRem = nullptr;
  QAction* aUndo = nullptr;
  QAction* aUp = nullptr;
  QAction* act5 = nullptr;
  QAction* aDn = nullptr;
  QAction* aProps = nullptr;
  QAction* aCount = nullptr;
  QAction* aCheckAll = nullptr;
  QAction* aClearAll = nullptr;
  QAction* aAbout = nullptr;
  QAction* Action1 = nullptr;
  QAction* Action3 = nullptr;
  QAction* aSchedule = nullptr;
  QAction* onlineUpdate = nullptr;
  QAction* aExit = nullptr;
  QAction* mnuRecycleAll = nullptr;
  QAction* mnuBackupAll = nullptr;
  QAction* mnuDeleteAll = nullptr;
};

class TMainForm final : public QMainWindow, public UserPort {
  Q_OBJECT

 public:
  TMainForm(JunkList& list, WindowServices services, QWidget* parent = nullptr);
  ~TMainForm() override;

  // Makes this the one window over the data folder's list (before
  // FormCreate). False, after telling the person, when another window holds
  // it: two windows would each write the list at close, the later silently
  // undoing the other's changes.
  bool ClaimDataFolder();
  // Start-up: the list from its files or the default table (before show).
  // False when the list file could not be read: the error was shown, and the
  // window must not be shown, so that closing it never replaces the file.
  [[nodiscard]] bool FormCreate();
  // The first activation: the Recycle Bin check and the first selection.
  void FormActivate();

  const MainActions& Actions() const { return actions_; }
  RunControl& Runs() { return *runs_; }
  ListCommands& Commands() { return commands_; }
  std::optional<size_t> SelectedRow() const;
  Ribbon& RibbonBar() const { return *ribbon_; }
  // The popup menu and its move entries (Ctrl+H, Ctrl+L on the list).
  QMenu* PopupMenu() const { return pmMain_; }

  // UserPort.
  MsgButton Ask(const Message& message) override;
  void SetPanel(int panel, const std::string& text) override;
  void SelectRow(int row) override;
  void SetBusy(bool busy) override;
  void SetCountCommand(const std::string& caption, const std::string& hint) override;
  void OpenFile(const std::string& path) override;
  bool CanReview() const override { return true; }
  void OpenReview() override;

  // The enabling table: every command's enabled state from one reading of
  // the run state, the selection and the list.
  void UpdateActions();

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  QAction* MakeAction(const char* name, const QString& caption, const QString& hint = {},
                      const QKeySequence& shortcut = {});
  void BuildActions();  // main_window_actions.cpp: the commands and their enabling
  void BuildLayout();   // main_window_layout.cpp: ribbon, list, strip and status bar
  QWidget* BuildRibbon();
  void BuildList();
  QMenu* BuildPopupMenu();
  void Connect();
  void OnSelectionChanged(const QItemSelection& selected, const QItemSelection& deselected);
  void RowStateChanged(const QModelIndex& index);
  void SampleProgress();

  void aRemExecute();
  void aUndoExecute();
  void ShowNewRow(std::optional<size_t> row);
  void MoveExecute(bool up);
  void aAddExecute();
  void aEditExecute();
  void aDefaultsExecute();
  void aPropsExecute();
  void aReviewExecute();
  void aAboutExecute();
  void Action3Execute();
  void onlineUpdateExecute();

  JunkList& list_;
  WindowServices services_;
  QtMainThread mainThread_{this};
  MessageBoxPort boxes_{this};
  ListCommands commands_;
  FileLock windowLock_;
  std::unique_ptr<RunControl> runs_;
  std::unique_ptr<JunkListModel> model_;
  MainActions actions_;
  QListView* lvJunk_ = nullptr;
  QMenu* pmMain_ = nullptr;
  QAction* upEntry_ = nullptr;
  QAction* dnEntry_ = nullptr;
  Ribbon* ribbon_ = nullptr;
  QMenu* mnuMethodAll_ = nullptr;
  QLabel* panels_[2] = {nullptr, nullptr};
  QTimer* progressTimer_ = nullptr;
  bool binProblem_ = false;  // as the check found it when the method submenu last opened
  bool activated_ = false;
  bool closeWhenIdle_ = false;
  bool declinedKept_ = false;  // a declined recovery file could not be set aside
};

}  // namespace vorlo
