#include "cli/list_format.h"

#include <cstdio>

#include "core/text.h"

namespace vorlo::cli {

namespace {

std::string Number(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

std::string QuotedList(const SpecList& specs) {
  std::string out = "[";
  for (size_t i = 0; i < specs.size(); ++i) out += (i ? ", " : "") + Quoted(specs[i]);
  return out + "]";
}

std::string Restriction(bool on, int32_t type, const std::string& data1, const std::string& data2) {
  return std::string(on ? "on" : "off") + " type=" + std::to_string(type) + " " + data1 + " " + data2;
}

}  // namespace

std::string Quoted(std::string_view text) {
  std::string out = "\"";
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\t': out += "\\t"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      default:
        // Every other control a terminal may act on, byte by byte.
        if (const size_t n = DisplayControlAt(text, i); n != 0) {
          for (const size_t end = i + n; i < end; ++i) {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02X", static_cast<unsigned char>(text[i]));
            out += buf;
          }
          continue;
        }
        out += c;
    }
    ++i;
  }
  return out + "\"";
}

std::string FormatJunkType(const TJunkFileObj& t) {
  std::string dirs = "[";
  for (size_t i = 0; i < t.Dirs().size(); ++i)
    dirs += (i ? ", " : "") + Quoted(t.Dirs()[i].path) + ":" + std::to_string(static_cast<int32_t>(t.Dirs()[i].rule));
  dirs += "]";
  return "name=" + Quoted(t.TypName()) + " checked=" + (t.IsChecked() ? "yes" : "no") +
         " method=" + std::to_string(static_cast<int32_t>(t.Backtype())) + " dirs=" + dirs +
         " deletes=" + QuotedList(t.Deletes()) + " prots=" + QuotedList(t.Prots()) + " date=(" +
         Restriction(t.DateRestrict(), t.DateRestrictType(), Number(t.DateData1()), Number(t.DateData2())) +
         ") age=(" +
         Restriction(t.AgeRestrict(), t.AgeRestrictType(), std::to_string(t.AgeData1()),
                     std::to_string(t.AgeData2())) +
         ") size=(" +
         Restriction(t.SizeRestrict(), t.SizeRestrictType(), std::to_string(t.SizeData1()),
                     std::to_string(t.SizeData2())) +
         " unit=" + std::to_string(t.SizeUnit()) + ")";
}

}  // namespace vorlo::cli
