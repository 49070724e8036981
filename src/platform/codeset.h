// Text of a locale in a legacy code set, converted to the program's UTF-8.
#pragma once

#include <optional>
#include <string>

namespace vorlo {

// Nothing when the code set is unknown or the text does not convert.
[[nodiscard]] std::optional<std::string> ConvertToUtf8(const std::string& text, const char* codeset);

}  // namespace vorlo
