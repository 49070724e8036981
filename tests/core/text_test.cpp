#include "core/text.h"

#include <gtest/gtest.h>

#include <string>

namespace vorlo {
namespace {

using namespace std::string_literals;

// What a terminal is shown of a name reads back as the name, byte for byte;
// what is not one whole $'...' quote reads back as nothing.
TEST(Text, ShellQuotedNamesReadBack) {
  for (const std::string& name : {"/plain/a.tmp"s, "/one\ntwo\t.tmp"s, "/esc\x1b[2J it's \\ here"s, "/caf\xe9\x7f"s,
                                  "/nel\xc2\x85"s, "/\x01\x02\x03"s, ""s}) {
    const std::optional<std::string> back = ShellUnquoted(ShellQuoted(name));
    ASSERT_TRUE(back.has_value()) << ShellQuoted(name);
    EXPECT_EQ(*back, name);
  }
  const struct {
    const char* quoted;
    std::optional<std::string> text;
  } cases[] = {
      {"$'a\\nb\\tc\\rd\\\"e'", "a\nb\tc\rd\"e"},
      {"$'\\x9\\xA0z'", "\t\xa0z"s},
      {"$''", ""},
      {"/plain", std::nullopt},
      {"'single'", std::nullopt},
      {"$'open", std::nullopt},
      {"$'a'b'", std::nullopt},
      {"$'ends in \\'", std::nullopt},
      {"$'\\xg'", std::nullopt},
      {"$'\\q'", std::nullopt},
      {"$'", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ShellUnquoted(c.quoted), c.text) << c.quoted;
}

}  // namespace
}  // namespace vorlo
