#include "core/byte_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace vorlo {
namespace {

TEST(ByteText, UnitsThresholdsAndRounding) {
  const NumberSeparators us;  // "," and "."
  const struct {
    int64_t n;
    const char* text;
  } cases[] = {
      {0, "0 bytes"},
      {1, "1 bytes"},
      {9998, "9,998 bytes"},
      {9999, "9.76 KB"},
      {10368, "10.13 KB"},          // 10.125 rounds away from zero
      {10238975, "9,999.00 KB"},    // quotient 9998, value 9998.999...
      {10238976, "9.76 MB"},
      {10485760000, "9.77 GB"},
      {int64_t{1} << 50, "1,048,576.00 GB"},
      {10367, "10.12 KB"},          // 10.1240... rounds down
      {-5, "-5 bytes"},
      {-1234567, "-1,234,567 bytes"},
      {std::numeric_limits<int64_t>::min(), "-9,223,372,036,854,775,808 bytes"},
      // 2^63-1 bytes is 2^33 GB less one byte: 8589934591.99999... rounds up.
      {std::numeric_limits<int64_t>::max(), "8,589,934,592.00 GB"},
  };
  for (const auto& c : cases) EXPECT_EQ(StringForBytes(c.n, us), c.text) << c.n;
}

TEST(ByteText, UsesTheGivenSeparators) {
  const NumberSeparators german{".", ","};
  EXPECT_EQ(StringForBytes(9998, german), "9.998 bytes");
  EXPECT_EQ(StringForBytes(10238975, german), "9.999,00 KB");
  EXPECT_EQ(StringForBytes(int64_t{1} << 50, german), "1.048.576,00 GB");
  EXPECT_EQ(StringForCount(1000000, german), "1.000.000");
  EXPECT_EQ(StringForCount(999, german), "999");

  const NumberSeparators none{"", "."};
  EXPECT_EQ(StringForBytes(1234567, none), "1205.63 KB");

  const NumberSeparators french{"\u202f", ","};  // narrow no-break space, several bytes
  EXPECT_EQ(StringForBytes(-1234567, french), "-1\u202f234\u202f567 bytes");
}

}  // namespace
}  // namespace vorlo
