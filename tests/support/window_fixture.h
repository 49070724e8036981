// A main window over a temporary data folder, with an injected Recycle Bin
// check, scripted message boxes, settings kept in memory, the run
// fixture's fake file operations and a service manager of its own.
#pragma once

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QListView>
#include <atomic>
#include <future>

#include "support/fake_port.h"
#include "support/fake_service_manager.h"
#include "support/memory_placements.h"
#include "support/run_fixture.h"
#include "window/main_window.h"

namespace vorlo::testing {

class WindowFixture {
 public:
  WindowFixture() { std::filesystem::create_directories(run.dir / "data"); }

  TMainForm& Window() {
    if (!window) {
      window = std::make_unique<TMainForm>(
          run.list, WindowServices{
                        .bins = run.bins,
                        .files = DataFiles(run.dir / "data/"),
                        .placements = placements,
                        // Every folder a default row names lies in the test's own tree.
                        .defaultFolders = {run.dir / "config/", "", run.dir / "tmp/", "", "/", "", "",
                                           run.dir / "var-tmp"},
                        .description = [] { return DescriptionContext{"Local drives (/)", "/"}; },
                        .runSetup =
                            [this](UserPort& port, JunkList& list, MainThreadExecutor& mainThread) {
                              return RunSetup{.port = port,
                                              .list = list,
                                              .mainThread = mainThread,
                                              .clock = run.clock,
                                              .drives = run.drives,
                                              .bins = run.bins,
                                              .remover = run.realRemover ? *run.realRemover : run.remover,
                                              .separators = {",", "."},
                                              .files = DataFiles(run.dir / "data/"),
                                              .programFolder = run.dir / "program",
                                              .skipFolders = {},
                                              .dateTimeStamp = [] { return std::string("DATE  TIME"); },
                                              .timeStamp = [] { return std::string("TIME"); },
                                              .undoSetup = run.undoSetup,
                                              .dateTimeAt = [](int64_t) { return std::string("START"); }};
                            },
                        .wizard = wizard,
                        .dialogs = &port,
                        .openFile =
                            [this](const std::string& path, std::function<void(bool)> ended) {
                              port.OpenFile(path);
                              ended(opens);
                            },
                        .serviceManager = &serviceManager,
                    });
    }
    return *window;
  }

  QAbstractItemModel& Model() { return *Window().findChild<QListView*>(QStringLiteral("lvJunk"))->model(); }
  const MainActions& A() { return Window().Actions(); }
  static std::string Name(const QAction* a) { return a->objectName().toStdString(); }
  void Select(int row) {
    Window().SelectRow(row);
    QApplication::processEvents();
  }
  void Check(int row, bool on) { Model().setData(Model().index(row, 0), on ? Qt::Checked : Qt::Unchecked, Qt::CheckStateRole); }
  std::vector<std::string> Captions() const {
    std::vector<std::string> out;
    for (size_t i = 0; i < run.list.size(); ++i) out.push_back(run.list[i].caption);
    return out;
  }
  std::string Recovery() const { return run.dir / "data/Vorlo.D$$"; }
  std::string DataFile() const { return run.dir / "data/Vorlo.DAT"; }
  // Waits in the event loop until the run or count has ended.
  void WaitIdle() {
    while (Window().Runs().VeryBusy() != RunState::Idle) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    QApplication::processEvents();
  }

  RunFixture run;
  std::function<std::optional<TJunkFileObj>(QWidget*, const TJunkFileObj&, bool)> wizard;
  bool opens = true;  // whether the desktop has a program for the log
  // Answers No to questions unless told otherwise; records every message.
  FakePort port;
  std::vector<Message>& asked = port.messages;
  std::deque<MsgButton>& answers = port.answers;
  MemoryPlacements placements;
  // The schedule dialog's: no window test reaches the real systemctl.
  FakeServiceManager serviceManager;
  std::unique_ptr<TMainForm> window;
};

// Holds a clean-up at its first removal until released, so a test can act
// while the run is going on.
class RemovalGate {
 public:
  explicit RemovalGate(FakeRemover& remover) : going_(go_.get_future().share()) {
    remover.onRemove = [this, going = going_](const std::string&) {
      waiting_ = true;
      going.wait();
    };
  }
  bool Waiting() const { return waiting_; }
  void Release() { go_.set_value(); }

 private:
  std::promise<void> go_;
  std::shared_future<void> going_;
  std::atomic<bool> waiting_{false};
};

}  // namespace vorlo::testing
