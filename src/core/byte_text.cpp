#include "core/byte_text.h"

namespace vorlo {

namespace {

constexpr int64_t kLimit = 9999;

struct Unit {
  int shift;  // the unit is 2^shift bytes
  const char* word;
};

constexpr const char* kBytesWord = " bytes";
constexpr Unit kUnits[] = {{10, " KB"}, {20, " MB"}, {30, " GB"}};

std::string Grouped(uint64_t whole, const std::string& thousands) {
  const std::string digits = std::to_string(whole);
  std::string out;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += thousands;
    out += digits[i];
  }
  return out;
}

// n / 2^shift in hundredths, rounded half away from zero (n is positive).
// Split into quotient and remainder so that nothing overflows 64 bits.
uint64_t Hundredths(uint64_t n, int shift) {
  const uint64_t mask = (uint64_t{1} << shift) - 1;
  const uint64_t scaled = (n & mask) * 100;  // below 2^37
  const uint64_t fraction = scaled >> shift;
  const bool roundUp = (scaled & mask) * 2 >= (uint64_t{1} << shift);
  return (n >> shift) * 100 + fraction + (roundUp ? 1 : 0);
}

}  // namespace

std::string StringForCount(uint64_t n, const NumberSeparators& separators) { return Grouped(n, separators.thousands); }

std::string StringForBytes(int64_t n, const NumberSeparators& separators) {
  if (n < kLimit) {
    // Negate in unsigned arithmetic so that the smallest value does not overflow.
    const uint64_t magnitude = n < 0 ? uint64_t{0} - static_cast<uint64_t>(n) : static_cast<uint64_t>(n);
    return (n < 0 ? "-" : "") + Grouped(magnitude, separators.thousands) + kBytesWord;
  }
  const auto u = static_cast<uint64_t>(n);
  const Unit* unit = &kUnits[0];
  for (const Unit& candidate : kUnits) {
    unit = &candidate;
    if ((u >> candidate.shift) < static_cast<uint64_t>(kLimit)) break;
  }
  const uint64_t hundredths = Hundredths(u, unit->shift);
  const uint64_t cents = hundredths % 100;
  std::string text = Grouped(hundredths / 100, separators.thousands) + separators.decimal;
  text += static_cast<char>('0' + cents / 10);
  text += static_cast<char>('0' + cents % 10);
  return text + unit->word;
}

}  // namespace vorlo
