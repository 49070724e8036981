// Paths as text: which local drive holds a path (the drive whose mount
// point is the longest whole-component prefix of it: "/home" holds
// "/home/a", not "/homework"), and paths percent-encoded.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlo {

// The root as given in `roots`; nothing when no root contains the path.
std::optional<std::string> DriveOfPath(const std::vector<std::string>& roots, std::string_view path);

// A path with every byte but the unreserved URI characters and "/" as %XX,
// so that newlines, blanks and invalid UTF-8 survive a line-based file (the
// trash's info files, the undo journal); and back (nothing for a broken
// escape).
std::string PercentEncoded(std::string_view path);
std::optional<std::string> PercentDecoded(std::string_view text);

}  // namespace vorlo
