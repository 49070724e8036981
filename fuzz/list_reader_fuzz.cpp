// Feeds arbitrary bytes to the list reader: it must report an error or
// return records, never crash, hang or allocate without bound. Records it
// returns must survive a write and a second read unchanged.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/junk_list_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const vorlo::JunkListRead first = vorlo::ReadJunkList(bytes);
  const std::string written = vorlo::WriteJunkList(first.types);
  const vorlo::JunkListRead second = vorlo::ReadJunkList(written);
  if (second.error || second.types.size() != first.types.size()) std::abort();
  if (vorlo::WriteJunkList(second.types) != written) std::abort();
  return 0;
}
