#include "platform/locale_info.h"

#include <gtest/gtest.h>

namespace vorlo {
namespace {

TEST(LocaleInfo, DateSeparatorOfFormat) {
  const struct {
    const char* format;
    const char* separator;
  } cases[] = {{"%m/%d/%Y", "/"}, {"%d.%m.%Y", "."}, {"%D", "/"},    {"%F", "-"},
               {"%Y. %m. %d.", "."}, {"%%d-%m.%Y", "."}, {"%x", ""}, {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(DateSeparatorOfFormat(c.format), c.separator) << c.format;
}

}  // namespace
}  // namespace vorlo
