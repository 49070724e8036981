// The readable description of a junk type (name and state, folders,
// specifications, restrictions, protections, method) as a list of styled
// pieces; a rich-text view renders them, the command line prints the text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/junk_type.h"

namespace vorlo {

enum class TextStyle { Bold, Italic, BoldUnderline, Regular };

// One writing step: `text` in `style` at `size` points, then `rets` line
// breaks (CR LF) in the same style.
struct DescPiece {
  TextStyle style;
  int size;
  int rets;
  std::string text;
  bool operator==(const DescPiece&) const = default;
};

struct DescriptionContext {
  std::string localDrivesText;      // the current local-drives entry text
  std::string dateSeparator = "/";  // from the user's locale
};

std::vector<DescPiece> REDisplay(const TJunkFileObj& TJ, const DescriptionContext& context);

// The pieces' texts with their line breaks as CR LF.
std::string DescriptionPlainText(const std::vector<DescPiece>& pieces);

// Texts of an age index (0 to 6) and a size unit (0 to 2); empty outside.
std::string_view AgeText(int32_t index);
// The comparison phrases of the date, age and size restrictions ("before",
// "older than", "less than"...); empty outside 0 to 4.
enum class Comparison { Date, Age, Size };
std::string_view ComparisonText(Comparison kind, int32_t code);
std::string_view SizeUnitText(int32_t unit);

// A day number as month, day and four-digit year joined by `separator`
// ("3.5.2024"); empty for a day outside the years 1 to 9999.
std::string ShortDateText(double dayNumber, std::string_view separator);

}  // namespace vorlo
