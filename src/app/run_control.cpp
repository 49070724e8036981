#include "app/run_control.h"

#include <algorithm>
#include <cstring>

#include "app/file_remover.h"
#include "app/junk_list.h"
#include "app/texts.h"
#include "app/user_port.h"
#include "core/byte_text.h"
#include "core/data_files.h"
#include "core/local_drives.h"
#include "core/main_thread.h"
#include "core/recycle_bin.h"
#include "core/stop_event.h"
#include "core/text.h"

namespace vorlo {

namespace {

const std::string kStarLine(60, '*');
const std::string kDashLine(60, '-');

// The platform's text for an error, without trailing blanks, line breaks
// and full stops; empty when there is none.
std::string ErrorDetail(int err) {
  if (err == 0) return {};
  std::string text = std::strerror(err);
  while (!text.empty() && std::strchr(" \r\n.", text.back()) != nullptr) text.pop_back();
  return text;
}

std::string DataFile(const std::string& folder, std::string_view name) { return folder + std::string(name); }

}  // namespace

RunControl::RunControl(RunSetup setup)
    : s_(std::move(setup)), context_{s_.mainThread, s_.clock, s_.drives, s_.skipFolders, &progress_} {}

RunControl::~RunControl() = default;

std::string RunControl::Bytes(int64_t n) const { return StringForBytes(n, s_.separators); }

// ---------------------------------------------------------------------------
// Starting and stopping runs

bool RunControl::BinCheckAllowsRun() {
  if (!s_.bins.RecycleBinProblem()) return true;
  int disabled = 0;
  for (size_t i = 0; i < s_.list.size(); ++i) {
    JunkRow& row = s_.list[i];
    if (!row.type || row.type->Backtype() != CleanupMethod::cuRecycle) continue;
    if (row.type->IsChecked()) ++disabled;
    row.type->SetIsChecked(false);
    s_.list.SetChecked(i, false);
  }
  if (disabled == 0) return true;
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

void RunControl::aCleanupExecute() {
  if (VeryBusy_ == kRunning) {
    StopEvent_->Set();
    CleanFile_.Lines({texts::kHalted, ""});
    return;
  }
  if (VeryBusy_ == kCounting || !s_.list.AnyChecked()) return;
  if (!BinCheckAllowsRun()) return;
  StartRun(false);
}

void RunControl::act10Execute() {
  if (VeryBusy_ == kRunning) {
    aCleanupExecute();
    return;
  }
  if (VeryBusy_ == kCounting || !s_.list.AnyChecked()) return;
  if (!BinCheckAllowsRun()) return;
  StartRun(true);
}

void RunControl::StartRun(bool test) {
  TestMode_ = test;
  if (test) {
    for (DriveBinInfo& d : s_.bins.abi().DrivesInfo) d.info.BinReq = 0;
    TestList_.clear();
    binRoots_.clear();
    for (const DriveBinInfo& d : s_.bins.abi().DrivesInfo) binRoots_.push_back(d.mountPoint);
  }
  RecFiles_.clear();
  RecFilesChars_ = 0;
  VeryBusy_ = kRunning;
  s_.port.SetBusy(true);
  StopEvent_ = std::make_unique<StopEvent>(std::string(texts::kStopEventName));
  if (test) {
    CleanFile_.OpenNew(DataFile(s_.dataFolder, TestName));
    CleanFile_.Lines({kStarLine, std::string(texts::kTestLogTitle) + s_.dateTimeStamp()});
  } else {
    CleanFile_.OpenAppend(DataFile(s_.dataFolder, LogName));
    CleanFile_.Lines({kStarLine, std::string(texts::kLogTitle) + s_.dateTimeStamp(), kStarLine});
  }
  CleanSum_ = NonPermSum_ = CleanErr_ = 0;
  CleanedTypes_ = 1;
  CleanSize_ = 0;
  CleanIdx_ = -1;
  NextCheckedRow();
  StartType(true);
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
  StartScan();
}

void RunControl::LogOne(size_t row, bool isTest) {
  const JunkRow& LI = s_.list[row];
  s_.port.SetPanel(1, std::string(isTest ? texts::kNowAnalyzing : texts::kNowProcessing) + LI.caption + "...");
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
  TJDoFilType doWhat = TestMode_ ? TJDoFilType([this](const std::string& S, int64_t n) { DoCleanTest(S, n); })
                                 : TJDoFilType([this](const std::string& S, int64_t n) { DoCleanup(S, n); });
  auto whenDone = [this](TJunkDelThread& thread) { DoneRunType(thread.WasStopped()); };
  if (row.type) {
    ActOnFiles(*row.type, std::move(doWhat), nullptr, whenDone, *StopEvent_, s_.programFolder, context_);
  } else {
    // A row without a type has nothing to scan; the run moves on as after
    // an empty scan.
    s_.mainThread.Post([this] { DoneRunType(false); });
  }
}

// The end notification of each scan of a run (DoneCleanup, DoneCleanTest).
void RunControl::DoneRunType(bool stopped) {
  if (!TestMode_ && CleanMethod_ == CleanupMethod::cuRecycle) DoCleanup("", 0);
  if (!stopped && NextCheckedRow()) {
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
  RecFiles_.clear();
  RecFilesChars_ = 0;
  WriteClosingLines(TestMode_);
  const bool binWarning = TestMode_ && WriteBinStatistics();
  if (TestMode_) CleanFile_.Line(kStarLine);
  CleanFile_.Close();

  s_.port.SetPanel(0, "");
  s_.port.SetPanel(1, "");
  VeryBusy_ = kIdle;
  s_.port.SetBusy(false);
  outcome_ = {stopped, CleanedTypes_, CleanSum_, CleanErr_, CleanSize_};

  Message closing;
  closing.text = ClosingMessage(stopped, binWarning);
  closing.buttons = {MsgButton::Yes, MsgButton::No, MsgButton::Help};
  if (TestMode_) {
    closing.kind = binWarning ? MsgKind::Error : MsgKind::Confirmation;
    closing.helpContext = binWarning ? texts::kHelpRecycleBin : texts::kHelpAnalysisEnd;
  } else {
    closing.kind = MsgKind::Confirmation;
    closing.helpContext = texts::kHelpCleanupEnd;
  }
  if (s_.port.Ask(closing) == MsgButton::Yes)
    s_.port.OpenFile(DataFile(s_.dataFolder, TestMode_ ? TestName : LogName));
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

std::string RunControl::ClosingMessage(bool stopped, bool binWarning) const {
  std::string text = stopped ? std::string(texts::kBeforeStopped) : std::string();
  const std::string size = Bytes(CleanSize_);
  if (TestMode_) {
    text += FormatText(texts::kAnalysisDone, CleanedTypes_, CleanSum_);
    if (CleanSize_ > 0) text += FormatText(texts::kSavingsIf, size.c_str());
    if (binWarning) text += texts::kBinWarning;
    return text + std::string(texts::kViewTestLog);
  }
  text += FormatText(texts::kCleanupDone, CleanedTypes_, CleanSum_);
  if (CleanErr_ > 0) text += FormatText(texts::kNotRemoved, CleanErr_);
  if (CleanSize_ > 0) text += FormatText(NonPermSum_ > 0 ? texts::kSavingsLater : texts::kSavingsNow, size.c_str());
  return text + std::string(texts::kViewLog);
}

// ---------------------------------------------------------------------------
// Removal (scan thread; the final batch send on the main thread)

void RunControl::DoCleanup(const std::string& S, int64_t fSize) {
  switch (CleanMethod_) {
    case CleanupMethod::cuRecycle: DoRecycle(S, fSize); break;
    case CleanupMethod::cuHolding: DoHolding(S, fSize); break;
    case CleanupMethod::cuDelete: DoDelete(S, fSize); break;
    default: break;  // an unknown method leaves the file alone
  }
}

void RunControl::CountRemoved(int64_t fSize, bool permanent) {
  ++CleanSum_;
  if (!permanent) ++NonPermSum_;
  ++CleanCountOne_;
  CleanSize_ += fSize;
}

void RunControl::LogRemovalError(const std::string& S, int err) {
  CleanFile_.Lines({std::string(texts::kErrPrefix) + S, std::string(texts::kDetailPrefix) + ErrorDetail(err)});
  ++CleanErr_;
}

void RunControl::DoDelete(const std::string& S, int64_t fSize) {
  if (const int err = s_.remover.Delete(S); err != 0) return LogRemovalError(S, err);
  CleanFile_.Line("\t" + S);
  CountRemoved(fSize, true);
}

void RunControl::DoHolding(const std::string& S, int64_t fSize) {
  if (const int err = s_.remover.MoveToHolding(S); err != 0) return LogRemovalError(S, err);
  CleanFile_.Line("\t" + S);
  CountRemoved(fSize, false);
}

void RunControl::DoRecycle(const std::string& S, int64_t fSize) {
  if (S.empty() || RecFilesChars_ + S.size() > rbMax) SendBatch();
  if (S.empty() || !s_.remover.Exists(S)) return;
  RecFiles_.push_back(S);
  RecFilesChars_ += S.size() + 1;
  CountRemoved(fSize, false);
  // The file's line is written when the batch is sent.
}

// Sends the batch; a file still there afterwards gets its error lines and
// the rest of the list is sent again, starting after it.
void RunControl::SendBatch() {
  size_t start = 0;
  while (start < RecFiles_.size()) {
    // Files that went already are not sent again: their absence is their success.
    std::vector<std::string> pending;
    for (size_t i = start; i < RecFiles_.size(); ++i)
      if (s_.remover.Exists(RecFiles_[i])) pending.push_back(RecFiles_[i]);
    const int rslt = pending.empty() ? 0 : s_.remover.SendToTrash(pending);
    size_t i = start;
    for (; i < RecFiles_.size(); ++i) {
      const std::string& path = RecFiles_[i];
      if (!s_.remover.Exists(path)) {
        CleanFile_.Line("\t" + path);
        continue;
      }
      LogRemovalError(path, rslt);
      --CleanSum_;
      --NonPermSum_;
      --CleanCountOne_;
      CleanSize_ -= s_.remover.Size(path);
      break;
    }
    start = i + 1;
  }
  RecFiles_.clear();
  RecFilesChars_ = 0;
}

// ---------------------------------------------------------------------------
// Analysis (scan thread)

void RunControl::DoCleanTest(const std::string& S, int64_t fSize) {
  if (S.empty()) return;
  if (!TestList_.insert(S).second) {
    CleanFile_.Line("\t(" + S + std::string(texts::kDupeSuffix));
    return;
  }
  CleanFile_.Line("\t" + S);
  CountRemoved(fSize, CleanMethod_ == CleanupMethod::cuDelete);
  if (CleanMethod_ != CleanupMethod::cuRecycle) return;
  if (const auto drive = DriveOfPath(binRoots_, S))
    if (OneBinInfo* bin = s_.bins.abi().Drive(*drive)) bin->BinReq += fSize;
}

// ---------------------------------------------------------------------------
// Count

void RunControl::aCountExecute(int selectedRow) {
  if (VeryBusy_ == kCounting) {
    StopEvent_->Set();
    return;
  }
  if (VeryBusy_ != kIdle || selectedRow < 0 || static_cast<size_t>(selectedRow) >= s_.list.size()) return;
  const JunkRow& row = s_.list[static_cast<size_t>(selectedRow)];
  if (!row.type) return;
  CleanIdx_ = selectedRow;
  outcome_ = {false, 1, 0, 0, 0};
  VeryBusy_ = kCounting;
  s_.port.SetBusy(true);
  s_.port.SetCountCommand(std::string(texts::kStopCaption), std::string(texts::kStopHint));
  StopEvent_ = std::make_unique<StopEvent>(std::string(texts::kCountStopEventName));
  ActOnFiles(
      *row.type, nullptr,
      [this](int64_t vSizDel, int32_t vNumDir, int32_t vNumDel, int32_t vNumRes, int32_t vNumProt) {
        ReptCounting(vSizDel, vNumDir, vNumDel, vNumRes, vNumProt);
      },
      [this](TJunkDelThread& thread) { DoneCounting(thread); }, *StopEvent_, s_.programFolder, context_);
}

void RunControl::ReptCounting(int64_t vSizDel, int32_t vNumDir, int32_t vNumDel, int32_t vNumRes,
                              int32_t vNumProt) {
  const auto one = [](int32_t n) { return n == 1 ? 1 : 0; };
  std::string text = FormatText(texts::kCountHeader, vNumDir, texts::t1[one(vNumDir)].data());
  if (vNumDel == 0) {
    text += texts::kNoMatches;
  } else {
    text += FormatText(texts::kMatched, vNumDel, texts::t2[one(vNumDel)].data());
    text += FormatText(texts::kRestricted, vNumRes, texts::t2[one(vNumRes)].data());
    text += FormatText(texts::kProtected, vNumProt, texts::t1[one(vNumProt)].data());
    const int32_t ActualDel = std::max(vNumDel - vNumRes - vNumProt, 0);
    outcome_.files = ActualDel;
    outcome_.bytes = vSizDel;
    const int k = one(ActualDel);
    text += FormatText(texts::kWouldProcess, ActualDel, texts::t2[k].data());
    if (ActualDel > 0) {
      if (vSizDel == 0)
        text += FormatText(texts::kNoSpace, texts::t3[k].data(), texts::t4[k].data());
      else
        text += FormatText(texts::kOccupies, texts::t3[k].data(), texts::t5[k].data(), Bytes(vSizDel).c_str());
    }
  }
  s_.port.Ask({MsgKind::Information, text, {MsgButton::Ok}, 0});
}

void RunControl::DoneCounting(TJunkDelThread& thread) {
  if (thread.WasStopped()) {
    outcome_.stopped = true;
    s_.port.Ask({MsgKind::Plain, std::string(texts::kStoppedByUser), {MsgButton::Ok}, 0});
  }
  StopEvent_->Reset();
  StopEvent_.reset();
  s_.port.SetCountCommand(std::string(texts::kCountCaption), std::string(texts::kCountHint));
  VeryBusy_ = kIdle;
  s_.port.SetBusy(false);
  s_.port.SelectRow(CleanIdx_);
  CleanIdx_ = -1;
  if (finished) finished();
}

}  // namespace vorlo
