// Texts for the screen. The program keeps UTF-8 byte strings (paths may hold
// bytes that are not UTF-8); widgets take QString.
#pragma once

#include <QString>
#include <string_view>

namespace vorlo {

// Text for the screen; bytes that are not UTF-8 are shown replaced. Never
// turn the result back into a path.
QString DisplayText(std::string_view utf8);

}  // namespace vorlo
