#include "app/type_count.h"

#include <algorithm>
#include <cerrno>

#include "app/texts.h"
#include "core/byte_text.h"
#include "core/scan_thread.h"
#include "core/text.h"

namespace vorlo {

CountLines CountReportLines(const CountResult& r, const NumberSeparators& separators, CountWording wording) {
  // The plural tables are indexed by whether the number is 1.
  const auto one = [](int64_t n) { return n == 1 ? 1 : 0; };
  const bool page = wording == CountWording::Page;
  CountLines l;
  l.folders = FormatText(texts::kFoldersSearched, r.folders, texts::t1[one(r.folders)].data());
  if (r.matched == 0) {
    l.matched = texts::kNoMatches;
    return l;
  }
  l.matched = FormatText(texts::kMatched, r.matched, texts::t2[one(r.matched)].data());
  l.restricted = FormatText(texts::kRestricted, r.restricted, texts::t2[one(r.restricted)].data());
  l.protectedFiles = FormatText(texts::kProtected, r.protectedFiles, texts::t1[one(r.protectedFiles)].data());
  const int32_t n = r.Actual();
  const int k = one(n);
  l.actual = FormatText(page ? texts::kPageWouldProcess : texts::kWouldProcess, n, texts::t2[k].data());
  if (n == 0) return l;
  if (r.bytes == 0)
    l.size = FormatText(texts::kNoSpace, texts::t3[k].data(), texts::t4[k].data());
  else
    l.size = FormatText(page ? texts::kPageOccupies : texts::kOccupies, texts::t3[k].data(), texts::t5[k].data(),
                        StringForBytes(r.bytes, separators).c_str());
  return l;
}

std::string CountMessage(const CountResult& r, const NumberSeparators& separators) {
  const CountLines l = CountReportLines(r, separators, CountWording::Message);
  return std::string(texts::kCountIntro) + l.folders + l.matched + l.restricted + l.protectedFiles + l.actual + l.size;
}

TypeCount::TypeCount(std::string stopEventName, const ScanContext& context, std::string programFolder)
    : stop_(std::move(stopEventName)), context_(context), programFolder_(std::move(programFolder)) {}

TypeCount::~TypeCount() { CloseList(); }

// The found list is written a block at a time.
void TypeCount::FlushList(size_t atLeast) {
  if (listBuffer_.size() < atLeast) return;
  if (list_.IsOpen()) (void)list_.Write(listBuffer_);
  listBuffer_.clear();
}

void TypeCount::CloseList() {
  const std::lock_guard lock(listLock_);
  FlushList(0);
  list_.Close();
}

int TypeCount::Start(const TJunkFileObj& type, const std::string& foundList, Report report, Done done) {
  if (!foundList.empty()) {
    const std::lock_guard lock(listLock_);
    listBuffer_.clear();
    if (const int err = list_.Open(foundList, OutputFile::Mode::Replace)) return err;
  }
  stop_.Reset();
  report_ = std::move(report);
  done_ = std::move(done);
  active_ = true;
  error_.clear();
  scan_ = ActOnFiles(
      type, foundList.empty() ? FoundFileSink() : FoundFileSink::To<&TypeCount::OneFile>(*this),
      [this](const ScanCounts& counts) {
        if (report_) report_(counts);
      },
      [this](TJunkDelThread& thread) { Ended(thread); }, stop_, programFolder_, context_);
  return 0;
}

// Scan thread.
void TypeCount::OneFile(const FoundFile& file) {
  const std::lock_guard lock(listLock_);
  if (!list_.IsOpen() || file.error != 0) return;
  listBuffer_.append(file.path).append("\r\n");
  FlushList(1 << 16);
}

void TypeCount::Ended(TJunkDelThread& thread) {
  CloseList();
  stop_.Reset();
  active_ = false;
  error_ = thread.Error();
  // The callbacks may start the next count, which replaces them.
  const Done done = std::move(done_);
  report_ = nullptr;
  if (done) done(thread.WasStopped());
}

}  // namespace vorlo
