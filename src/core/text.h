// Text helpers for the core: texts are UTF-8 byte strings. Bytes that are not
// valid UTF-8 survive every conversion here (they decode to the private range
// U+DC80..U+DCFF and encode back to the same byte), so paths stay exact.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlo {

// Decodes UTF-8 into code points, appending to `out` (cleared first).
void DecodeUtf8(std::string_view s, std::u32string& out);
std::u32string DecodeUtf8(std::string_view s);
void AppendUtf8(char32_t c, std::string& out);
std::string EncodeUtf8(std::u32string_view s);

bool IsValidUtf8(std::string_view s);
bool IsAscii(std::string_view s);

// UTF-16 code units of a valid UTF-8 text.
std::u16string Utf8ToUtf16(std::string_view s);
// UTF-16 to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string Utf16ToUtf8(std::u16string_view s);
// Bytes of a single-byte code page (read as Latin-1) to UTF-8.
std::string Latin1ToUtf8(std::string_view s);

// Simple case folding to lower case (Latin, Greek, Cyrillic letters).
char32_t FoldCase(char32_t c);
// True when both texts are equal without regard to letter case.
bool SameTextFolded(std::string_view a, std::string_view b);

// Splits at CR LF, lone CR or lone LF; a final break adds no entry.
std::vector<std::string> SplitLines(std::string_view text);

// printf-style formatting into a string.
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Right-aligns `text` in `width` characters (code points); longer text stays.
std::string PadLeft(std::string_view text, size_t width);

// `text` with its first `what` replaced by `with`.
std::string ReplacedOnce(std::string text, std::string_view what, std::string_view with);

// The length of the control at `text[i]` that a log viewer or terminal may
// act on: 1 for a C0 control or DEL, 2 for a C1 control in UTF-8 (U+0080 to
// U+009F, NEL among them), 3 for the line and paragraph separators U+2028
// and U+2029; 0 for anything else.
size_t DisplayControlAt(std::string_view text, size_t i);
bool HasDisplayControls(std::string_view text);
// In shell quoting, $'...': each byte of a display control as \xHH (two
// lowercase hex digits), a backslash as \\ and a quote as \'; pasted
// into bash it is the text again.
std::string ShellQuoted(std::string_view text);
// The text of a $'...' quote (what ShellQuoted writes, and the escapes \n,
// \t, \r, \" that a person may type in one); nothing when `quoted` is not
// one such quote, whole.
std::optional<std::string> ShellUnquoted(std::string_view quoted);
// The text as it is, or shell-quoted when it holds a display control: what
// logs and terminals show of a name, so that no name can act on them.
std::string ShownName(std::string_view text);

bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);

}  // namespace vorlo
