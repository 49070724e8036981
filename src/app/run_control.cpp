#include "app/run_control.h"

#include <algorithm>
#include <cstring>

#include "app/file_remover.h"
#include "app/junk_list.h"
#include "app/texts.h"
#include "app/user_port.h"
#include "core/byte_text.h"
#include "core/listing_store.h"
#include "core/local_drives.h"
#include "core/main_thread.h"
#include "core/recycle_bin.h"
#include "core/stop_event.h"
#include "core/text.h"
#include "platform/file_ops.h"
#include "platform/folder_path.h"

namespace vorlo {

namespace {

const std::string kStarLine(60, '*');
const std::string kDashLine(60, '-');

// The platform's text for an error, without trailing blanks, line breaks
// and full stops; empty when there is none.
std::string ErrorDetail(int err) {
  if (err == 0) return {};
  std::string text = ErrorText(err);
  while (!text.empty() && std::strchr(" \r\n.", text.back()) != nullptr) text.pop_back();
  return text;
}

}  // namespace

RunControl::RunControl(RunSetup setup)
    : s_(std::move(setup)),
      context_{s_.mainThread, s_.clock, s_.drives, s_.skipFolders, &progress_},
      count_(std::string(texts::kCountStopEventName), context_, s_.programFolder) {
  CleanFile_.onFailure = [this](int) { LogFailed(); };
}

RunControl::~RunControl() = default;

std::string RunControl::Bytes(int64_t n) const { return StringForBytes(n, s_.separators); }

// ---------------------------------------------------------------------------
// Starting and stopping runs

bool RunControl::BinCheckAllowsRun() {
  if (!s_.bins.RecycleBinProblem()) return true;
  const int disabled = UncheckBinTypes(s_.list);
  if (disabled == 0) return true;
  if (listChanged) listChanged();
  const std::string sentence = FormatText(texts::kTypesDisabled, disabled);
  if (s_.list.AnyChecked()) {
    const Message ask{MsgKind::Confirmation, FillPlaceholder(s_.bins.BadBinMsg(), sentence) + std::string(texts::kProceed),
                      {MsgButton::Yes, MsgButton::No, MsgButton::Help}, texts::kHelpRecycleBin};
    return s_.port.Ask(ask) == MsgButton::Yes;
  }
  s_.port.Ask({MsgKind::Error, FillPlaceholder(s_.bins.BadBinMsg(), sentence + std::string(texts::kNothingLeft)),
               {MsgButton::Ok, MsgButton::Help}, texts::kHelpRecycleBin});
  return false;
}

bool RunControl::MayStartRun() {
  const std::string_view refused = VeryBusy_ == RunState::Counting ? texts::kCountRunning
                                   : !s_.list.AnyChecked()         ? texts::kNoneChecked
                                                                   : std::string_view();
  if (!refused.empty()) s_.port.SetPanel(1, std::string(refused));
  return refused.empty();
}

void RunControl::aCleanupExecute() {
  if (VeryBusy_ == RunState::Running) {
    StopEvent_->Set();
    CleanFile_.Lines({texts::kHalted, ""});
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
  outcome_ = {};
  if (!OpenRunLog(test)) {
    outcome_.failed = true;
    return;
  }
  TestMode_ = test;
  if (test) {
    for (DriveBinInfo& d : s_.bins.abi().DrivesInfo) d.info.BinReq = 0;
    TestList_.Clear();
    binRoots_.clear();
    for (const DriveBinInfo& d : s_.bins.abi().DrivesInfo) binRoots_.push_back(d.mountPoint);
  }
  ClearBatch();
  // The batch keeps its folders open within what the process may still open,
  // leaving room for the walk, its read-ahead and the trash's own folders.
  constexpr size_t kReserve = 80;
  const size_t spare = SpareDescriptors();
  RecFolderBudget_ = std::clamp<size_t>(spare > kReserve ? spare - kReserve : 1, 1, rbMaxFolders);
  listings_ = reuseListings ? std::make_unique<ListingStore>() : nullptr;
  VeryBusy_ = RunState::Running;
  s_.port.SetBusy(true);
  StopEvent_ = std::make_unique<StopEvent>(std::string(texts::kStopEventName));
  CleanSum_ = NonPermSum_ = CleanErr_ = 0;
  CleanedTypes_ = 1;
  CleanSize_ = 0;
  CleanIdx_ = -1;
  NextCheckedRow();
  StartType(true);
}

// Takes the data folder's run lock, then opens the log and writes its title
// lines. Nothing is removed without its log: when either fails the run does
// not start and the person learns why.
bool RunControl::OpenRunLog(bool test) {
  const std::string lockPath = s_.files.RunLock();
  if (const int err = runLock_.TryExclusive(lockPath); err != 0) {
    s_.port.ReportFailure(err == EWOULDBLOCK ? FormatText(texts::kFolderBusy, ShownName(s_.files.folder).c_str())
                                             : FormatText(texts::kCannotLock, ShownName(lockPath).c_str(), ErrorText(err).c_str()));
    return false;
  }
  const std::string path = test ? s_.files.TestLog() : s_.files.Log();
  int err = test ? CleanFile_.OpenNew(path) : CleanFile_.OpenAppend(path);
  if (err == 0) {
    if (test)
      CleanFile_.Lines({kStarLine, std::string(texts::kTestLogTitle) + s_.dateTimeStamp()});
    else
      CleanFile_.Lines({kStarLine, std::string(texts::kLogTitle) + s_.dateTimeStamp(), kStarLine});
    err = CleanFile_.Error();
  }
  if (err == 0) return true;
  CleanFile_.Close();
  runLock_.Release();
  s_.port.ReportFailure(FormatText(texts::kLogNotOpened, ShownName(path).c_str(), ErrorText(err).c_str()));
  return false;
}

// A log line could not be written (on the thread that wrote it): the run
// stops as on the stop command, so that nothing more is removed untraced.
void RunControl::LogFailed() {
  if (VeryBusy_ != RunState::Running || !StopEvent_) return;
  StopEvent_->Set();
  CleanFile_.Lines({texts::kHaltedNoLog, ""});
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
  if (!first) CleanFile_.Line("");
  LogOne(static_cast<size_t>(CleanIdx_), TestMode_);
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

void RunControl::LogOne(size_t row, bool isTest) {
  const JunkRow& LI = s_.list[row];
  s_.port.SetPanel(1, std::string(isTest ? texts::kNowAnalyzing : texts::kNowProcessing) + ShownName(LI.caption) + "...");
  CleanCountOne_ = 0;
  s_.port.SetPanel(0, "0");
  CleanFile_.Text("\"" + LI.caption + "\"" + std::string(isTest ? texts::kFilesWouldHaveBeen : texts::kFilesHaveBeen));
  // A row without a type counts as an unknown method.
  CleanMethod_ = LI.type ? LI.type->Backtype() : CleanupMethod{-1};
  // An unknown method writes no words and leaves the line open for the dashes.
  if (const auto method = static_cast<int32_t>(CleanMethod_); method >= 0 && method <= 2)
    CleanFile_.Line(texts::kMethodWords[method]);
  CleanFile_.Line(kDashLine);
}

void RunControl::StartScan() {
  const JunkRow& row = s_.list[static_cast<size_t>(CleanIdx_)];
  const FoundFileSink doWhat = TestMode_ ? FoundFileSink::To<&RunControl::DoCleanTest>(*this)
                                         : FoundFileSink::To<&RunControl::DoCleanup>(*this);
  auto whenDone = [this](TJunkDelThread& thread) { DoneRunType(thread.WasStopped()); };
  if (row.type) {
    ActOnFiles(*row.type, doWhat, nullptr, whenDone, *StopEvent_, s_.programFolder, context_, listings_.get());
  } else {
    // A row without a type has nothing to scan; the run moves on as after
    // an empty scan.
    s_.mainThread.Post([this] { DoneRunType(false); });
  }
}

// The end notification of each scan of a run (DoneCleanup, DoneCleanTest).
void RunControl::DoneRunType(bool stopped) {
  if (!TestMode_ && CleanMethod_ == CleanupMethod::cuRecycle) SendBatch();
  if (!stopped && CleanFile_.Error() == 0 && NextCheckedRow()) {
    ++CleanedTypes_;
    StopEvent_->Reset();
    StartType(false);
    return;
  }
  EndRun(stopped);
}

void RunControl::EndRun(bool stopped) {
  StopEvent_->Reset();
  StopEvent_.reset();
  listings_.reset();
  ClearBatch();
  WriteClosingLines(TestMode_);
  const bool binWarning = TestMode_ && WriteBinStatistics();
  if (TestMode_) CleanFile_.Line(kStarLine);
  CleanFile_.Close();
  TestList_.Clear();  // gives back the memory of a large analysis
  const int logError = CleanFile_.Error();
  runLock_.Release();

  s_.port.SetPanel(0, "");
  s_.port.SetPanel(1, "");
  VeryBusy_ = RunState::Idle;
  s_.port.SetBusy(false);
  outcome_ = {stopped || logError != 0, CleanedTypes_, CleanSum_, CleanErr_, CleanSize_, logError != 0};

  if (logError != 0) {
    s_.port.ReportFailure(ClosingMessage(false, binWarning, logError));
    if (finished) finished();
    return;
  }
  Message closing;
  closing.text = ClosingMessage(stopped, binWarning, 0);
  closing.buttons = {MsgButton::Yes, MsgButton::No, MsgButton::Help};
  if (TestMode_) {
    closing.kind = binWarning ? MsgKind::Error : MsgKind::Confirmation;
    closing.helpContext = binWarning ? texts::kHelpRecycleBin : texts::kHelpAnalysisEnd;
  } else {
    closing.kind = MsgKind::Confirmation;
    closing.helpContext = texts::kHelpCleanupEnd;
  }
  if (s_.port.Ask(closing) == MsgButton::Yes)
    s_.port.OpenFile(TestMode_ ? s_.files.TestLog() : s_.files.Log());
  if (finished) finished();
}

void RunControl::WriteClosingLines(bool test) {
  CleanFile_.Line(kStarLine);
  if (test) {
    CleanFile_.Line(std::string(texts::kFinishedAnalyzingAt) + s_.timeStamp());
    CleanFile_.Line(FormatText(texts::kProcessedFound, CleanedTypes_, CleanSum_));
  } else {
    CleanFile_.Line(std::string(texts::kFinishedAt) + s_.timeStamp());
    CleanFile_.Line(FormatText(texts::kProcessedRemoved, CleanedTypes_, CleanSum_));
  }
  if (CleanSize_ > 0) CleanFile_.Line(FormatText(texts::kTotal, Bytes(CleanSize_).c_str()));
  CleanFile_.Line(kStarLine);
  if (test)
    CleanFile_.Line(texts::kBinStatistics);
  else
    CleanFile_.Lines({"", ""});
}

// One line per listed local drive; true when some drive's bin is too small.
bool RunControl::WriteBinStatistics() {
  bool BinProb = false;
  for (const DriveBinInfo& d : s_.bins.abi().DrivesInfo) {
    const OneBinInfo& b = d.info;
    if (!b.InReg || !b.local) continue;
    const std::string req = PadLeft(Bytes(b.BinReq), 12), size = PadLeft(Bytes(b.BinSize), 12);
    const char* mp = d.mountPoint.c_str();
    if (b.BinReq <= b.BinSize) {
      CleanFile_.Line(FormatText(texts::kBinLine, mp, req.c_str(), size.c_str(), b.BinPercent));
      continue;
    }
    BinProb = true;
    if (b.DrvSize != 0) {
      const auto needed = static_cast<int>(b.BinReq * 100 / b.DrvSize + 1);
      CleanFile_.Line(FormatText(texts::kBinLineError, mp, req.c_str(), size.c_str(), b.BinPercent, needed));
    } else {
      CleanFile_.Line(FormatText(texts::kBinLineErrorUnknown, mp, req.c_str(), size.c_str(), b.BinPercent));
    }
  }
  return BinProb;
}

// With a log error the message leads with it and does not offer the log.
std::string RunControl::ClosingMessage(bool stopped, bool binWarning, int logError) const {
  std::string text;
  if (logError != 0)
    text = FormatText(texts::kLogFailed, ShownName(CleanFile_.Path()).c_str(), ErrorText(logError).c_str()) + "\r\n\r\n";
  else if (stopped)
    text = texts::kBeforeStopped;
  const std::string size = Bytes(CleanSize_);
  if (TestMode_) {
    text += FormatText(texts::kAnalysisDone, CleanedTypes_, CleanSum_);
    if (CleanSize_ > 0) text += FormatText(texts::kSavingsIf, size.c_str());
    if (binWarning) text += texts::kBinWarning;
    return logError != 0 ? text : text + std::string(texts::kViewTestLog);
  }
  text += FormatText(texts::kCleanupDone, CleanedTypes_, CleanSum_);
  if (CleanErr_ > 0) text += FormatText(texts::kNotRemoved, CleanErr_);
  if (CleanSize_ > 0) text += FormatText(NonPermSum_ > 0 ? texts::kSavingsLater : texts::kSavingsNow, size.c_str());
  return logError != 0 ? text : text + std::string(texts::kViewLog);
}

// ---------------------------------------------------------------------------
// Removal (scan thread; the final batch send on the main thread)

void RunControl::DoCleanup(const FoundFile& file) {
  if (file.error != 0) return LogRemovalError(file.path, file.error);
  // Nothing leaves without its line: once the log fails the run is
  // stopping, and no more files go.
  if (CleanFile_.Error() != 0) return;
  switch (CleanMethod_) {
    case CleanupMethod::cuRecycle: DoRecycle(file); break;
    case CleanupMethod::cuHolding: DoHolding(file); break;
    case CleanupMethod::cuDelete: DoDelete(file); break;
    default: break;  // an unknown method leaves the file alone
  }
}

void RunControl::CountRemoved(int64_t fSize, bool permanent) {
  ++CleanSum_;
  if (!permanent) ++NonPermSum_;
  ++CleanCountOne_;
  CleanSize_ += fSize;
}

void RunControl::LogRemovalError(std::string_view S, int err) {
  CleanFile_.Lines({std::string(texts::kErrPrefix).append(S), std::string(texts::kDetailPrefix) + ErrorDetail(err)});
  ++CleanErr_;
}

void RunControl::DoDelete(const FoundFile& file) {
  const RemovalResult r = s_.remover.Delete(file);
  if (!r.Done()) return LogRemovalError(file.path, r.error);
  CleanFile_.Line(std::string("\t").append(file.path));
  CountRemoved(file.Size(), true);
}

void RunControl::DoHolding(const FoundFile& file) {
  const RemovalResult r = s_.remover.MoveToHolding(file);
  if (!r.Done()) return LogRemovalError(file.path, r.error);
  CleanFile_.Line(std::string("\t").append(file.path));
  CountRemoved(file.Size(), false);
}

void RunControl::DoRecycle(const FoundFile& file) {
  if (RecFilesChars_ + file.path.size() > rbMax) SendBatch();
  const int folder = BatchFolder(file);
  RecFiles_.push_back({folder, std::string(file.name), std::string(file.path), file.stat.identity});
  RecSizes_.push_back(file.Size());
  RecFilesChars_ += file.path.size() + 1;
  CountRemoved(file.Size(), false);
  // The file's line is written when the batch is sent.
}

// The batch is sent after the scan has closed the file's folder, so each
// item holds its own descriptor of it: the send then acts where the scan
// stood. The files of one folder come one after another and share one.
// Without a descriptor the send opens the folder by its path.
int RunControl::BatchFolder(const FoundFile& file) {
  const std::string_view folderPath = file.path.substr(0, file.path.size() - file.name.size());
  if (!RecFiles_.empty() && RecScanFolder_ == file.folder && RecFolderPath_ == folderPath)
    return RecFiles_.back().folder;
  if (RecFolders_.size() >= RecFolderBudget_) SendBatch();
  int held = RecFolders_.Hold(file.folder);
  if (held < 0 && !RecFiles_.empty()) {
    SendBatch();
    held = RecFolders_.Hold(file.folder);
  }
  RecScanFolder_ = held < 0 ? -1 : file.folder;
  RecFolderPath_ = folderPath;
  return held;
}

void RunControl::ClearBatch() {
  RecFiles_.clear();
  RecSizes_.clear();
  RecFilesChars_ = 0;
  RecFolders_.Clear();
  RecScanFolder_ = -1;
  RecFolderPath_.clear();
}

// Sends the batch in one call and writes each file's line, or its error
// lines, in queue order, as soon as its fate is known; when the log stops
// taking lines the send stops with it, and the files not yet sent stay. A
// file gone before it could be sent (ENOENT, and nothing else) counts as
// sent.
void RunControl::SendBatch() {
  if (!RecFiles_.empty()) {
    size_t told = 0;
    (void)s_.remover.SendToTrash(RecFiles_, [this, &told](size_t i, const RemovalResult& r) {
      told = i + 1;
      if (r.Done() || r.Gone()) {
        CleanFile_.Line("\t" + RecFiles_[i].path);
      } else {
        LogRemovalError(RecFiles_[i].path, r.error);
        UncountRecycled(i);
      }
      return CleanFile_.Error() == 0;
    });
    for (size_t i = told; i < RecFiles_.size(); ++i) UncountRecycled(i);
  }
  ClearBatch();
}

// A queued file that did not go after all.
void RunControl::UncountRecycled(size_t i) {
  --CleanSum_;
  --NonPermSum_;
  --CleanCountOne_;
  CleanSize_ -= RecSizes_[i];
}

// ---------------------------------------------------------------------------
// Analysis (scan thread)

void RunControl::DoCleanTest(const FoundFile& file) {
  if (file.error != 0) return LogRemovalError(file.path, file.error);
  const std::string_view S = file.path;
  if (!TestList_.Insert(S)) {
    CleanFile_.Line(std::string("\t(").append(S).append(texts::kDupeSuffix));
    return;
  }
  CleanFile_.Line(std::string("\t").append(S));
  CountRemoved(file.Size(), CleanMethod_ == CleanupMethod::cuDelete);
  if (CleanMethod_ != CleanupMethod::cuRecycle) return;
  if (const auto drive = DriveOfPath(binRoots_, S))
    if (OneBinInfo* bin = s_.bins.abi().Drive(*drive)) bin->BinReq += file.Size();
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
  }
  s_.port.SetCountCommand(std::string(texts::kCountCaption), std::string(texts::kCountHint));
  VeryBusy_ = RunState::Idle;
  s_.port.SetBusy(false);
  s_.port.SelectRow(CleanIdx_);
  CleanIdx_ = -1;
  if (finished) finished();
}

}  // namespace vorlo
