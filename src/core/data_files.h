// The files of the data folder, and loading the junk list at start-up: from
// the data file when it holds anything, else from the default table.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/junk_type.h"

namespace vorlo {

inline constexpr std::string_view DatName = "Vorlo.DAT";
inline constexpr std::string_view DolName = "Vorlo.D$$";
inline constexpr std::string_view LogName = "Vorlo.LOG.TXT";
inline constexpr std::string_view TestName = "Vorlo.TEST.TXT";
inline constexpr std::string_view IniName = "Vorlo.ini";

struct StartupList {
  std::vector<TJunkFileObj> types;
  std::optional<std::string> error;  // a read error; the records before it are kept
  bool fromDefaults = false;
};

// `dataFolder` ends with "/". `addDefaults` appends the default table.
StartupList LoadStartupList(const std::string& dataFolder,
                            const std::function<void(std::vector<TJunkFileObj>&)>& addDefaults);

}  // namespace vorlo
