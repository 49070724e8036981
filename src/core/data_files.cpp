#include "core/data_files.h"

#include "core/junk_list_file.h"
#include "platform/file_ops.h"

namespace vorlo {

StartupList LoadStartupList(const std::string& dataFolder,
                            const std::function<void(std::vector<TJunkFileObj>&)>& addDefaults) {
  StartupList result;
  const std::string dataFile = dataFolder + std::string(DatName);
  if (FileSize(dataFile) > 0) {
    JunkListRead read = LoadJTFromFile(dataFile);
    result.types = std::move(read.types);
    result.error = std::move(read.error);
    return result;
  }
  addDefaults(result.types);
  result.fromDefaults = true;
  return result;
}

}  // namespace vorlo
