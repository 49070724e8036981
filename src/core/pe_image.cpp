#include "core/pe_image.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <new>
#include <vector>

#include "core/day_number.h"

namespace vorlo {
namespace {

constexpr size_t DosHeaderSize = 64;
constexpr size_t PeHeaderSize = 248;  // signature, file header, 224-byte optional header
constexpr size_t OptionalHeaderSize = 224;
constexpr size_t SectionHeaderSize = 40;
constexpr uint16_t Pe32Magic = 0x10B;

uint16_t U16(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t U32(const char* p) {
  const auto* b = reinterpret_cast<const unsigned char*>(p);
  return uint32_t{b[0]} | uint32_t{b[1]} << 8 | uint32_t{b[2]} << 16 | uint32_t{b[3]} << 24;
}

bool ReadExactly(ByteSource& source, uint64_t offset, char* out, size_t count) {
  return source.ReadAt(offset, out, count) == count;
}

class StringSource final : public ByteSource {
 public:
  explicit StringSource(std::string_view bytes) : bytes_(bytes) {}
  size_t ReadAt(uint64_t offset, char* out, size_t count) override {
    if (offset >= bytes_.size()) return 0;
    const size_t n = std::min<uint64_t>(count, bytes_.size() - offset);
    std::memcpy(out, bytes_.data() + offset, n);
    return n;
  }

 private:
  std::string_view bytes_;
};

class FileSource final : public ByteSource {
 public:
  explicit FileSource(const std::string& name) : in_(name, std::ios::binary) {}
  bool IsOpen() const { return in_.is_open(); }
  size_t ReadAt(uint64_t offset, char* out, size_t count) override {
    in_.clear();
    if (!in_.seekg(static_cast<std::streamoff>(offset))) return 0;
    in_.read(out, static_cast<std::streamsize>(count));
    return static_cast<size_t>(in_.gcount());
  }

 private:
  std::ifstream in_;
};

}  // namespace

std::optional<uint32_t> DosDateTimeToSeconds(uint16_t date, uint16_t time) {
  const int year = 1980 + (date >> 9);
  const unsigned month = (date >> 5) & 0x0F, day = date & 0x1F;
  const unsigned hour = time >> 11, minute = (time >> 5) & 0x3F, second = (time & 0x1F) * 2u;
  static constexpr unsigned MonthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12 || day < 1) return std::nullopt;
  const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
  if (day > MonthDays[month - 1] + (month == 2 && leap ? 1u : 0u)) return std::nullopt;
  if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
  const int64_t seconds = DaysFromCivil(year, month, day) * 86400 + hour * 3600 + minute * 60 + second;
  // DOS years reach 2107, beyond what 32 bits of seconds can hold.
  if (seconds > int64_t{UINT32_MAX}) return std::nullopt;
  return static_cast<uint32_t>(seconds);
}

uint32_t GetImageLinkTimeStamp(ByteSource& source) {
  char dos[DosHeaderSize];
  uint64_t peOffset = 0;
  if (ReadExactly(source, 0, dos, sizeof dos) && dos[0] == 'M' && dos[1] == 'Z') peOffset = U32(dos + 60);

  char pe[PeHeaderSize];
  if (!ReadExactly(source, peOffset, pe, sizeof pe) || std::memcmp(pe, "PE\0\0", 4) != 0) return 0;
  const char* fileHeader = pe + 4;
  const char* optional = pe + 24;
  const uint32_t stamp = U32(fileHeader + 4);
  if (stamp != PlaceholderLinkStamp) return stamp;

  const uint16_t optionalSize = U16(fileHeader + 16);
  if (optionalSize < OptionalHeaderSize || U16(optional) != Pe32Magic) return stamp;

  const size_t sectionCount = U16(fileHeader + 2);
  std::vector<char> sections;
  try {
    sections.resize(sectionCount * SectionHeaderSize);
  } catch (const std::bad_alloc&) {
    return stamp;
  }
  const uint64_t tableOffset = peOffset + PeHeaderSize + (optionalSize - OptionalHeaderSize);
  if (!ReadExactly(source, tableOffset, sections.data(), sections.size())) return stamp;

  // Entry 2 of the data directory, which starts 96 bytes into the optional header.
  const uint64_t resAddress = U32(optional + 96 + 2 * 8), resSize = U32(optional + 96 + 2 * 8 + 4);
  uint64_t resOffset = 0;
  bool found = false;
  for (size_t i = 0; i < sectionCount && !found; ++i) {
    const char* s = sections.data() + i * SectionHeaderSize;
    const uint64_t virtualAddress = U32(s + 12), rawSize = U32(s + 16), rawOffset = U32(s + 20);
    if (virtualAddress <= resAddress && virtualAddress + rawSize >= resAddress + resSize) {
      resOffset = rawOffset + (resAddress - virtualAddress);
      found = true;
    }
  }
  if (!found || resOffset == 0) return stamp;

  char directory[16];
  if (!ReadExactly(source, resOffset, directory, sizeof directory)) return stamp;
  const uint32_t dosStamp = U32(directory + 4);
  const std::optional<uint32_t> seconds =
      DosDateTimeToSeconds(static_cast<uint16_t>(dosStamp >> 16), static_cast<uint16_t>(dosStamp & 0xFFFF));
  return seconds ? *seconds : stamp;
}

uint32_t GetImageLinkTimeStamp(std::string_view bytes) {
  StringSource source(bytes);
  return GetImageLinkTimeStamp(source);
}

uint32_t GetImageLinkTimeStampOfFile(const std::string& fileName) {
  FileSource source(fileName);
  if (!source.IsOpen()) return 0;
  return GetImageLinkTimeStamp(source);
}

}  // namespace vorlo
