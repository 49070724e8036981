#include "core/text.h"

#include <cstdarg>
#include <cstdio>

namespace vorlo {

namespace {

constexpr char32_t kEscapeBase = 0xDC00;  // invalid byte b decodes to U+DC00 + b

// Length of the valid UTF-8 sequence starting at s[i], or 0 when invalid.
size_t ValidSequenceLength(std::string_view s, size_t i, char32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  size_t len;
  char32_t min;
  if (b0 < 0x80) {
    cp = b0;
    return 1;
  } else if ((b0 & 0xE0) == 0xC0) {
    len = 2, cp = b0 & 0x1F, min = 0x80;
  } else if ((b0 & 0xF0) == 0xE0) {
    len = 3, cp = b0 & 0x0F, min = 0x800;
  } else if ((b0 & 0xF8) == 0xF0) {
    len = 4, cp = b0 & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > s.size()) return 0;
  for (size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return len;
}

}  // namespace

void DecodeUtf8(std::string_view s, std::u32string& out) {
  out.clear();
  out.reserve(s.size());
  for (size_t i = 0; i < s.size();) {
    char32_t cp;
    const size_t len = ValidSequenceLength(s, i, cp);
    if (len == 0) {
      out.push_back(kEscapeBase + static_cast<unsigned char>(s[i]));
      ++i;
    } else {
      out.push_back(cp);
      i += len;
    }
  }
}

std::u32string DecodeUtf8(std::string_view s) {
  std::u32string out;
  DecodeUtf8(s, out);
  return out;
}

void AppendUtf8(char32_t c, std::string& out) {
  if (c >= kEscapeBase + 0x80 && c <= kEscapeBase + 0xFF) {
    out.push_back(static_cast<char>(c - kEscapeBase));
  } else if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

std::string EncodeUtf8(std::u32string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char32_t c : s) AppendUtf8(c, out);
  return out;
}

bool IsValidUtf8(std::string_view s) {
  for (size_t i = 0; i < s.size();) {
    char32_t cp;
    const size_t len = ValidSequenceLength(s, i, cp);
    if (len == 0) return false;
    i += len;
  }
  return true;
}

bool IsAscii(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

std::u16string Utf8ToUtf16(std::string_view s) {
  std::u16string out;
  out.reserve(s.size());
  for (char32_t c : DecodeUtf8(s)) {
    if (c >= 0x10000) {
      c -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(c));
    }
  }
  return out;
}

std::string Utf16ToUtf8(std::u16string_view s) {
  std::string out;
  out.reserve(s.size());
  for (size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF) {
      c = 0x10000 + ((c - 0xD800) << 10) + (s[i + 1] - 0xDC00);
      ++i;
    } else if (c >= 0xD800 && c <= 0xDFFF) {
      c = 0xFFFD;
    }
    AppendUtf8(c, out);
  }
  return out;
}

std::string Latin1ToUtf8(std::string_view s) {
  std::string out;
  out.reserve(s.size());
  for (char c : s) AppendUtf8(static_cast<unsigned char>(c), out);
  return out;
}

char32_t FoldCase(char32_t c) {
  if (c < 0x80) return (c >= 'A' && c <= 'Z') ? c + 32 : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return c + 32;  // Latin-1
  if (c >= 0x100 && c <= 0x17F) {                           // Latin Extended-A
    if (c == 0x130) return 'i';
    if (c == 0x178) return 0xFF;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return (c & 1) ? c + 1 : c;
    if (c == 0x131 || c == 0x138 || c == 0x149 || c == 0x17F) return c;
    return (c & 1) ? c : c + 1;
  }
  if (c >= 0x391 && c <= 0x3AB && c != 0x3A2) return c + 32;  // Greek
  if (c >= 0x410 && c <= 0x42F) return c + 32;                // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  return c;
}

bool SameTextFolded(std::string_view a, std::string_view b) {
  if (a.size() == b.size() && a == b) return true;
  const std::u32string ua = DecodeUtf8(a), ub = DecodeUtf8(b);
  if (ua.size() != ub.size()) return false;
  for (size_t i = 0; i < ua.size(); ++i)
    if (FoldCase(ua[i]) != FoldCase(ub[i])) return false;
  return true;
}

std::vector<std::string> SplitLines(std::string_view text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    lines.emplace_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  if (start < text.size()) lines.emplace_back(text.substr(start));
  return lines;
}

std::string FormatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int n = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  std::string out(n > 0 ? static_cast<size_t>(n) : 0, '\0');
  if (n > 0) std::vsnprintf(out.data(), out.size() + 1, format, again);
  va_end(again);
  return out;
}

std::string ReplacedOnce(std::string text, std::string_view what, std::string_view with) {
  if (const size_t at = text.find(what); at != std::string::npos) text.replace(at, what.size(), with);
  return text;
}

std::string PadLeft(std::string_view text, size_t width) {
  size_t chars = 0;
  for (char c : text)
    if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++chars;
  return std::string(chars < width ? width - chars : 0, ' ') + std::string(text);
}

bool StartsWith(std::string_view s, std::string_view prefix) { return s.substr(0, prefix.size()) == prefix; }

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

size_t DisplayControlAt(std::string_view text, size_t i) {
  const auto b = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  if (b(i) < 0x20 || b(i) == 0x7f) return 1;
  if (b(i) == 0xc2 && i + 1 < text.size() && b(i + 1) >= 0x80 && b(i + 1) <= 0x9f) return 2;
  if (b(i) == 0xe2 && i + 2 < text.size() && b(i + 1) == 0x80 && (b(i + 2) == 0xa8 || b(i + 2) == 0xa9)) return 3;
  return 0;
}

bool HasDisplayControls(std::string_view text) {
  for (size_t i = 0; i < text.size(); ++i)
    if (DisplayControlAt(text, i) != 0) return true;
  return false;
}

std::string ShellQuoted(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  std::string out = "$'";
  for (size_t i = 0; i < text.size();) {
    if (const size_t n = DisplayControlAt(text, i); n != 0) {
      for (const size_t end = i + n; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        out += {'\\', 'x', kHex[byte >> 4], kHex[byte & 0xf]};
      }
      continue;
    }
    if (text[i] == '\\' || text[i] == '\'') out += '\\';
    out += text[i++];
  }
  out += '\'';
  return out;
}

std::optional<std::string> ShellUnquoted(std::string_view quoted) {
  if (quoted.size() < 3 || !quoted.starts_with("$'") || quoted.back() != '\'') return std::nullopt;
  const std::string_view body = quoted.substr(2, quoted.size() - 3);
  const auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  std::string out;
  for (size_t i = 0; i < body.size(); ++i) {
    const char c = body[i];
    if (c == '\'') return std::nullopt;  // a quote ends the quote: not one whole quote
    if (c != '\\') {
      out += c;
      continue;
    }
    if (++i == body.size()) return std::nullopt;
    switch (const char e = body[i]) {
      case '\\': case '\'': case '"': out += e; break;
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case 'r': out += '\r'; break;
      case 'x': {
        int value = -1;
        for (int digits = 0; digits < 2 && i + 1 < body.size() && hex(body[i + 1]) >= 0; ++digits)
          value = (value < 0 ? 0 : value * 16) + hex(body[++i]);
        if (value < 0) return std::nullopt;
        out += static_cast<char>(value);
        break;
      }
      default: return std::nullopt;
    }
  }
  return out;
}

std::string ShownName(std::string_view text) {
  return HasDisplayControls(text) ? ShellQuoted(text) : std::string(text);
}

}  // namespace vorlo
