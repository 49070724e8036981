#include "platform/paths.h"

namespace vorlo {

std::optional<std::string> DriveOfPath(const std::vector<std::string>& roots, std::string_view path) {
  const std::string* best = nullptr;
  size_t bestLength = 0;
  for (const std::string& root : roots) {
    std::string_view r = root;
    if (r.empty()) continue;
    while (r.size() > 1 && r.back() == '/') r.remove_suffix(1);
    if (!path.starts_with(r)) continue;
    const bool wholeComponent = r.back() == '/' || path.size() == r.size() || path[r.size()] == '/';
    if (wholeComponent && (!best || r.size() > bestLength)) {
      best = &root;
      bestLength = r.size();
    }
  }
  if (!best) return std::nullopt;
  return *best;
}

std::string PercentEncoded(std::string_view path) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(path.size());
  for (const char c : path) {
    const auto b = static_cast<unsigned char>(c);
    const bool plain = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
                       b == '.' || b == '_' || b == '~' || b == '/';
    if (plain) {
      out += c;
    } else {
      out += '%';
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
  }
  return out;
}

std::optional<std::string> PercentDecoded(std::string_view text) {
  const auto hex = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      out += text[i];
      continue;
    }
    const int hi = i + 1 < text.size() ? hex(text[i + 1]) : -1, lo = i + 2 < text.size() ? hex(text[i + 2]) : -1;
    if (hi < 0 || lo < 0) return std::nullopt;
    out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return out;
}

}  // namespace vorlo
