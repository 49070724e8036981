// The link time of a 32-bit PE image: the header's time stamp, or, when a
// linker wrote its fixed placeholder instead, the MS-DOS date and time kept
// in the resource directory. A pure function over a byte source, so that
// images built in memory can be read as well as files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace vorlo {

// The value some linkers write in place of the link time.
inline constexpr uint32_t PlaceholderLinkStamp = 0x2A425E19;

// Random-access reads; a source returns how many bytes it copied, fewer
// than asked at its end or on an error.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual size_t ReadAt(uint64_t offset, char* out, size_t count) = 0;
};

// Seconds since 1 January 1970, or 0 when the bytes are not a readable
// 32-bit PE image.
uint32_t GetImageLinkTimeStamp(ByteSource& source);
uint32_t GetImageLinkTimeStamp(std::string_view bytes);
// The same for a file; 0 when it cannot be opened.
uint32_t GetImageLinkTimeStampOfFile(const std::string& fileName);

// An MS-DOS date and time taken as they are (no time zone) as seconds since
// 1970; nothing for an impossible date or time.
std::optional<uint32_t> DosDateTimeToSeconds(uint16_t date, uint16_t time);

}  // namespace vorlo
