// A main window over a temporary data folder, with an injected Recycle Bin
// check, scripted message boxes and the run fixture's fake file operations.
#pragma once

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QListView>

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
                        .defaultFolders = {run.dir / "config/", "", "/tmp/", "", "/"},
                        .description = [] { return DescriptionContext{"Local drives (/)", "/"}; },
                        .runSetup =
                            [this](UserPort& port, JunkList& list, MainThreadExecutor& mainThread) {
                              return RunSetup{.port = port,
                                              .list = list,
                                              .mainThread = mainThread,
                                              .clock = run.clock,
                                              .drives = run.drives,
                                              .bins = run.bins,
                                              .remover = run.remover,
                                              .separators = {",", "."},
                                              .files = DataFiles(run.dir / "data/"),
                                              .programFolder = run.dir / "program",
                                              .skipFolders = {},
                                              .dateTimeStamp = [] { return std::string("DATE  TIME"); },
                                              .timeStamp = [] { return std::string("TIME"); }};
                            },
                        .wizard = wizard,
                    });
      window->askOverride = [this](const Message& m) {
        asked.push_back(m);
        if (!answers.empty()) {
          const MsgButton a = answers.front();
          answers.pop_front();
          return a;
        }
        for (MsgButton b : m.buttons)
          if (b == MsgButton::Yes) return MsgButton::No;
        return MsgButton::Ok;
      };
    }
    return *window;
  }

  QAbstractItemModel& Model() { return *Window().findChild<QListView*>(QStringLiteral("lvJunk"))->model(); }
  bool Enabled(const char* name) { return Window().Action(name)->isEnabled(); }
  void Trigger(const char* name) { Window().Action(name)->trigger(); }
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
  std::unique_ptr<TMainForm> window;
  std::vector<Message> asked;
  std::deque<MsgButton> answers;
};

}  // namespace vorlo::testing
