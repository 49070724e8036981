// Which local drive holds a path: the drive whose mount point is the
// longest whole-component prefix of it ("/home" holds "/home/a", not
// "/homework").
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorlo {

// The root as given in `roots`; nothing when no root contains the path.
std::optional<std::string> DriveOfPath(const std::vector<std::string>& roots, std::string_view path);

}  // namespace vorlo
