// The main window: ribbon, junk list with its popup menu, Exit strip and
// status bar; every command with its caption, hint, shortcut and enabling;
// the user port of the runs and list commands.
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "app/list_commands.h"
#include "app/run_control.h"
#include "app/startup.h"
#include "app/user_port.h"
#include "gui/qt_main_thread.h"
#include "core/default_types.h"
#include "core/description.h"

class QAction;
class QLabel;
class QListView;
class QMenu;
class QTimer;

namespace vorlo {

class JunkListModel;
class RecycleBinCheck;

// What the window needs of the machine; tests give their own.
struct WindowServices {
  RecycleBinCheck& bins;
  DataFiles files;
  DefaultFolders defaultFolders;
  std::function<DescriptionContext()> description;
  std::function<RunSetup(UserPort&, JunkList&, MainThreadExecutor&)> runSetup;
  // The junk type wizard: edits a copy of the type; nothing when cancelled.
  // Absent until the wizard exists: the add and edit commands stay disabled.
  std::function<std::optional<TJunkFileObj>(QWidget* parent, const TJunkFileObj&, bool recycleProb)> wizard;
};

class TMainForm final : public QMainWindow, public UserPort {
  Q_OBJECT

 public:
  TMainForm(JunkList& list, WindowServices services, QWidget* parent = nullptr);
  ~TMainForm() override;

  // Start-up: the list from its files or the default table (before show).
  void FormCreate();
  // The first activation: the Recycle Bin check and the first selection.
  void FormActivate();

  QAction* Action(const std::string& name) const;
  RunControl& Runs() { return *runs_; }
  ListCommands& Commands() { return commands_; }
  std::optional<size_t> SelectedRow() const;

  // UserPort.
  MsgButton Ask(const Message& message) override;
  void SetPanel(int panel, const std::string& text) override;
  void SelectRow(int row) override;
  void SetBusy(bool busy) override;
  void SetCountCommand(const std::string& caption, const std::string& hint) override;
  void OpenFile(const std::string& path) override;

  // Message boxes go through this when set (tests answer by script).
  std::function<MsgButton(const Message&)> askOverride;

  void UpdateActions();

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  QAction* MakeAction(const std::string& name, const QString& caption, const QString& hint = {},
                      const QKeySequence& shortcut = {});
  void BuildActions();
  QWidget* BuildRibbon();
  void BuildList();
  QMenu* BuildPopupMenu();
  void Connect();
  void OnSelectionChanged();
  void SampleProgress();
  std::string IniPath() const;

  void aRemExecute();
  void aUndoExecute();
  void MoveExecute(bool up);
  void aAddExecute();
  void aEditExecute();
  void aDefaultsExecute();
  void aPropsExecute();
  void aAboutExecute();
  void Action3Execute();
  void onlineUpdateExecute();

  JunkList& list_;
  WindowServices services_;
  QtMainThread mainThread_{this};
  ListCommands commands_;
  std::unique_ptr<RunControl> runs_;
  std::unique_ptr<JunkListModel> model_;
  std::map<std::string, QAction*> actions_;
  QListView* lvJunk_ = nullptr;
  QMenu* pmMain_ = nullptr;
  QMenu* mnuMethodAll_ = nullptr;
  QLabel* panels_[2] = {nullptr, nullptr};
  QTimer* progressTimer_ = nullptr;
  bool activated_ = false;
  bool closeWhenIdle_ = false;
};

}  // namespace vorlo
