#include "core/junk_list_file.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "support/temp_dir.h"

namespace vorlo {
namespace {

using enum CleanupMethod;
using enum FolderRule;

std::string Hex(std::string_view bytes) {
  static const char* digits = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : bytes) {
    if (!out.empty()) out += ' ';
    out += digits[c >> 4];
    out += digits[c & 15];
  }
  return out;
}

std::string Record(const TJunkFileObj& t) {
  std::string out;
  t.SaveToStream(out);
  return out;
}

std::string TextBytes(std::string_view text) {
  std::string out;
  ByteWriter(out).WriteText(text);
  return out;
}

std::string IntegerBytes(int32_t v) {
  std::string out;
  ByteWriter(out).WriteInteger(v);
  return out;
}

TEST(JunkListFile, EmptyTypeRecordIsTheFiftyOneByteExample) {
  TJunkFileObj t;
  t.SetTypName("Tmp");
  const std::string zeros8 = "00 00 00 00 00 00 00 00";
  EXPECT_EQ(Hex(Record(t)), "06 03 54 6D 70 09 02 00 02 00 02 00 02 00 08 02 00 11 " + zeros8 + " 11 " + zeros8 +
                                " 08 02 00 02 00 02 00 08 02 00 02 00 02 00 02 00");
  EXPECT_EQ(Record(t).size(), 51u);

  t.SetDirs({{"/", pFolOnly}});
  const std::string withFolder = Hex(Record(t));
  EXPECT_EQ(withFolder.substr(0, 3 * 13 - 1), "06 03 54 6D 70 09 02 00 02 01 06 01 2F");
  EXPECT_EQ(withFolder.substr(3 * 13, 5), "02 01");
}

TEST(JunkListFile, TextChoosesTheShortestTaggedForm) {
  const struct {
    std::string text;
    std::string hexPrefix;
    size_t size;
  } cases[] = {
      {"", "12 00 00 00 00", 5},
      {"Tmp", "06 03 54 6D 70", 5},
      {std::string(255, 'a'), "06 FF 61", 257},
      {std::string(256, 'a'), "0C 00 01 00 00 61", 261},
      {"Gr\xC3\xB6\xC3\x9F" "e", "14 07 00 00 00", 12},               // 7 UTF-8 bytes, 5 units
      {"\xE4\xB8\xAD\xE6\x96\x87", "12 02 00 00 00 2D 4E 87 65", 9},  // two CJK characters
      {"\xC3\xA4\xC3\xA4", "12 02 00 00 00 E4 00 E4 00", 9},          // ää
      {"\xC3\xA4" "a", "14 03 00 00 00 C3 A4 61", 8},                  // äa
      {"bad\xFF", "14 04 00 00 00 62 61 64 FF", 9},                    // stray byte kept
  };
  for (const auto& c : cases) {
    const std::string bytes = TextBytes(c.text);
    EXPECT_EQ(Hex(bytes).substr(0, c.hexPrefix.size()), c.hexPrefix) << c.text;
    EXPECT_EQ(bytes.size(), c.size) << c.text;
    ByteReader reader(bytes);
    EXPECT_EQ(reader.ReadText(), c.text);
    EXPECT_TRUE(reader.AtEnd());
  }
}

TEST(JunkListFile, IntegersUseTheSmallestForm) {
  const struct {
    int32_t value;
    std::string hex;
  } cases[] = {{0, "02 00"},       {-5, "02 FB"},          {127, "02 7F"},          {-128, "02 80"},
               {128, "03 80 00"},  {300, "03 2C 01"},      {-32768, "03 00 80"},    {32768, "04 00 80 00 00"},
               {100000, "04 A0 86 01 00"}, {-2147483647 - 1, "04 00 00 00 80"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Hex(IntegerBytes(c.value)), c.hex);
    ByteReader reader(IntegerBytes(c.value));
    EXPECT_EQ(reader.ReadInteger(), c.value);
  }
}

TEST(JunkListFile, ReaderAcceptsEveryTagOfItsPlace) {
  using namespace std::string_literals;
  EXPECT_EQ(ByteReader("\x0C\x02\x00\x00\x00hi"s).ReadText(), "hi");
  EXPECT_EQ(ByteReader("\x06\x02\xE9t"s).ReadText(), "\xE9t");  // single-byte text kept as bytes
  EXPECT_DOUBLE_EQ(ByteReader("\x13\x10\x00\x00\x00\x00\x00\x00\x00"s).ReadDate(), 16.0);
  EXPECT_DOUBLE_EQ(ByteReader("\x03\x2C\x01"s).ReadDate(), 300.0);
  EXPECT_DOUBLE_EQ(ByteReader("\x02\xFF"s).ReadDate(), -1.0);
  EXPECT_TRUE(ByteReader("\x09"s).ReadBoolean());
  EXPECT_THROW(ByteReader("\x02\x01"s).ReadBoolean(), ListReadError);
  EXPECT_THROW(ByteReader("\x13\x01\x00\x00\x00\x00\x00\x00\x00"s).ReadInteger(), ListReadError);
  EXPECT_THROW(ByteReader("\x04\x01\x00\x00\x00"s).ReadText(), ListReadError);
}

TEST(JunkListFile, WriteReadWriteIsIdentical) {
  std::vector<TJunkFileObj> list;
  list.emplace_back("Gr\xC3\xB6\xC3\x9F" "e", false, cuHolding,
                    FolderList{{"/tmp/", pFolOnly}, {"/var/x", FolderRule{7}}},
                    SpecList{"*.tmp", "", std::string(300, 'x')}, SpecList{"\xE4\xB8\xAD.*"},
                    DateRestriction{true, 3, 45000.7, 45010.2}, AgeRestriction{true, 4, 6, 2},
                    SizeRestriction{{true, 2, 100000, -5}, 1});
  list.emplace_back();
  // Numbers outside every named value are kept as stored.
  list.emplace_back("odd", true, CleanupMethod{-7}, FolderList{{"/", FolderRule{300}}}, SpecList{}, SpecList{},
                    DateRestriction{false, 9, 1, 0}, AgeRestriction{true, -1, 40, -2},
                    SizeRestriction{{true, 77, 1, 2}, 9});
  const std::string first = WriteJunkList(list);
  const JunkListRead read = ReadJunkList(first);
  ASSERT_FALSE(read.error);
  ASSERT_EQ(read.types.size(), 3u);
  EXPECT_EQ(read.types[0], list[0]);
  EXPECT_EQ(read.types[2], list[2]);
  EXPECT_EQ(WriteJunkList(read.types), first);
  EXPECT_TRUE(ReadJunkList("").types.empty());
}

TEST(JunkListFile, BadInputKeepsTheRecordsBeforeIt) {
  std::vector<TJunkFileObj> three(3);
  three[0].SetTypName("one");
  three[1].SetTypName("two");
  three[2].SetTypName("three");
  const std::string whole = WriteJunkList(three);
  const std::string cut = whole.substr(0, whole.size() - 10);
  JunkListRead read = ReadJunkList(cut);
  ASSERT_EQ(read.types.size(), 2u);
  EXPECT_EQ(read.types[1].TypName(), "two");
  ASSERT_TRUE(read.error);
  EXPECT_NE(read.error->find("record 3"), std::string::npos);

  std::string badTag = whole;
  badTag[Record(three[0]).size()] = 7;  // second record's name tag
  read = ReadJunkList(badTag);
  EXPECT_EQ(read.types.size(), 1u);
  EXPECT_TRUE(read.error);

  using namespace std::string_literals;
  for (const std::string& junk : {"\x12\xFF\xFF\xFF\x7F"s, "\x14\xFF\xFF\xFF\xFF"s, "\x0C\x00\x00\x00\x40"s,
                                  "\x06\x03\x41\x41\x41\x09\x02\x00\x04\xFF\xFF\xFF\x7F"s}) {
    read = ReadJunkList(junk);
    EXPECT_TRUE(read.types.empty());
    EXPECT_TRUE(read.error);
  }
}

TEST(JunkListFile, RandomMegabytesGiveAnErrorNotACrash) {
  std::mt19937 random(7);
  std::string bytes(4u << 20, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  const JunkListRead read = ReadJunkList(bytes);
  EXPECT_TRUE(read.error);
}

TEST(JunkListFile, FileErrorsNameTheFile) {
  testing::TempDir dir;
  const std::string path = dir / "Vorlo.DAT";
  EXPECT_NE(LoadJTFromFile(path).error.value_or("").find(path), std::string::npos);

  SaveJTToFile(path, std::vector<TJunkFileObj>(2));
  EXPECT_EQ(LoadJTFromFile(path).types.size(), 2u);
  dir.Write("Vorlo.DAT", testing::ReadFile(path) + "\x06");
  const JunkListRead cut = LoadJTFromFile(path);
  EXPECT_EQ(cut.types.size(), 2u);
  EXPECT_NE(cut.error.value_or("").find(path), std::string::npos);
  EXPECT_THROW(SaveJTToFile(dir / "no/folder/x", {}), std::runtime_error);
}

}  // namespace
}  // namespace vorlo
