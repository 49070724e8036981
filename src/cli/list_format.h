// One line of text per junk type, with every field, for vorlo-cli.
#pragma once

#include <string>
#include <string_view>

#include "core/junk_type.h"

namespace vorlo::cli {

// Texts are quoted; quotes, backslashes and control characters escaped.
std::string Quoted(std::string_view text);
std::string FormatJunkType(const TJunkFileObj& t);

}  // namespace vorlo::cli
