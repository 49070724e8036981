// The text of an amount of disk space: bytes, KB, MB or GB (powers of two),
// keeping the number below about ten thousand, with the user's separators.
#pragma once

#include <cstdint>
#include <string>

#include "platform/locale_info.h"

namespace vorlo {

// "9,998 bytes", "9.76 KB", "1,048,576.00 GB"; negative counts as bytes with
// a leading minus. Exact for every 64-bit count.
std::string StringForBytes(int64_t n, const NumberSeparators& separators);

// A count with the user's thousands separator: "1,234,567".
std::string StringForCount(uint64_t n, const NumberSeparators& separators);

}  // namespace vorlo
