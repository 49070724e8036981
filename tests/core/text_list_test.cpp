#include "core/text_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vorlo {
namespace {

using namespace std::string_literals;

// Every way in (push_back, a vector, a count of empty texts) gives back the
// same texts by index and by iteration, empty ones and odd bytes included.
TEST(TextList, GivesBackWhatWasPutIn) {
  const std::vector<std::vector<std::string>> cases = {
      {},
      {""},
      {"", "", ""},
      {"*.tmp", "", std::string(300, 'x'), "a\0b"s, "\xFF\xE4", ""},
  };
  for (const auto& texts : cases) {
    TextList pushed;
    pushed.reserve(texts.size());
    for (const std::string& t : texts) pushed.push_back(t);
    const TextList fromVector(texts);
    EXPECT_EQ(pushed, fromVector);
    ASSERT_EQ(pushed.size(), texts.size());
    EXPECT_EQ(pushed.empty(), texts.empty());
    for (size_t i = 0; i < texts.size(); ++i) EXPECT_EQ(pushed[i], texts[i]) << i;
    std::vector<std::string> iterated;
    for (const std::string_view t : pushed) iterated.emplace_back(t);
    EXPECT_EQ(iterated, texts);
    pushed.clear();
    EXPECT_EQ(pushed, TextList());
  }
  EXPECT_EQ(TextList(3), (TextList{"", "", ""}));
}

// Lists are equal only when their texts are: the same bytes cut differently
// are different lists.
TEST(TextList, EqualityComparesTheTextsNotTheBytes) {
  EXPECT_NE((TextList{"ab", ""}), (TextList{"a", "b"}));
  EXPECT_NE((TextList{"ab"}), (TextList{"ab", ""}));
  EXPECT_NE((TextList{""}), TextList());
  EXPECT_EQ((TextList{"a", "", "b"}), TextList(std::vector<std::string>{"a", "", "b"}));
}

}  // namespace
}  // namespace vorlo
