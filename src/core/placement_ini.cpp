#include "core/placement_ini.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/text.h"

namespace vorlo {
namespace {

std::string_view Trim(std::string_view s) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (!s.empty() && blank(s.front())) s.remove_prefix(1);
  while (!s.empty() && blank(s.back())) s.remove_suffix(1);
  return s;
}

// The section name of a "[name]" line; nothing for any other line.
std::optional<std::string_view> HeaderName(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() != '[') return std::nullopt;
  const size_t close = t.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(t.substr(1, close - 1));
}

// The key of a "key=value" line; empty for comments and other lines.
std::string_view KeyOf(std::string_view line) {
  const std::string_view t = Trim(line);
  if (t.empty() || t.front() == ';' || t.front() == '#') return {};
  const size_t eq = t.find('=');
  if (eq == std::string_view::npos) return {};
  return Trim(t.substr(0, eq));
}

std::optional<int> ParseInt(std::string_view s) {
  s = Trim(s);
  bool negative = false;
  if (!s.empty() && (s.front() == '-' || s.front() == '+')) {
    negative = s.front() == '-';
    s.remove_prefix(1);
  }
  if (s.empty() || s.size() > 10) return std::nullopt;
  int64_t n = 0;
  for (const char c : s) {
    if (c < '0' || c > '9') return std::nullopt;
    n = n * 10 + (c - '0');
  }
  if (negative) n = -n;
  if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max()) return std::nullopt;
  return static_cast<int>(n);
}

int Saturate(int64_t n) {
  return static_cast<int>(std::clamp<int64_t>(n, std::numeric_limits<int>::min(), std::numeric_limits<int>::max()));
}

std::string KeyLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  line += value;
  return line;
}

}  // namespace

IniDocument IniDocument::Parse(std::string_view text) {
  IniDocument doc;
  for (std::string& line : SplitLines(text)) {
    if (const auto name = HeaderName(line)) {
      doc.sections_.push_back(Section{std::string(*name), true, {}});
      continue;
    }
    if (doc.sections_.empty()) doc.sections_.push_back(Section{"", false, {}});
    std::string key(KeyOf(line));
    doc.sections_.back().lines.push_back(Line{std::move(line), std::move(key)});
  }
  return doc;
}

std::string IniDocument::Text() const {
  std::string text;
  for (const Section& section : sections_) {
    if (section.header) text += "[" + section.name + "]\r\n";
    for (const Line& line : section.lines) text += line.text + "\r\n";
  }
  return text;
}

const IniDocument::Section* IniDocument::Find(std::string_view name) const {
  for (const Section& section : sections_)
    if (section.header && SameTextFolded(section.name, name)) return &section;
  return nullptr;
}

IniDocument::Section& IniDocument::FindOrAdd(std::string_view name) {
  for (Section& section : sections_)
    if (section.header && SameTextFolded(section.name, name)) return section;
  return sections_.emplace_back(Section{std::string(name), true, {}});
}

bool IniDocument::HasSection(std::string_view section) const { return Find(section) != nullptr; }

std::vector<std::string> IniDocument::Keys(std::string_view section) const {
  std::vector<std::string> keys;
  if (const Section* s = Find(section))
    for (const Line& line : s->lines)
      if (!line.key.empty()) keys.push_back(line.key);
  return keys;
}

std::optional<std::string> IniDocument::Value(std::string_view section, std::string_view key) const {
  const Section* s = Find(section);
  if (!s) return std::nullopt;
  for (const Line& line : s->lines) {
    if (line.key.empty() || !SameTextFolded(line.key, key)) continue;
    const std::string_view text = line.text;
    return std::string(Trim(text.substr(text.find('=') + 1)));
  }
  return std::nullopt;
}

std::optional<int> IniDocument::IntValue(std::string_view section, std::string_view key) const {
  const std::optional<std::string> value = Value(section, key);
  return value ? ParseInt(*value) : std::nullopt;
}

void IniDocument::SetValue(std::string_view section, std::string_view key, std::string_view value) {
  Section& s = FindOrAdd(section);
  size_t insertAt = 0;
  for (size_t i = 0; i < s.lines.size(); ++i) {
    Line& line = s.lines[i];
    if (line.key.empty()) continue;
    if (SameTextFolded(line.key, key)) {
      line.text = KeyLine(line.key, value);
      return;
    }
    insertAt = i + 1;
  }
  // After the last key, so a blank line that ends the section stays last.
  s.lines.insert(s.lines.begin() + static_cast<std::ptrdiff_t>(insertAt),
                 Line{KeyLine(key, value), std::string(key)});
}

void IniDocument::WriteKeys(std::string_view section,
                            const std::vector<std::pair<std::string, std::string>>& values) {
  Section& s = FindOrAdd(section);
  std::vector<Line> lines;
  lines.reserve(values.size() + s.lines.size());
  for (const auto& [key, value] : values) lines.push_back(Line{KeyLine(key, value), key});
  for (Line& old : s.lines) {
    const bool written = !old.key.empty() && std::any_of(values.begin(), values.end(), [&](const auto& kv) {
      return SameTextFolded(kv.first, old.key);
    });
    if (!written) lines.push_back(std::move(old));
  }
  s.lines = std::move(lines);
}

std::string PlacementSection(std::string_view windowName) { return std::string(windowName) + " Settings"; }

WindowPlacement RestorePlacement(const IniDocument& ini, std::string_view windowName, bool Siz,
                                 const PlacementRect& workArea, int designWidth, int designHeight,
                                 const WindowPlacement& current) {
  const std::string section = PlacementSection(windowName);
  const int64_t W = designWidth, H = designHeight;
  // Integer division truncates toward zero, also for a window larger than
  // the work area.
  const int64_t left0 = workArea.Left + (int64_t{workArea.Right} - workArea.Left - W) / 2;
  const int64_t top0 = workArea.Top + (int64_t{workArea.Bottom} - workArea.Top - H) / 2;

  const auto read = [&](const char* key, int64_t fallback) -> int64_t {
    const std::optional<int> v = ini.IntValue(section, key);
    return v ? *v : fallback;
  };
  int64_t L = read("Left", left0);
  int64_t T = read("Top", top0);
  int64_t R = L + W, B = T + H;
  if (Siz) {
    R = read("Right", left0 + W);
    B = read("Bottom", top0 + H);
    // An empty or inverted rectangle cannot be shown; keep the design size.
    if (R <= L) R = L + W;
    if (B <= T) B = T + H;
    if (R > workArea.Right) {
      const int64_t d = R - workArea.Right;
      L -= d;
      R -= d;
    }
    if (B > workArea.Bottom) {
      const int64_t d = B - workArea.Bottom;
      T -= d;
      B -= d;
    }
    if (L < 0) L = 0;
    if (T < 0) T = 0;
  }

  WindowPlacement result;
  result.normal = {Saturate(L), Saturate(T), Saturate(R), Saturate(B)};
  result.MinX = Saturate(read("MinX", current.MinX));
  result.MinY = Saturate(read("MinY", current.MinY));
  result.MaxX = Saturate(read("MaxX", current.MaxX));
  result.MaxY = Saturate(read("MaxY", current.MaxY));
  result.flags = Saturate(read("flags", current.flags));
  result.ShowCmd = current.ShowCmd;
  return result;
}

void StorePlacement(IniDocument& ini, std::string_view windowName, bool Siz, const WindowPlacement& placement) {
  const auto num = [](int n) { return std::to_string(n); };
  std::vector<std::pair<std::string, std::string>> values{{"Left", num(placement.normal.Left)},
                                                          {"Top", num(placement.normal.Top)}};
  if (Siz) {
    values.emplace_back("Right", num(placement.normal.Right));
    values.emplace_back("Bottom", num(placement.normal.Bottom));
  }
  values.emplace_back("MinX", num(placement.MinX));
  values.emplace_back("MinY", num(placement.MinY));
  values.emplace_back("MaxX", num(placement.MaxX));
  values.emplace_back("MaxY", num(placement.MaxY));
  values.emplace_back("ShowCmd", num(placement.ShowCmd));
  values.emplace_back("flags", num(placement.flags));
  ini.WriteKeys(PlacementSection(windowName), values);
}

PlacementRect BringIntoView(const PlacementRect& rect, const std::vector<PlacementRect>& screens,
                            const PlacementRect& workArea) {
  if (screens.empty()) return rect;
  for (const PlacementRect& s : screens)
    if (rect.Left < s.Right && rect.Right > s.Left && rect.Top < s.Bottom && rect.Bottom > s.Top) return rect;
  const int64_t w = int64_t{rect.Right} - rect.Left, h = int64_t{rect.Bottom} - rect.Top;
  const auto fit = [](int64_t pos, int64_t size, int64_t lo, int64_t hi) {
    return size >= hi - lo ? lo : std::clamp(pos, lo, hi - size);
  };
  const int64_t L = fit(rect.Left, w, workArea.Left, workArea.Right);
  const int64_t T = fit(rect.Top, h, workArea.Top, workArea.Bottom);
  return {Saturate(L), Saturate(T), Saturate(L + w), Saturate(T + h)};
}

}  // namespace vorlo
