#include "app/run_control.h"

#include <algorithm>

#include "app/file_remover.h"
#include "app/junk_list.h"
#include "app/texts.h"
#include "app/user_port.h"
#include "core/listing_store.h"
#include "core/local_drives.h"
#include "core/main_thread.h"
#include "core/recycle_bin.h"
#include "core/stop_event.h"
#include "core/text.h"
#include "platform/clock.h"
#include "platform/file_ops.h"
#include "platform/folder_path.h"

namespace vorlo {

RunControl::RunControl(RunSetup setup)
    : s_(std::move(setup)),
      context_{s_.mainThread, s_.clock, s_.drives, s_.skipFolders, &progress_},
      count_(std::string(texts::kCountStopEventName), context_, s_.programFolder) {
  CleanFile_.onFailure = [this](int) { LogFailed(); };
  RefreshUndo();
}

RunControl::~RunControl() = default;

// ---------------------------------------------------------------------------
// Starting and stopping runs

// Why a run command started nothing, in status panel 1.
bool RunControl::MayStartRun() {
  const std::string_view refused = VeryBusy_ == RunState::Counting ? texts::kCountRunning
                                   : !s_.list.AnyChecked()         ? texts::kNoneChecked
                                                                   : std::string_view();
  if (!refused.empty()) s_.port.SetPanel(1, std::string(refused));
  return refused.empty();
}

bool RunControl::BinCheckAllowsRun() {
  if (!s_.bins.RecycleBinProblem()) return true;
  const int disabled = UncheckBinTypes(s_.list);
  if (disabled == 0) return true;
  if (listChanged) listChanged();
  return BinProblemAllows(disabled, s_.list.AnyChecked());
}

// `disabled` types that rely on the Recycle Bin are left out of the run:
// the person decides whether the rest goes ahead, or learns that nothing is
// left.
bool RunControl::BinProblemAllows(int disabled, bool anyLeft) {
  if (disabled == 0) return true;
  const std::string sentence = FormatText(texts::kTypesDisabled, disabled);
  if (anyLeft) {
    const Message ask{MsgKind::Confirmation, FillPlaceholder(s_.bins.BadBinMsg(), sentence) + std::string(texts::kProceed),
                      {MsgButton::Yes, MsgButton::No, MsgButton::Help}, texts::kHelpRecycleBin};
    return s_.port.Ask(ask) == MsgButton::Yes;
  }
  s_.port.Ask({MsgKind::Error, FillPlaceholder(s_.bins.BadBinMsg(), sentence + std::string(texts::kNothingLeft)),
               {MsgButton::Ok, MsgButton::Help}, texts::kHelpRecycleBin});
  return false;
}

void RunControl::aCleanupExecute() {
  if (VeryBusy_ == RunState::Running) {
    StopEvent_->Set();
    report_.Halted();
    return;
  }
  if (!MayStartRun()) return;
  if (!BinCheckAllowsRun()) return;
  StartRun(false);
}

void RunControl::act10Execute() {
  if (VeryBusy_ == RunState::Running) {
    aCleanupExecute();
    return;
  }
  if (!MayStartRun()) return;
  if (!BinCheckAllowsRun()) return;
  StartRun(true);
}

void RunControl::StartRun(bool test) {
  if (!BeginRun(test)) return;
  CleanIdx_ = -1;
  NextCheckedRow();
  StartType(true);
}

// What every run does before its first type: the lock and log, the undo
// journal of a clean-up, the state.
bool RunControl::BeginRun(bool test) {
  outcome_ = {};
  if (!OpenRunLog(test ? LogKind::Analysis : LogKind::CleanUp)) {
    outcome_.failed = true;
    return false;
  }
  TestMode_ = test;
  const int64_t start = s_.clock.NowUtc();
  if (test) {
    findings_.Start(s_.bins.abi(), s_.files.Found(), start);
  } else if (const int err = s_.remover.BeginCleanUp(start); err != 0) {
    // Nothing leaves without the record that lets it come back.
    CleanFile_.Close();
    runLock_.Release();
    s_.port.ReportFailure(
        FormatText(texts::kJournalNotOpened, ShownName(s_.files.UndoFolder()).c_str(), ErrorText(err).c_str()));
    outcome_.failed = true;
    return false;
  }
  // The batch keeps its folders open within what the process may still open,
  // leaving room for the walk, its read-ahead and the trash's own folders.
  constexpr size_t kReserve = 80;
  const size_t spare = SpareDescriptors();
  batch_.Start(std::clamp<size_t>(spare > kReserve ? spare - kReserve : 1, 1, rbMaxFolders));
  listings_ = nullptr;
  if (reuseListings && found_.empty()) {
    // The names of each folder matched once for every checked type.
    std::vector<const TJunkFileObj*> types;
    for (size_t row = 0; row < s_.list.size() && shareMatcher; ++row)
      if (s_.list[row].checked && s_.list[row].type) types.push_back(s_.list[row].type.get());
    listings_ = shareMatcher ? std::make_unique<ListingStore>(types) : std::make_unique<ListingStore>();
  }
  VeryBusy_ = RunState::Running;
  s_.port.SetBusy(true);
  StopEvent_ = std::make_unique<StopEvent>(std::string(texts::kStopEventName));
  tally_ = {};
  tally_.types = 1;
  return true;
}

// Takes the data folder's run lock, then opens the log and writes its title
// lines. Nothing is removed (or put back) without its log: when either fails
// the run does not start and the person learns why.
bool RunControl::OpenRunLog(LogKind kind) {
  // An undo's refusals say what did not happen to it.
  const auto refuse = [&](std::string text) {
    if (kind == LogKind::Undo) text = ReplacedOnce(text, texts::kNothingRemoved, texts::kNothingPutBack);
    s_.port.ReportFailure(text);
  };
  const std::string lockPath = s_.files.RunLock();
  if (const int err = runLock_.TryExclusive(lockPath); err != 0) {
    refuse(err == EWOULDBLOCK ? FormatText(texts::kFolderBusy, ShownName(s_.files.folder).c_str())
                              : FormatText(texts::kCannotLock, ShownName(lockPath).c_str(), ErrorText(err).c_str()));
    return false;
  }
  const bool test = kind == LogKind::Analysis;
  const std::string path = test ? s_.files.TestLog() : s_.files.Log();
  int err = test ? CleanFile_.OpenNew(path) : CleanFile_.OpenAppend(path);
  if (err == 0) {
    if (kind == LogKind::Undo)
      report_.UndoTitle(s_.dateTimeStamp());
    else
      report_.Title(test, s_.dateTimeStamp());
    err = CleanFile_.Error();
  }
  if (err == 0) return true;
  CleanFile_.Close();
  runLock_.Release();
  refuse(FormatText(texts::kLogNotOpened, ShownName(path).c_str(), ErrorText(err).c_str()));
  return false;
}

// A log line could not be written (on the thread that wrote it): the run
// stops as on the stop command, so that nothing more is removed untraced.
void RunControl::LogFailed() {
  if (VeryBusy_ != RunState::Running || !StopEvent_) return;
  StopEvent_->Set();
  report_.HaltedNoLog();
}

bool RunControl::NextCheckedRow() {
  const auto rows = static_cast<int32_t>(s_.list.size());
  do {
    ++CleanIdx_;
  } while (CleanIdx_ < rows && !s_.list[static_cast<size_t>(CleanIdx_)].checked);
  return CleanIdx_ < rows;
}

void RunControl::StartType(bool first) {
  s_.port.SelectRow(CleanIdx_);
  const JunkRow& LI = s_.list[static_cast<size_t>(CleanIdx_)];
  s_.port.SetPanel(1, std::string(TestMode_ ? texts::kNowAnalyzing : texts::kNowProcessing) +
                          ShownName(LI.caption) + "...");
  CleanCountOne_ = 0;
  s_.port.SetPanel(0, "0");
  // A row without a type counts as an unknown method.
  CleanMethod_ = LI.type ? LI.type->Backtype() : CleanupMethod{-1};
  report_.TypeHeader(LI.caption, CleanMethod_, TestMode_, first);
  if (TestMode_) findings_.StartType(CleanIdx_, LI.caption);
  PruneListings();
  StartScan();
}

// The folders where the checked types from row `from` on start, resolved
// as their scans resolve them.
std::vector<std::string> RunControl::RootsFrom(size_t from) const {
  std::vector<std::string> roots;
  bool drives = false;
  for (size_t row = from; row < s_.list.size(); ++row) {
    const JunkRow& r = s_.list[row];
    if (!r.checked || !r.type) continue;
    if (r.type->SearchesLocalDrives()) {
      drives = true;
      continue;
    }
    for (const FolderEntry& e : r.type->Dirs()) roots.push_back(ResolvedFolder(e.path));
  }
  if (drives)
    for (std::string& root : s_.drives.Roots()) roots.push_back(std::move(root));
  for (std::string& root : roots)
    if (root.size() > 1 && root.back() == '/') root.pop_back();
  return roots;
}

// Keeps only the listings the types from this one on may still walk, and
// lets the store keep new ones only where a later type may come.
void RunControl::PruneListings() {
  if (!listings_) return;
  const auto row = static_cast<size_t>(CleanIdx_);
  listings_->KeepFor(RootsFrom(row), RootsFrom(row + 1));
}

void RunControl::StartScan() {
  const JunkRow& row = s_.list[static_cast<size_t>(CleanIdx_)];
  const FoundFileSink doWhat = TestMode_ ? FoundFileSink::To<&RunControl::DoCleanTest>(*this)
                                         : FoundFileSink::To<&RunControl::DoCleanup>(*this);
  if (row.type) {
    scan_ = ActOnFiles(*row.type, doWhat, nullptr, [this](TJunkDelThread& thread) { DoneRunType(&thread); },
                       *StopEvent_, s_.programFolder, context_, listings_.get(),
                       found_.empty() ? nullptr : &found_[foundNext_ - 1].folders);
  } else {
    // A row without a type has nothing to scan; the run moves on as after
    // an empty scan.
    s_.mainThread.Post([this] { DoneRunType(nullptr); });
  }
}

// The end notification of each scan of a run (DoneCleanup, DoneCleanTest).
void RunControl::DoneRunType(TJunkDelThread* thread) {
  const bool stopped = thread != nullptr && thread->WasStopped();
  // A walk that broke off is no empty one: it says so, and counts.
  if (thread != nullptr && !thread->Error().empty()) {
    report_.ScanBrokeOff(thread->Error());
    ++tally_.errors;
  }
  if (!TestMode_ && CleanMethod_ == CleanupMethod::cuRecycle) SendBatch();
  if (!stopped && CleanFile_.Error() == 0 && (found_.empty() ? NextCheckedRow() : NextFoundGroup())) {
    ++tally_.types;
    StopEvent_->Reset();
    StartType(false);  // replaces the scan that has just ended
    return;
  }
  EndRun(stopped);
}

void RunControl::EndRun(bool stopped) {
  scan_.reset();
  if (!TestMode_) s_.remover.EndCleanUp();
  StopEvent_->Reset();
  StopEvent_.reset();
  listings_.reset();
  batch_.Clear();
  found_.clear();
  const bool binWarning = report_.Closing(TestMode_, tally_, s_.timeStamp(), s_.bins.abi());
  CleanFile_.Close();
  const int resultsError = TestMode_ ? findings_.Finish(stopped) : 0;
  findings_.Clear();  // gives back the memory of a large analysis
  const int logError = CleanFile_.Error();
  runLock_.Release();

  s_.port.SetPanel(0, "");
  s_.port.SetPanel(1, "");
  if (!TestMode_) RefreshUndo();
  VeryBusy_ = RunState::Idle;
  s_.port.SetBusy(false);
  outcome_ = {stopped || logError != 0, tally_.types, tally_.removed, tally_.errors, tally_.bytes, logError != 0};

  std::string text = report_.ClosingMessage(TestMode_, stopped && logError == 0, binWarning, logError, tally_);
  if (resultsError != 0)
    text += FormatText(texts::kResultsNotKept, ShownName(s_.files.Found()).c_str(), ErrorText(resultsError).c_str());
  if (logError != 0) {
    s_.port.ReportFailure(text);
    if (finished) finished();
    return;
  }
  Message closing;
  closing.text = text;
  closing.buttons = {MsgButton::Yes, MsgButton::No, MsgButton::Help};
  if (TestMode_) {
    closing.kind = binWarning ? MsgKind::Error : MsgKind::Confirmation;
    closing.helpContext = binWarning ? texts::kHelpRecycleBin : texts::kHelpAnalysisEnd;
    // The found files can be reviewed, and exactly the ticked ones cleaned up.
    if (resultsError == 0 && s_.port.CanReview()) closing.buttons.insert(closing.buttons.end() - 1, MsgButton::Review);
  } else {
    closing.kind = MsgKind::Confirmation;
    closing.helpContext = texts::kHelpCleanupEnd;
  }
  const MsgButton answer = s_.port.Ask(closing);
  if (answer == MsgButton::Yes) s_.port.OpenFile(TestMode_ ? s_.files.TestLog() : s_.files.Log());
  if (answer == MsgButton::Review) s_.port.OpenReview();
  if (finished) finished();
}

// ---------------------------------------------------------------------------
// Removal (scan thread; the final batch send on the main thread)

void RunControl::Failed(std::string_view path, int err) {
  report_.Failed(path, err);
  ++tally_.errors;
  // Without its undo record no more files go: the run stops.
  if (err == kNoRecord && StopEvent_ && !StopEvent_->IsSet()) {
    StopEvent_->Set();
    report_.HaltedNoJournal();
  }
}

void RunControl::Removed(std::string_view path, int64_t size, bool permanent) {
  report_.Removed(path);
  tally_.Removed(size, permanent);
  ++CleanCountOne_;
}

void RunControl::DoCleanup(const FoundFile& file) {
  if (file.error != 0) return Failed(file.path, file.error);
  // Nothing leaves without its line: once the log fails the run is
  // stopping, and no more files go.
  if (CleanFile_.Error() != 0) return;
  switch (CleanMethod_) {
    case CleanupMethod::cuRecycle:
      if (batch_.MustSendBefore(file)) SendBatch();
      if (!batch_.Add(file)) {
        SendBatch();
        (void)batch_.Add(file);
      }
      break;  // the file's line is written when the batch is sent
    case CleanupMethod::cuHolding:
    case CleanupMethod::cuDelete: Remove(file); break;
    default: break;  // an unknown method leaves the file alone
  }
}

// DoHolding and DoDelete: the file goes at once, and its line with it.
void RunControl::Remove(const FoundFile& file) {
  const bool permanent = CleanMethod_ == CleanupMethod::cuDelete;
  const RemovalResult r = permanent ? s_.remover.Delete(file) : s_.remover.MoveToHolding(file);
  if (!r.Done()) return Failed(file.path, r.error);
  Removed(file.path, file.Size(), permanent);
}

// DoRecycle's send: each file's line, or its error lines, in queue order as
// soon as its fate is known; when the log stops taking lines the send stops
// with it. A file gone before it could be sent (ENOENT, and nothing else)
// counts as sent.
void RunControl::SendBatch() {
  batch_.Send(s_.remover, [this](const TrashItem& file, int64_t size, const RemovalResult& r) {
    if (r.Done() || r.Gone())
      Removed(file.path, size, false);
    else
      Failed(file.path, r.error);
    return CleanFile_.Error() == 0;
  });
}

// ---------------------------------------------------------------------------
// Analysis (scan thread)

void RunControl::DoCleanTest(const FoundFile& file) {
  if (file.error != 0) return Failed(file.path, file.error);
  if (!findings_.Found(file)) return report_.Duplicate(file.path);
  Removed(file.path, file.Size(), CleanMethod_ == CleanupMethod::cuDelete);
  if (CleanMethod_ == CleanupMethod::cuRecycle) findings_.AddBinDemand(file.path, file.Size());
}

// ---------------------------------------------------------------------------
// Count

void RunControl::aCountExecute(int selectedRow) {
  if (VeryBusy_ == RunState::Counting) {
    count_.Stop();
    return;
  }
  if (VeryBusy_ != RunState::Idle || selectedRow < 0 || static_cast<size_t>(selectedRow) >= s_.list.size()) return;
  const JunkRow& row = s_.list[static_cast<size_t>(selectedRow)];
  if (!row.type) return;
  CleanIdx_ = selectedRow;
  outcome_ = {false, 1, 0, 0, 0};
  VeryBusy_ = RunState::Counting;
  s_.port.SetBusy(true);
  s_.port.SetCountCommand(std::string(texts::kStopCaption), std::string(texts::kStopHint));
  count_.Start(
      *row.type, {}, [this](const CountResult& counted) { ReptCounting(counted); },
      [this](bool stopped) { DoneCounting(stopped); });
}

void RunControl::ReptCounting(const CountResult& counted) {
  outcome_.files = counted.Actual();
  outcome_.bytes = counted.bytes;
  s_.port.Ask({MsgKind::Information, CountMessage(counted, s_.separators), {MsgButton::Ok}, 0});
}

void RunControl::DoneCounting(bool stopped) {
  if (stopped) {
    outcome_.stopped = true;
    s_.port.Ask({MsgKind::Plain, std::string(texts::kStoppedByUser), {MsgButton::Ok}, 0});
  } else if (!count_.Error().empty()) {
    // A count that broke off says so rather than nothing.
    outcome_.errors = 1;
    s_.port.Ask({MsgKind::Error, std::string(texts::kScanBrokeOff) + ": " + count_.Error(), {MsgButton::Ok}, 0});
  }
  s_.port.SetCountCommand(std::string(texts::kCountCaption), std::string(texts::kCountHint));
  VeryBusy_ = RunState::Idle;
  s_.port.SetBusy(false);
  s_.port.SelectRow(CleanIdx_);
  CleanIdx_ = -1;
  if (finished) finished();
}

}  // namespace vorlo
