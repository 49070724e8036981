#include "cli/found_list.h"

#include <cerrno>
#include <unordered_map>

#include "app/review_texts.h"
#include "core/text.h"
#include "platform/clock.h"
#include "platform/file_ops.h"

namespace vorlo::cli {

namespace {

constexpr size_t kMaxListBytes = size_t{1} << 30;

std::string TimeText(int64_t ns, const Clock& clock) {
  int64_t seconds = ns / 1'000'000'000;
  if (ns % 1'000'000'000 < 0) --seconds;  // the second it falls in, before 1970 too
  const std::optional<LocalDateTime> local = clock.ToLocal(seconds);
  return local ? IsoDateTime(*local) : "?";
}

// The fields a line of `found` gives before its path.
struct FoundFields {
  std::string_view type, size, time;
  std::string_view path;
};

bool AllDigits(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789") == std::string_view::npos;
}

std::optional<FoundFields> SplitFoundLine(std::string_view line) {
  FoundFields f;
  std::string_view* fields[] = {&f.type, &f.size, &f.time};
  for (std::string_view* field : fields) {
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    *field = line.substr(0, tab);
    line.remove_prefix(tab + 1);
  }
  if (!AllDigits(f.type) || !AllDigits(f.size)) return std::nullopt;
  f.path = line;
  return f;
}

}  // namespace

std::string FoundLine(const FoundResults& results, size_t record, const Clock& clock, bool nul) {
  const FoundRecord& r = results[record];
  const std::string_view path = results.Path(record);
  std::string line = std::to_string(int64_t{results.Types()[r.type].row} + 1);
  line += '\t';
  line += std::to_string(r.size);
  line += '\t';
  line += TimeText(r.mtimeNs, clock);
  line += '\t';
  line += nul ? std::string(path) : ShownName(path);
  line += nul ? '\0' : '\n';
  return line;
}

FoundSelection MatchFoundList(std::string_view list, bool nul, const FoundResults& kept, const Clock& clock) {
  FoundSelection selection;
  std::unordered_map<std::string_view, uint32_t> byPath;
  std::vector<uint8_t> taken;
  if (!list.empty()) {
    byPath.reserve(kept.size());
    for (uint32_t i = 0; i < kept.size(); ++i)
      if (!kept[i].IsDupe()) byPath.emplace(kept.Path(i), i);
    taken.assign(kept.size(), 0);
  }
  const char end = nul ? '\0' : '\n';
  while (!list.empty()) {
    const size_t at = list.find(end);
    std::string_view entry = list.substr(0, at);
    list.remove_prefix(at == std::string_view::npos ? list.size() : at + 1);
    if (!nul && entry.ends_with('\r')) entry.remove_suffix(1);
    if (entry.empty()) continue;

    const std::optional<FoundFields> fields =
        entry.front() >= '0' && entry.front() <= '9' ? SplitFoundLine(entry) : std::nullopt;
    const std::string_view written = fields ? fields->path : entry;
    const std::optional<std::string> unquoted = ShellUnquoted(written);
    const std::string path = unquoted ? *unquoted : std::string(written);
    const auto unmatched = [&](std::string_view reason) { selection.unmatched.push_back({path, reason}); };
    if (!path.starts_with('/')) {
      unmatched(texts::kNotAFullPath);
      continue;
    }
    const auto found = byPath.find(path);
    if (found == byPath.end()) {
      unmatched(texts::kNotInResults);
      continue;
    }
    const uint32_t i = found->second;
    if (fields) {
      const FoundRecord& r = kept[i];
      const bool same = fields->type == std::to_string(int64_t{kept.Types()[r.type].row} + 1) &&
                        fields->size == std::to_string(r.size) && fields->time == TimeText(r.mtimeNs, clock);
      if (!same) {
        unmatched(texts::kDiffersFromResults);
        continue;
      }
    }
    taken[i] = 1;
  }
  std::vector<uint32_t> records;
  for (uint32_t i = 0; i < taken.size(); ++i)
    if (taken[i]) records.push_back(i);
  selection.matched = kept.Subset(records);
  return selection;
}

std::optional<FoundResults> LoadKeptResults(const DataFiles& files, std::FILE* err) {
  FoundResultsRead read = LoadFoundResults(files.Found());
  if (read.error == ENOENT) {
    std::fprintf(err, "vorlo-cli: %s\n", FormatText(texts::kNoResults, ShownName(files.folder).c_str()).c_str());
    return std::nullopt;
  }
  if (!read.ok()) {
    std::fprintf(err, "vorlo-cli: %s\n", read.message.c_str());
    return std::nullopt;
  }
  return std::move(read.results);
}

std::optional<FoundResults> SelectListedFiles(const DataFiles& files, const std::string& listFile, bool nul,
                                              const Clock& clock, std::FILE* err, bool* anyUnmatched) {
  std::optional<FoundResults> kept = LoadKeptResults(files, err);
  if (!kept) return std::nullopt;
  const FileRead list = ReadWholeFile(listFile, kMaxListBytes);
  if (list.error != 0) {
    std::fprintf(err, "vorlo-cli: cannot read %s: %s\n", ShownName(listFile).c_str(), ErrorText(list.error).c_str());
    return std::nullopt;
  }
  FoundSelection selection = MatchFoundList(list.bytes, nul, *kept, clock);
  for (const UnmatchedPath& u : selection.unmatched)
    std::fprintf(err, "vorlo-cli: %s %s\n", ShownName(u.path).c_str(), std::string(u.reason).c_str());
  if (anyUnmatched != nullptr) *anyUnmatched = !selection.unmatched.empty();
  return std::move(selection.matched);
}

}  // namespace vorlo::cli
