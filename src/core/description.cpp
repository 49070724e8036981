#include "core/description.h"

#include <array>
#include <cmath>

#include "core/day_number.h"

namespace vorlo {

namespace {

constexpr int kTitleSize = 14;
constexpr int kHeadingSize = 12;
constexpr int kTextSize = 10;

constexpr std::string_view kTab = "\t";
constexpr std::string_view kLineBreak = "\r\n";

constexpr std::string_view kTypeTitle = "Type: ";
constexpr std::string_view kEnabled = " (enabled)";
constexpr std::string_view kDisabled = " (disabled)";

constexpr std::string_view kSearchAll = "Search ";
constexpr std::string_view kOneFolder = "Search for files in this folder:";
constexpr std::string_view kFolders = "Search for files in these folders:";
constexpr std::string_view kRuleFolderOnly = "\t but not its subfolders";
constexpr std::string_view kRuleSubOnly = "\t's subfolders only";
constexpr std::string_view kRuleFolderAndSub = "\t and its subfolders";

constexpr std::string_view kOneDelete = "Search for files matching this file specification:";
constexpr std::string_view kDeletes = "Search for files matching these file specifications:";

constexpr std::string_view kRestrictHeading = "Restrict file matching by date or size:";
constexpr std::string_view kDateLine = "\tFile date must be ";
constexpr std::string_view kAgeLine = "\tFile must be ";
constexpr std::string_view kSizeLine = "\tFile size must be ";
constexpr std::string_view kAnd = " and ";
constexpr std::string_view kSizeAnd = "and ";
constexpr std::string_view kOld = " old";

constexpr std::string_view kOneProt = "Protect files matching this file specification:";
constexpr std::string_view kProts = "Protect files matching these file specifications:";

constexpr std::string_view kMethodHeading = "Clean up matching files by:";

constexpr std::array<std::string_view, 5> kDatePhrases = {"exactly", "before", "after", "between", "not between"};
constexpr std::array<std::string_view, 5> kAgePhrases = {"exactly", "older than", "newer than", "between",
                                                         "not between"};
constexpr std::array<std::string_view, 5> kSizePhrases = {"exactly", "less than", "greater than", "between",
                                                          "not between"};
constexpr std::array<std::string_view, 7> kAgeTexts = {"1 day",    "3 days",   "1 week", "1 month",
                                                       "3 months", "6 months", "1 year"};
constexpr std::array<std::string_view, 3> kSizeUnitTexts = {"bytes", "KB", "MB"};
constexpr std::array<std::string_view, 3> kMethodTexts = {
    "moving them to the Recycle bin", "backing them up to a holding folder", "deleting them permanently"};

// Stored values are not range-checked when loaded: an unknown code shows an
// empty phrase instead of reading past the table.
template <size_t N>
std::string_view Lookup(const std::array<std::string_view, N>& table, int32_t code) {
  const auto index = static_cast<uint32_t>(code);
  return index < N ? table[index] : std::string_view{};
}

// A phrase and the space after it; nothing for an unknown code.
template <size_t N>
std::string PhraseAndSpace(const std::array<std::string_view, N>& table, int32_t code) {
  const std::string_view phrase = Lookup(table, code);
  return phrase.empty() ? std::string{} : std::string(phrase) + " ";
}

bool IsRange(int32_t code) { return code == 3 || code == 4; }

// Years 1 to 9999, the range a four-digit year can show.
constexpr double kFirstDay = -693593;  // 1 January 1
constexpr double kLastDay = 2958465;   // 31 December 9999

class Writer {
 public:
  void Out(TextStyle style, int size, int rets, std::string_view text) {
    pieces_.push_back(DescPiece{style, size, rets, std::string(text)});
  }
  void Out(TextStyle style, int size, int rets, std::string_view a, std::string_view b) {
    std::string text(a);
    text += b;
    pieces_.push_back(DescPiece{style, size, rets, std::move(text)});
  }
  std::vector<DescPiece> Take() { return std::move(pieces_); }

 private:
  std::vector<DescPiece> pieces_;
};

void WriteTitle(Writer& w, const TJunkFileObj& TJ) {
  w.Out(TextStyle::Bold, kTitleSize, 0, kTypeTitle);
  w.Out(TextStyle::BoldUnderline, kTitleSize, 0, TJ.TypName());
  w.Out(TextStyle::Bold, kTitleSize, 2, TJ.IsChecked() ? kEnabled : kDisabled);
}

void WriteFolders(Writer& w, const TJunkFileObj& TJ, const DescriptionContext& context) {
  // A stored local-drives entry shows today's drives, not the stored ones.
  if (TJ.SearchesLocalDrives()) {
    w.Out(TextStyle::Italic, kHeadingSize, 1, kSearchAll, context.localDrivesText);
    return;
  }
  w.Out(TextStyle::Italic, kHeadingSize, 1, TJ.Dirs().size() == 1 ? kOneFolder : kFolders);
  for (const FolderEntry& dir : TJ.Dirs()) {
    w.Out(TextStyle::Regular, kTextSize, 0, kTab, dir.path);
    const std::string_view rule = dir.rule == FolderRule::pFolOnly   ? kRuleFolderOnly
                                  : dir.rule == FolderRule::pSubOnly ? kRuleSubOnly
                                                                     : kRuleFolderAndSub;
    w.Out(TextStyle::Italic, kTextSize, 1, rule);
  }
}

void WriteSpecs(Writer& w, const SpecList& specs, std::string_view one, std::string_view many) {
  w.Out(TextStyle::Italic, kHeadingSize, 1, specs.size() == 1 ? one : many);
  for (const std::string_view spec : specs) w.Out(TextStyle::Regular, kTextSize, 1, kTab, spec);
}

void WriteRestrictions(Writer& w, const TJunkFileObj& TJ, const DescriptionContext& context) {
  if (!TJ.DateRestrict() && !TJ.AgeRestrict() && !TJ.SizeRestrict()) return;
  w.Out(TextStyle::Italic, kHeadingSize, 1, kRestrictHeading);

  if (TJ.DateRestrict()) {
    const int32_t code = TJ.DateRestrictType();
    w.Out(TextStyle::Regular, kTextSize, 0, kDateLine);
    w.Out(TextStyle::Regular, kTextSize, 0, PhraseAndSpace(kDatePhrases, code));
    const std::string first = ShortDateText(TJ.DateData1(), context.dateSeparator);
    if (IsRange(code)) {
      w.Out(TextStyle::Bold, kTextSize, 0, first);
      w.Out(TextStyle::Regular, kTextSize, 0, kAnd);
      w.Out(TextStyle::Bold, kTextSize, 1, ShortDateText(TJ.DateData2(), context.dateSeparator));
    } else {
      w.Out(TextStyle::Bold, kTextSize, 1, first);
    }
  }

  if (TJ.AgeRestrict()) {
    const int32_t code = TJ.AgeRestrictType();
    w.Out(TextStyle::Regular, kTextSize, 0, kAgeLine);
    w.Out(TextStyle::Regular, kTextSize, 0, PhraseAndSpace(kAgePhrases, code));
    w.Out(TextStyle::Bold, kTextSize, 0, AgeText(TJ.AgeData1()));
    if (IsRange(code)) {
      w.Out(TextStyle::Regular, kTextSize, 0, kAnd);
      w.Out(TextStyle::Bold, kTextSize, 0, AgeText(TJ.AgeData2()));
    }
    w.Out(TextStyle::Regular, kTextSize, 1, kOld);
  }

  if (TJ.SizeRestrict()) {
    const int32_t code = TJ.SizeRestrictType();
    w.Out(TextStyle::Regular, kTextSize, 0, kSizeLine);
    w.Out(TextStyle::Regular, kTextSize, 0, PhraseAndSpace(kSizePhrases, code));
    w.Out(TextStyle::Bold, kTextSize, 0, std::to_string(TJ.SizeData1()) + " ");
    if (IsRange(code)) {
      w.Out(TextStyle::Regular, kTextSize, 0, kSizeAnd);
      w.Out(TextStyle::Bold, kTextSize, 0, std::to_string(TJ.SizeData2()) + " ");
    }
    w.Out(TextStyle::Regular, kTextSize, 1, SizeUnitText(TJ.SizeUnit()));
  }
}

void WriteMethod(Writer& w, const TJunkFileObj& TJ) {
  w.Out(TextStyle::Regular, kTextSize, 1, "");
  w.Out(TextStyle::Italic, kHeadingSize, 1, kMethodHeading);
  w.Out(TextStyle::Regular, kTextSize, 1, kTab, Lookup(kMethodTexts, static_cast<int32_t>(TJ.Backtype())));
}

}  // namespace

std::string_view AgeText(int32_t index) { return Lookup(kAgeTexts, index); }

std::string_view SizeUnitText(int32_t unit) { return Lookup(kSizeUnitTexts, unit); }

std::string ShortDateText(double dayNumber, std::string_view separator) {
  // Loaded dates are not checked: NaN or a huge value must not reach the
  // integer conversion.
  if (!(dayNumber > kFirstDay - 1 && dayNumber < kLastDay + 1)) return {};
  const CivilDate date = DateOfDay(static_cast<int64_t>(std::trunc(dayNumber)));
  std::string year = std::to_string(date.year);
  if (year.size() < 4) year.insert(0, 4 - year.size(), '0');
  std::string text = std::to_string(date.month);
  text += separator;
  text += std::to_string(date.day);
  text += separator;
  return text + year;
}

std::string_view ComparisonText(Comparison kind, int32_t code) {
  const auto& table = kind == Comparison::Date ? kDatePhrases : kind == Comparison::Age ? kAgePhrases : kSizePhrases;
  return code >= 0 && code < static_cast<int32_t>(table.size()) ? table[static_cast<size_t>(code)] : std::string_view();
}

std::vector<DescPiece> REDisplay(const TJunkFileObj& TJ, const DescriptionContext& context) {
  Writer w;
  WriteTitle(w, TJ);
  WriteFolders(w, TJ, context);
  WriteSpecs(w, TJ.Deletes(), kOneDelete, kDeletes);
  WriteRestrictions(w, TJ, context);
  if (!TJ.Prots().empty()) WriteSpecs(w, TJ.Prots(), kOneProt, kProts);
  WriteMethod(w, TJ);
  return w.Take();
}

std::string DescriptionPlainText(const std::vector<DescPiece>& pieces) {
  std::string text;
  for (const DescPiece& piece : pieces) {
    text += piece.text;
    for (int i = 0; i < piece.rets; ++i) text += kLineBreak;
  }
  return text;
}

}  // namespace vorlo
