#include "app/undo_journal.h"

#include <algorithm>
#include <charconv>
#include <map>

#include "platform/file_ops.h"
#include "platform/paths.h"

namespace vorlo {

namespace {

constexpr std::string_view kMagic = "VORLO-UNDO";
constexpr std::string_view kPrefix = "run-";
constexpr std::string_view kSuffix = ".undo";

// The run number of a journal file's name; 0 when it is none.
uint32_t RunOfName(std::string_view name) {
  if (!name.starts_with(kPrefix) || !name.ends_with(kSuffix)) return 0;
  const std::string_view digits = name.substr(kPrefix.size(), name.size() - kPrefix.size() - kSuffix.size());
  uint32_t n = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n);
  return ec == std::errc() && end == digits.data() + digits.size() ? n : 0;
}

std::string NameOfRun(uint32_t run) {
  std::string digits = std::to_string(run);
  if (digits.size() < 6) digits.insert(0, 6 - digits.size(), '0');
  return std::string(kPrefix) + digits + std::string(kSuffix);
}

// The runs of a folder by number.
std::map<uint32_t, std::string> RunFiles(const std::string& folder) {
  std::map<uint32_t, std::string> runs;
  for (const std::string& name : FileNames(folder))
    if (const uint32_t n = RunOfName(name)) runs[n] = folder + "/" + name;
  return runs;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  for (size_t pos = 0; pos <= line.size();) {
    size_t end = line.find(' ', pos);
    if (end == std::string_view::npos) end = line.size();
    fields.push_back(line.substr(pos, end - pos));
    pos = end + 1;
  }
  return fields;
}

template <typename T>
bool Number(std::string_view text, T& out) {
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  return ec == std::errc() && end == text.data() + text.size();
}

// One run's journal; lines it cannot read (a line cut short by a crash)
// are passed over.
JournalRun ParseRun(const std::string& file, const std::string& text) {
  JournalRun run;
  run.file = file;
  std::map<uint32_t, size_t> index;
  for (size_t pos = 0; pos < text.size();) {
    size_t end = text.find('\n', pos);
    if (end == std::string::npos) break;  // the last line has no end yet
    const std::vector<std::string_view> f = Fields(std::string_view(text).substr(pos, end - pos));
    pos = end + 1;
    if (f.empty()) continue;
    if (f[0] == "U") {
      run.undone = true;
      continue;
    }
    if (f[0] == kMagic && f.size() == 4) {
      (void)Number(f[2], run.number);
      (void)Number(f[3], run.startUtc);
      continue;
    }
    uint32_t n = 0;
    if (f.size() < 2 || f[0].size() != 1 || !Number(f[1], n)) continue;
    const char kind = f[0][0];
    if ((kind == 'T' || kind == 'H') && f.size() == 8) {
      JournalEntry e;
      e.number = n;
      e.method = kind == 'T' ? JournalMethod::Trash : JournalMethod::Holding;
      const auto path = PercentDecoded(f[2]);
      if (!path || !Number(f[3], e.identity.dev) || !Number(f[4], e.identity.ino) || !Number(f[5], e.identity.size) ||
          !Number(f[6], e.identity.mtimeNs) || !Number(f[7], e.folderMode))
        continue;
      e.original = *path;
      index[n] = run.entries.size();
      run.entries.push_back(std::move(e));
    } else if (kind == 'D' && f.size() == 4) {
      JournalEntry e;
      e.number = n;
      e.method = JournalMethod::Deleted;
      const auto path = PercentDecoded(f[2]);
      if (!path || !Number(f[3], e.identity.size)) continue;
      e.original = *path;
      e.placed = true;
      index[n] = run.entries.size();
      run.entries.push_back(std::move(e));
    } else if (const auto it = index.find(n); it != index.end()) {
      JournalEntry& e = run.entries[it->second];
      if (kind == 'S' && f.size() == 4) {
        const auto trash = PercentDecoded(f[2]), name = PercentDecoded(f[3]);
        if (trash && name) {
          e.trash = {*trash, *name};
          e.placed = true;
        }
      } else if (kind == 'M' && f.size() == 3) {
        if (const auto held = PercentDecoded(f[2])) {
          e.held = *held;
          e.placed = true;
        }
      } else if (kind == 'R') {
        e.restored = true;
      } else if (kind == 'X') {
        e.gone = true;
      }
    }
  }
  return run;
}

}  // namespace

int UndoJournal::Begin(int64_t startUtc) {
  End();
  error_ = 0;
  next_ = 1;
  if (const int err = CreateFolder(folder_)) return error_ = err;
  std::map<uint32_t, std::string> runs = RunFiles(folder_);
  const uint32_t number = runs.empty() ? 1 : runs.rbegin()->first + 1;
  // The new run takes the place of the oldest beyond those kept.
  while (runs.size() >= kRunsKept) {
    RemoveFile(runs.begin()->second);
    runs.erase(runs.begin());
  }
  if (const int err = file_.Open(folder_ + "/" + NameOfRun(number), OutputFile::Mode::Replace)) return error_ = err;
  Write(std::string(kMagic) + " 1 " + std::to_string(number) + " " + std::to_string(startUtc) + "\n", true);
  if (error_ != 0) file_.Close();
  return error_;
}

void UndoJournal::Write(const std::string& lines, bool sync) {
  if (!file_.IsOpen() || error_ != 0) return;
  pending_ += lines;
  if (!sync && pending_.size() < 65536) return;
  int err = file_.Write(pending_);
  pending_.clear();
  if (err == 0 && sync) err = file_.Sync();
  if (err != 0) error_ = err;
}

uint32_t UndoJournal::Intend(JournalMethod method, const std::vector<JournalIntent>& files) {
  if (!file_.IsOpen() || error_ != 0) return 0;
  const uint32_t first = next_;
  std::string lines;
  for (const JournalIntent& f : files) {
    const FileIdentity& id = f.identity;
    lines += std::string(1, static_cast<char>(method)) + " " + std::to_string(next_++) + " " +
             PercentEncoded(f.original) + " " + std::to_string(id.dev) + " " + std::to_string(id.ino) + " " +
             std::to_string(id.size) + " " + std::to_string(id.mtimeNs) + " " + std::to_string(f.folderMode) + "\n";
  }
  Write(lines, true);
  return error_ == 0 ? first : 0;
}

void UndoJournal::Sent(uint32_t entry, const TrashPlace& place) {
  Write("S " + std::to_string(entry) + " " + PercentEncoded(place.trash) + " " + PercentEncoded(place.name) + "\n",
        false);
}

void UndoJournal::Moved(uint32_t entry, const std::string& held) {
  Write("M " + std::to_string(entry) + " " + PercentEncoded(held) + "\n", false);
}

void UndoJournal::Deleted(const std::string& original, int64_t size) {
  Write("D " + std::to_string(next_++) + " " + PercentEncoded(original) + " " + std::to_string(size) + "\n", false);
}

void UndoJournal::Flush() { Write({}, true); }

void UndoJournal::End() {
  if (!file_.IsOpen()) return;
  Flush();
  if (const int err = file_.Close(); err != 0 && error_ == 0) error_ = err;
}

std::vector<JournalRun> UndoJournal::ReadRuns(const std::string& folder) {
  std::vector<JournalRun> runs;
  const std::map<uint32_t, std::string> files = RunFiles(folder);
  for (auto it = files.rbegin(); it != files.rend(); ++it) {
    const FileRead read = ReadWholeFile(it->second);
    if (read.error != 0) continue;
    JournalRun run = ParseRun(it->second, read.bytes);
    if (run.number == 0) run.number = it->first;
    runs.push_back(std::move(run));
  }
  return runs;
}

int UndoJournal::RecordUndo(const std::string& file, const std::vector<uint32_t>& restored,
                            const std::vector<uint32_t>& gone) {
  OutputFile out;
  if (const int err = out.Open(file, OutputFile::Mode::Append)) return err;
  std::string lines = "U\n";
  for (const uint32_t n : restored) lines += "R " + std::to_string(n) + "\n";
  for (const uint32_t n : gone) lines += "X " + std::to_string(n) + "\n";
  int err = out.Write(lines);
  if (err == 0) err = out.Sync();
  const int closed = out.Close();
  return err != 0 ? err : closed;
}

}  // namespace vorlo
