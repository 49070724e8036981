// The undo of a clean-up, as the run control carries it out: the same lock,
// log and progress as a clean-up, the files put back on a worker thread.
#include "app/junk_list.h"
#include "app/run_control.h"
#include "app/texts.h"
#include "app/user_port.h"
#include "core/main_thread.h"
#include "core/stop_event.h"
#include "core/text.h"
#include "platform/file_ops.h"

namespace vorlo {

void RunControl::RefreshUndo() {
  canUndo_ = false;
  if (!s_.undoSetup) return;
  RunUndo probe(s_.undoSetup());
  canUndo_ = probe.Load(0);
}

void RunControl::UndoExecute(uint32_t number, bool confirmed) {
  if (VeryBusy_ != RunState::Idle || !s_.undoSetup) return;
  outcome_ = {};
  undo_ = std::make_unique<RunUndo>(s_.undoSetup());
  if (!undo_->Load(number)) {
    undo_.reset();
    outcome_.failed = true;
    s_.port.Ask({MsgKind::Information,
                 number == 0 ? std::string(texts::kNothingToUndo) : FormatText(texts::kNoSuchRun, number),
                 {MsgButton::Ok},
                 0});
    return;
  }
  const JournalRun& run = undo_->Run();
  if (undo_->Files() == 0) {
    s_.port.Ask({MsgKind::Information, FormatText(texts::kUndoneAlready, run.number), {MsgButton::Ok}, 0});
    undo_.reset();
    return;
  }
  const std::string when = s_.dateTimeAt ? s_.dateTimeAt(run.startUtc) : std::to_string(run.startUtc);
  if (!confirmed) {
    const Message ask{MsgKind::Confirmation,
                      FormatText(texts::kUndoQuestion, when.c_str(), static_cast<int>(undo_->Files())),
                      {MsgButton::Yes, MsgButton::No},
                      0};
    if (s_.port.Ask(ask) != MsgButton::Yes) {
      undo_.reset();
      outcome_.stopped = true;  // declined
      return;
    }
  }
  if (!OpenRunLog(LogKind::Undo)) {
    outcome_.failed = true;
    undo_.reset();
    return;
  }
  report_.UndoHeader(FormatText(texts::kUndoOfRun, when.c_str(), run.number));
  VeryBusy_ = RunState::Running;
  s_.port.SetBusy(true);
  StopEvent_ = std::make_unique<StopEvent>(std::string(texts::kStopEventName));
  tally_ = {};
  undoTotal_ = static_cast<int32_t>(undo_->Files());
  CleanCountOne_ = 0;
  s_.port.SetPanel(0, "0");
  s_.port.SetPanel(1, FormatText(texts::kUndoOfRun, when.c_str(), run.number) + "...");
  undoThread_ = std::jthread([this] { UndoFiles(); });
}

// Worker thread.
void RunControl::UndoFiles() {
  for (size_t i = 0; i < undo_->Files() && !StopEvent_->IsSet(); ++i) {
    const UndoFile file = undo_->Restore(i);
    progress_.Publish(file.original);
    if (file.state == UndoState::Restored) {
      report_.Removed(file.original);
      ++tally_.removed;
      ++CleanCountOne_;
    } else {
      report_.NotRestored(file.original, UndoReason(file));
      // A file that is no longer where the run put it cannot come back; one
      // that is there and stayed is the undo's failure.
      if (file.state == UndoState::InTheWay || file.state == UndoState::Failed) ++tally_.errors;
      if (notRestored) s_.mainThread.Post([this, file] { notRestored(file); });
    }
  }
  s_.mainThread.Post([this] { EndUndo(); });
}

void RunControl::EndUndo() {
  undoThread_ = {};
  const bool stopped = StopEvent_->IsSet();
  StopEvent_.reset();
  const int journalError = undo_->Finish();
  undo_.reset();
  const std::string summary = FormatText(texts::kRestoredOf, tally_.removed, undoTotal_);
  report_.UndoClosing(summary);
  CleanFile_.Close();
  const int logError = CleanFile_.Error();
  runLock_.Release();
  s_.port.SetPanel(0, "");
  s_.port.SetPanel(1, "");
  RefreshUndo();
  VeryBusy_ = RunState::Idle;
  s_.port.SetBusy(false);
  outcome_ = {stopped, 0, tally_.removed, tally_.errors, 0, logError != 0 || journalError != 0};

  std::string text = (stopped ? std::string(texts::kUndoStopped) : std::string()) + summary;
  if (tally_.removed < undoTotal_) text += texts::kSeeLog;
  if (logError != 0) {
    s_.port.ReportFailure(FormatText(texts::kLogFailed, ShownName(CleanFile_.Path()).c_str(),
                                     ErrorText(logError).c_str()) + "\r\n\r\n" + text);
  } else if (s_.port.Ask({MsgKind::Confirmation, text + std::string(texts::kViewLog),
                          {MsgButton::Yes, MsgButton::No, MsgButton::Help}, texts::kHelpUndo}) == MsgButton::Yes) {
    s_.port.OpenFile(s_.files.Log());
  }
  if (finished) finished();
}

}  // namespace vorlo
