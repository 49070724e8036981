#include "app/type_count.h"

#include <algorithm>
#include <cerrno>

#include "app/texts.h"
#include "core/byte_text.h"
#include "core/scan_thread.h"
#include "core/text.h"

namespace vorlo {

int32_t CountResult::Actual() const {
  return static_cast<int32_t>(std::max<int64_t>(0, int64_t{matched} - restricted - protectedFiles));
}

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

TypeCount::~TypeCount() {
  const std::lock_guard lock(listLock_);
  if (list_) std::fclose(list_);
}

int TypeCount::Start(const TJunkFileObj& type, const std::string& foundList, Report report, Done done) {
  if (!foundList.empty()) {
    const std::lock_guard lock(listLock_);
    list_ = std::fopen(foundList.c_str(), "wb");
    if (!list_) return errno != 0 ? errno : EIO;
  }
  stop_.Reset();
  report_ = std::move(report);
  done_ = std::move(done);
  active_ = true;
  ActOnFiles(
      type, foundList.empty() ? FoundFileSink() : FoundFileSink::To<&TypeCount::OneFile>(*this),
      [this](int64_t SizDel, int32_t NumDir, int32_t NumDel, int32_t NumRes, int32_t NumProt) {
        if (report_) report_(CountResult{SizDel, NumDir, NumDel, NumRes, NumProt});
      },
      [this](TJunkDelThread& thread) { Ended(thread); }, stop_, programFolder_, context_);
  return 0;
}

// Scan thread.
void TypeCount::OneFile(const FoundFile& file) {
  const std::lock_guard lock(listLock_);
  if (!list_) return;
  std::fwrite(file.path.data(), 1, file.path.size(), list_);
  std::fwrite("\r\n", 1, 2, list_);
}

void TypeCount::Ended(TJunkDelThread& thread) {
  {
    const std::lock_guard lock(listLock_);
    if (list_) std::fclose(list_);
    list_ = nullptr;
  }
  stop_.Reset();
  active_ = false;
  // The callbacks may start the next count, which replaces them.
  const Done done = std::move(done_);
  report_ = nullptr;
  if (done) done(thread.WasStopped());
}

}  // namespace vorlo
