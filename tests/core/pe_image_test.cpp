#include "core/pe_image.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/version_info.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

struct Section {
  uint32_t virtualAddress, rawSize, rawOffset;
};

struct Image {
  uint32_t stamp = PlaceholderLinkStamp;
  uint16_t magic = 0x10B;
  uint16_t optionalSize = 224;
  std::vector<Section> sections{{0x1000, 0x200, 0x400}, {0x2000, 0x200, 0x600}};
  uint32_t resAddress = 0x2010, resSize = 0x80;
  uint32_t resDosStamp = 0;  // at the resource directory (0x610 here)
};

void Put16(std::string& b, size_t at, uint16_t v) {
  b[at] = static_cast<char>(v);
  b[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string& b, size_t at, uint32_t v) {
  Put16(b, at, static_cast<uint16_t>(v));
  Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
}

// MZ header pointing to a PE header at 0x80, the section table after the
// optional header, and raw data up to 0x800.
std::string Build(const Image& img) {
  std::string b(0x800, '\0');
  b[0] = 'M';
  b[1] = 'Z';
  Put32(b, 60, 0x80);
  std::memcpy(&b[0x80], "PE\0\0", 4);
  const size_t fh = 0x84, opt = 0x98;
  Put16(b, fh, 0x14C);
  Put16(b, fh + 2, static_cast<uint16_t>(img.sections.size()));
  Put32(b, fh + 4, img.stamp);
  Put16(b, fh + 16, img.optionalSize);
  Put16(b, opt, img.magic);
  Put32(b, opt + 96 + 16, img.resAddress);
  Put32(b, opt + 96 + 20, img.resSize);
  size_t s = opt + img.optionalSize;
  for (const Section& sec : img.sections) {
    Put32(b, s + 12, sec.virtualAddress);
    Put32(b, s + 16, sec.rawSize);
    Put32(b, s + 20, sec.rawOffset);
    s += 40;
  }
  Put32(b, 0x610 + 4, img.resDosStamp);
  return b;
}

constexpr uint32_t Dos(int y, int mo, int d, int h, int mi, int s) {
  return uint32_t((y - 1980) << 9 | mo << 5 | d) << 16 | uint32_t(h << 11 | mi << 5 | s / 2);
}

TEST(PeImage, HeaderTimeStamp) {
  Image img;
  img.stamp = 0x5F5E1000;
  EXPECT_EQ(GetImageLinkTimeStamp(Build(img)), 0x5F5E1000u);
}

TEST(PeImage, PlaceholderTakesTheResourceDirectoryTime) {
  Image img;
  img.resDosStamp = Dos(2003, 8, 15, 13, 45, 30);
  EXPECT_EQ(GetImageLinkTimeStamp(Build(img)), 1060955130u);  // 2003-08-15 13:45:30
  // A longer optional header is skipped before the section table.
  img.optionalSize = 240;
  EXPECT_EQ(GetImageLinkTimeStamp(Build(img)), 1060955130u);
}

TEST(PeImage, PlaceholderKeptWhenTheRealTimeIsOutOfReach) {
  Image outside;  // the directory lies in no section
  outside.resAddress = 0x9000;
  outside.resDosStamp = Dos(2003, 8, 15, 13, 45, 30);
  Image badDate;  // month 13 cannot be converted
  badDate.resDosStamp = Dos(2003, 13, 1, 0, 0, 0);
  Image pe64;
  pe64.magic = 0x20B;
  pe64.resDosStamp = Dos(2003, 8, 15, 13, 45, 30);
  Image shortHeader;
  shortHeader.optionalSize = 200;
  for (const Image& img : {outside, badDate, pe64, shortHeader})
    EXPECT_EQ(GetImageLinkTimeStamp(Build(img)), PlaceholderLinkStamp);

  const CivilTime t = CivilTimeOfSeconds(PlaceholderLinkStamp);
  EXPECT_EQ((std::vector<int>{t.year, t.month, t.day, t.hour, t.minute, t.second}),
            (std::vector<int>{1992, 6, 19, 22, 22, 17}));
}

TEST(PeImage, NotAnImageGivesZero) {
  Image img;
  img.stamp = 12345;
  std::string notMz = Build(img);
  notMz[0] = 'X';
  EXPECT_EQ(GetImageLinkTimeStamp(notMz), 0u);
  EXPECT_EQ(GetImageLinkTimeStamp(Build(img).substr(0, 0x80 + 247)), 0u);  // truncated PE header
  EXPECT_EQ(GetImageLinkTimeStamp(std::string_view("MZ")), 0u);
  std::string noSignature = Build(img);
  noSignature[0x81] = 'X';
  EXPECT_EQ(GetImageLinkTimeStamp(noSignature), 0u);
}

TEST(PeImage, ReadsFiles) {
  const testing::TempDir dir;
  Image img;
  img.resDosStamp = Dos(2020, 2, 29, 23, 59, 58);
  const std::string path = dir.Write("a.exe", Build(img));
  EXPECT_EQ(GetImageLinkTimeStampOfFile(path), 1583020798u);  // 2020-02-29 23:59:58
  EXPECT_EQ(GetImageLinkTimeStampOfFile(dir / "missing.exe"), 0u);
  EXPECT_EQ(GetImageLinkTimeStampOfFile(dir.path()), 0u);
}

}  // namespace
}  // namespace vorlo
