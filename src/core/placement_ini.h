// Window placements in the settings file: the INI text itself (kept line by
// line, so sections and keys written by other windows survive a rewrite),
// the placement keys of one window's section, and the rule that fits a
// saved rectangle into the work area when a window is restored.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vorlo {

// An INI text: "[section]" lines followed by "key=value" lines. Section and
// key names compare without regard to letter case; the first match counts.
class IniDocument {
 public:
  // Accepts CR LF, LF or CR line ends; lines it does not understand are kept.
  static IniDocument Parse(std::string_view text);
  // The text with CR LF line ends.
  std::string Text() const;

  std::optional<std::string> Value(std::string_view section, std::string_view key) const;
  // A signed decimal 32-bit integer (blanks around it allowed); nothing for
  // a missing key or any other text.
  std::optional<int> IntValue(std::string_view section, std::string_view key) const;

  // Replaces the key's value in place, or appends the key to its section,
  // appending the section when it is missing.
  void SetValue(std::string_view section, std::string_view key, std::string_view value);
  // Writes `values` as the first keys of the section, in the given order;
  // the section's other lines follow in their old order.
  void WriteKeys(std::string_view section, const std::vector<std::pair<std::string, std::string>>& values);

  bool HasSection(std::string_view section) const;
  // Keys of a section in file order (empty for a missing section).
  std::vector<std::string> Keys(std::string_view section) const;

 private:
  struct Line {
    std::string text;  // the line as read or written
    std::string key;   // empty for a line that is not "key=value"
  };
  struct Section {
    std::string name;
    bool header = true;  // false for the lines before the first section
    std::vector<Line> lines;
  };
  const Section* Find(std::string_view name) const;
  Section& FindOrAdd(std::string_view name);

  std::vector<Section> sections_;
};

// Edges of a rectangle; Right and Bottom lie just outside it.
struct PlacementRect {
  int Left = 0, Top = 0, Right = 0, Bottom = 0;
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool operator==(const PlacementRect&) const = default;
};

// A window's placement record as the settings file keeps it.
struct WindowPlacement {
  PlacementRect normal;  // the restored (normal) rectangle
  int MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
  int ShowCmd = 1;  // 1 normal, 2 minimised, 3 maximised
  int flags = 0;
  bool operator==(const WindowPlacement&) const = default;
};

// "<name> Settings".
std::string PlacementSection(std::string_view windowName);

// The placement a window gets when it is created: centred in `workArea` at
// its design size unless the section says otherwise. `Siz` restores the
// saved size and keeps the rectangle inside the work area's right and
// bottom edges and off negative coordinates. `current` gives the defaults
// of the minimised and maximised positions and the flags, and the show code
// (which is never read from the file).
WindowPlacement RestorePlacement(const IniDocument& ini, std::string_view windowName, bool Siz,
                                 const PlacementRect& workArea, int designWidth, int designHeight,
                                 const WindowPlacement& current);

// Writes the window's keys: Left, Top, [Right, Bottom,] MinX, MinY, MaxX,
// MaxY, ShowCmd, flags.
void StorePlacement(IniDocument& ini, std::string_view windowName, bool Siz, const WindowPlacement& placement);

// A rectangle that meets none of `screens` is moved into `workArea` (a
// window nobody can reach is of no use); any other stays where it is.
PlacementRect BringIntoView(const PlacementRect& rect, const std::vector<PlacementRect>& screens,
                            const PlacementRect& workArea);

}  // namespace vorlo
