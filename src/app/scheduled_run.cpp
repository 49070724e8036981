#include "app/scheduled_run.h"

#include <charconv>

#include "app/schedule_texts.h"
#include "app/texts.h"
#include "core/byte_text.h"
#include "core/text.h"
#include "platform/file_ops.h"

namespace vorlo {

namespace {

// The record is a few "key=value" lines.
constexpr std::string_view kFiles = "files=";
constexpr std::string_view kBytes = "bytes=";
constexpr std::string_view kErrors = "errors=";
constexpr std::string_view kSkipped = "skipped=";

template <typename Number>
bool ReadNumber(std::string_view text, Number& n) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
  return ec == std::errc() && end == text.data() + text.size() && n >= 0;
}

std::string_view Plural(int32_t n) { return texts::t2[n == 1 ? 1 : 0]; }

}  // namespace

int RecordScheduledRun(const DataFiles& files, const ScheduledRunOutcome& outcome) {
  std::string skipped = outcome.skipped;
  for (char& c : skipped)
    if (c == '\n' || c == '\r') c = ' ';
  return WriteFileReplacing(files.ScheduledRun(), std::string(kFiles) + std::to_string(outcome.files) + "\n" +
                                                      std::string(kBytes) + std::to_string(outcome.bytes) + "\n" +
                                                      std::string(kErrors) + std::to_string(outcome.errors) + "\n" +
                                                      std::string(kSkipped) + skipped + "\n");
}

std::optional<ScheduledRunOutcome> LastScheduledRun(const DataFiles& files) {
  if (files.folder.empty()) return std::nullopt;
  const FileRead read = ReadWholeFile(files.ScheduledRun(), 64 << 10);
  if (read.error != 0) return std::nullopt;
  ScheduledRunOutcome o;
  int found = 0;
  for (const std::string& line : SplitLines(read.bytes)) {
    const std::string_view l = line;
    bool ok = true;
    if (l.starts_with(kFiles)) {
      ok = ReadNumber(l.substr(kFiles.size()), o.files);
    } else if (l.starts_with(kBytes)) {
      ok = ReadNumber(l.substr(kBytes.size()), o.bytes);
    } else if (l.starts_with(kErrors)) {
      ok = ReadNumber(l.substr(kErrors.size()), o.errors);
    } else if (l.starts_with(kSkipped)) {
      o.skipped = l.substr(kSkipped.size());
    } else {
      continue;
    }
    if (!ok) return std::nullopt;
    ++found;
  }
  if (found == 0) return std::nullopt;
  return o;
}

std::optional<DesktopNotice> ScheduledRunNotice(int32_t files, const std::string& bytesText, int32_t errors) {
  if (files == 0 && errors == 0) return std::nullopt;
  std::string body = FormatText(texts::kNoticeRemoved, files, std::string(Plural(files)).c_str(), bytesText.c_str());
  if (errors > 0) body += FormatText(texts::kNoticeErrors, errors, std::string(Plural(errors)).c_str());
  return DesktopNotice{std::string(texts::kNoticeSummary),
                       std::move(body),
                       {{std::string(kNoticeUndo), std::string(texts::kUndoAction)},
                        {std::string(kNoticeOpenLog), std::string(texts::kOpenLogAction)}}};
}

std::string ScheduledRunText(const ScheduledRunOutcome& outcome, const NumberSeparators& separators) {
  if (!outcome.skipped.empty()) return FormatText(texts::kRunSkipped, outcome.skipped.c_str());
  const auto notice = ScheduledRunNotice(outcome.files, StringForBytes(outcome.bytes, separators), outcome.errors);
  return notice ? notice->body : std::string(texts::kNoticeNothingRemoved);
}

}  // namespace vorlo
