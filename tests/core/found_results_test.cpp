#include "core/found_results.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/dir_listing.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using namespace std::string_literals;
using testing::ReadFile;
using testing::TempDir;

struct Sample {
  uint32_t type;
  std::string path;
  int64_t size;
  int64_t mtimeNs;
  uint64_t dev, ino;
  uint32_t dupeOf = FoundEntry::kNotDupe;
};

// Names that are not UTF-8, hold a newline, a tab or an escape, share long
// prefixes with the path before them or none, and a path long enough for
// lengths of two and three varint bytes.
std::vector<Sample> Samples() {
  const std::string deep = "/home/u/" + std::string(300, 'd') + "/";
  return {
      {0, "/home/u/.cache/a.tmp", 0, 1'700'000'000'123'456'789, 2049, 12},
      {0, "/home/u/.cache/a.tm", 1, 1'700'000'000'000'000'000, 2049, 13},
      {0, "/home/u/.cache/caf\xe9.tmp"s, 4096, -5'000'000'000, 2049, UINT64_MAX},
      {0, "/home/u/.cache/one\ntwo\t\x1b[2J.tmp"s, INT64_MAX, 0, 0, 0},
      {1, "/x", 7, INT64_MIN, UINT64_MAX, 1},
      {1, deep + std::string(70000, 'n'), 12, 3, 4, 5},
      {1, deep + "m", 12, 3, 4, 6},
      {2, "/home/u/.cache/a.tmp", 0, 1'700'000'000'123'456'789, 2049, 12, 0},
      {2, "/r\xc3\xa9sum\xc3\xa9/\xff\xfe"s, 9, 9, 9, 9, 1},
      {2, "/", 0, 0, 0, 0},
  };
}

std::vector<FoundType> SampleTypes() {
  return {{0, "Thumbnail cache"}, {3, "Caf\xc3\xa9 \"backups\"\nand more"}, {41, ""}};
}

int Write(const std::string& path, const std::vector<FoundType>& types, const std::vector<Sample>& samples,
          bool stopped, int64_t startedAt = 1'700'000'000) {
  FoundResultsWriter writer;
  if (const int err = writer.Begin(path, startedAt)) return err;
  for (const FoundType& t : types) writer.AddType(t.row, t.name);
  for (const Sample& s : samples) writer.Add({s.type, s.path, s.size, s.mtimeNs, s.dev, s.ino, s.dupeOf});
  return writer.Finish(stopped);
}

void ExpectSamples(const FoundResults& r, const std::vector<Sample>& samples) {
  ASSERT_EQ(r.size(), samples.size());
  for (size_t i = 0; i < samples.size(); ++i) {
    const Sample& s = samples[i];
    EXPECT_EQ(r.Path(i), s.path) << i;
    EXPECT_EQ(r[i].type, s.type) << i;
    EXPECT_EQ(r[i].size, s.size) << i;
    EXPECT_EQ(r[i].mtimeNs, s.mtimeNs) << i;
    EXPECT_EQ(r[i].dev, s.dev) << i;
    EXPECT_EQ(r[i].ino, s.ino) << i;
    EXPECT_EQ(r[i].dupeOf, s.dupeOf) << i;
  }
}

TEST(FoundResults, RoundTripKeepsEveryByteAndFigure) {
  TempDir dir;
  const std::string path = dir / "Vorlo.found";
  for (const bool stopped : {false, true}) {
    ASSERT_EQ(Write(path, SampleTypes(), Samples(), stopped, -42), 0);
    const FoundResultsRead read = LoadFoundResults(path);
    ASSERT_TRUE(read.ok()) << read.message;
    EXPECT_EQ(read.results.Types(), SampleTypes());
    EXPECT_EQ(read.results.startedAt, -42);
    EXPECT_EQ(read.results.stopped, stopped);
    ExpectSamples(read.results, Samples());
  }
  const FoundResults r = LoadFoundResults(path).results;
  EXPECT_EQ(r.Name(2), "caf\xe9.tmp"s);
  EXPECT_EQ(r.Folder(2), "/home/u/.cache");
  EXPECT_EQ(r.Name(4), "x");
  EXPECT_EQ(r.Folder(4), "/");
  EXPECT_EQ(r.Name(9), "");
  EXPECT_TRUE(r[7].IsDupe());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);  // no new file left behind

  // Nothing found is a valid result too.
  ASSERT_EQ(Write(path, {}, {}, false), 0);
  const FoundResultsRead empty = LoadFoundResults(path);
  ASSERT_TRUE(empty.ok()) << empty.message;
  EXPECT_TRUE(empty.results.empty());
  EXPECT_TRUE(empty.results.Types().empty());
}

// Many records go out in several blocks; the old file stays until Finish,
// and an analysis given up, or one whose writing failed, leaves it as it was.
TEST(FoundResults, OldFileStaysUntilTheNewOneIsComplete) {
  TempDir dir;
  const std::string path = dir / "Vorlo.found";
  ASSERT_EQ(Write(path, SampleTypes(), Samples(), false), 0);
  const std::string old = ReadFile(path);

  FoundResultsWriter writer;
  ASSERT_EQ(writer.Begin(path, 5), 0);
  writer.AddType(0, "All");
  std::vector<Sample> many;
  for (uint32_t i = 0; i < 60000; ++i)
    many.push_back({0, "/data/folder" + std::to_string(i / 100) + "/file-" + std::to_string(i) + ".tmp", i, i, 1, i});
  for (const Sample& s : many) writer.Add({s.type, s.path, s.size, s.mtimeNs, s.dev, s.ino});
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 2);
  EXPECT_EQ(ReadFile(path), old);
  writer.Abandon();
  EXPECT_EQ(ReadFile(path), old);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  ASSERT_EQ(writer.Begin(path, 5), 0);
  writer.AddType(0, "All");
  for (const Sample& s : many) writer.Add({s.type, s.path, s.size, s.mtimeNs, s.dev, s.ino});
  EXPECT_EQ(writer.Count(), many.size());
  ASSERT_EQ(writer.Finish(false), 0);
  EXPECT_GT(std::filesystem::file_size(path), 1u << 20);  // more than one block
  const FoundResultsRead read = LoadFoundResults(path);
  ASSERT_TRUE(read.ok()) << read.message;
  ExpectSamples(read.results, many);

  // A file size limit makes the writing fail, for root too.
  const std::string now = ReadFile(path);
  EXPECT_TRUE(testing::PassesInChild([&] {
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit small{4096, 4096};
    if (::setrlimit(RLIMIT_FSIZE, &small) != 0) return false;
    FoundResultsWriter failing;
    if (failing.Begin(path, 1) != 0) return false;
    failing.AddType(0, "All");
    for (const Sample& s : many) failing.Add({s.type, s.path, s.size, s.mtimeNs, s.dev, s.ino});
    return failing.Error() == EFBIG && failing.Finish(false) == EFBIG;
  }));
  EXPECT_EQ(ReadFile(path), now);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// The bytes of a results file built by hand, with a correct check sum, so
// that the reader's own tests of the structure are what refuses them.
class Crafted {
 public:
  explicit Crafted(uint32_t version = 1) {
    bytes_ = "VORLOFND";
    Fixed(version);
    Fixed(uint32_t{0});
    Fixed(int64_t{0});
  }
  Crafted& Varint(uint64_t v) {
    for (; v >= 0x80; v >>= 7) bytes_ += static_cast<char>((v & 0x7F) | 0x80);
    bytes_ += static_cast<char>(v);
    return *this;
  }
  Crafted& Raw(std::string_view s) {
    bytes_ += s;
    return *this;
  }
  // One file record: the path whole (nothing shared) unless `shared` is given.
  Crafted& Record(uint64_t type, std::string_view path, uint64_t dupe = 0, uint64_t shared = 0) {
    Varint(type).Varint(dupe).Varint(shared).Varint(path.size()).Raw(path);
    return Varint(1).Varint(2).Varint(3).Varint(4);
  }
  Crafted& TypesStart() {
    typesAt_ = bytes_.size();
    return *this;
  }
  std::string Finish(uint64_t count, uint64_t pathBytes, uint32_t types) {
    Fixed(uint64_t{typesAt_});
    Fixed(count);
    Fixed(pathBytes);
    Fixed(types);
    Fixed(uint32_t{0});
    uint64_t h = 0xcbf29ce484222325ull;
    for (const char c : bytes_) h = (h ^ static_cast<unsigned char>(c)) * 0x100000001b3ull;
    Fixed(h);
    return bytes_;
  }

 private:
  template <typename T>
  void Fixed(T v) {
    char b[sizeof v];
    std::memcpy(b, &v, sizeof v);
    bytes_.append(b, sizeof v);
  }
  std::string bytes_;
  size_t typesAt_ = 0;
};

std::string OneType(Crafted c) { return c.TypesStart().Varint(0).Varint(1).Raw("T").Finish(1, 2, 1); }

// Whatever is wrong with a file, it is refused with a message that names
// the file and says what is wrong; nothing of it is kept.
TEST(FoundResults, DamagedOrForeignFilesAreRefusedWithTheirReason) {
  TempDir dir;
  const std::string path = dir / "Vorlo.found";
  ASSERT_EQ(Write(path, SampleTypes(), Samples(), false), 0);
  const std::string good = ReadFile(path);
  ASSERT_TRUE(ParseFoundResults(OneType(Crafted().Record(0, "/a")), path).ok());

  std::string flipped = good;
  flipped[good.size() / 2] ^= 0x20;
  std::string newer = good;
  newer[8] = 2;
  const struct {
    const char* what;
    std::string bytes;
    std::string says;
  } cases[] = {
      {"empty", "", "is not a file of found files."},
      {"a text file", "/home/u/a.tmp\n", "is not a file of found files."},
      {"a newer format", newer, "was written by a newer version of Vorlo."},
      {"header only", good.substr(0, 24), "is damaged: it ends early."},
      {"cut short", good.substr(0, good.size() - 1), "is damaged: its contents do not match their check sum."},
      {"cut in half", good.substr(0, good.size() / 2), "is damaged: its contents do not match their check sum."},
      {"one byte changed", flipped, "is damaged: its contents do not match their check sum."},
      {"format 0", OneType(Crafted(0).Record(0, "/a")), "is damaged: its format version is 0."},
      {"unknown type", OneType(Crafted().Record(1, "/a")), "is damaged: file record 1 is not valid."},
      {"unknown earlier type", OneType(Crafted().Record(0, "/a", 2)), "is damaged: file record 1 is not valid."},
      {"relative path", OneType(Crafted().Record(0, "a/")), "is damaged: file record 1 is not valid."},
      {"zero byte in path", OneType(Crafted().Record(0, "/\0"s)), "is damaged: file record 1 is not valid."},
      {"shares more than there was", OneType(Crafted().Record(0, "/a", 0, 1)),
       "is damaged: file record 1 is not valid."},
      {"length past the end", OneType(Crafted().Varint(0).Varint(0).Varint(0).Varint(50).Raw("/abcdefgh")),
       "is damaged: file record 1 is not valid."},
      {"more records than bytes", Crafted().Record(0, "/a").TypesStart().Varint(0).Varint(0).Finish(2, 2, 1),
       "is damaged: its table of contents is not valid."},
      {"fewer records than there are", Crafted().Record(0, "/a").Record(0, "/b").TypesStart().Varint(0).Varint(0)
                                           .Finish(1, 2, 1),
       "is damaged: its table of contents is not valid."},
      {"more path bytes", Crafted().Record(0, "/a").TypesStart().Varint(0).Varint(0).Finish(1, 3, 1),
       "is damaged: its table of contents is not valid."},
      {"fewer path bytes", Crafted().Record(0, "/a").TypesStart().Varint(0).Varint(0).Finish(1, 1, 1),
       "is damaged: file record 1 is not valid."},
      {"paths of a hundred gigabytes", Crafted().Record(0, "/a").TypesStart().Varint(0).Varint(0)
                                           .Finish(1, uint64_t{100} << 30, 1),
       "is damaged: its table of contents is not valid."},
      {"a billion types", Crafted().Record(0, "/a").TypesStart().Varint(0).Varint(0).Finish(1, 2, 1u << 30),
       "is damaged: its table of contents is not valid."},
      {"type name past the end", Crafted().Record(0, "/a").TypesStart().Varint(0).Varint(9).Finish(1, 2, 1),
       "is damaged: its junk types are not valid."},
      {"negative row", Crafted().Record(0, "/a").TypesStart().Varint(1).Varint(0).Finish(1, 2, 1),
       "is damaged: its junk types are not valid."},
      {"an overlong varint", OneType(Crafted().Raw("\x80\x80\x80\x80\x80\x80\x80\x80\x80\x02"s).Varint(0)),
       "is damaged: file record 1 is not valid."},
  };
  for (const auto& c : cases) {
    const FoundResultsRead read = ParseFoundResults(c.bytes, path);
    EXPECT_FALSE(read.ok()) << c.what;
    EXPECT_EQ(read.message, path + " " + c.says) << c.what;
    EXPECT_TRUE(read.results.empty()) << c.what;
  }

  const FoundResultsRead missing = LoadFoundResults(dir / "none");
  EXPECT_EQ(missing.error, ENOENT);
  EXPECT_EQ(missing.message, "Cannot read " + dir / "none" + ": No such file or directory");
  EXPECT_EQ(LoadFoundResults(dir.path()).error, EISDIR);
}

TEST(FoundResults, SubsetKeepsTheTypesAndTheChosenFilesInTheirOrder) {
  FoundResults all;
  for (const FoundType& t : SampleTypes()) all.AddType(t.row, t.name);
  for (const Sample& s : Samples()) all.Add({s.type, s.path, s.size, s.mtimeNs, s.dev, s.ino, s.dupeOf});
  all.startedAt = 77;
  const FoundResults some = all.Subset({8, 2, 5});
  EXPECT_EQ(some.Types(), SampleTypes());
  EXPECT_EQ(some.startedAt, 77);
  const std::vector<Sample> samples = Samples();
  ExpectSamples(some, {samples[8], samples[2], samples[5]});
  EXPECT_EQ(some.PathBytes(), samples[8].path.size() + samples[2].path.size() + samples[5].path.size());

  FileIdentity now{2049, UINT64_MAX, 4096, -5'000'000'000, 99};
  EXPECT_TRUE(some[1].Unchanged(now));  // the inode's change time is not asked
  for (auto change : {+[](FileIdentity& i) { ++i.dev; }, +[](FileIdentity& i) { --i.ino; },
                      +[](FileIdentity& i) { ++i.size; }, +[](FileIdentity& i) { ++i.mtimeNs; }}) {
    FileIdentity changed = now;
    change(changed);
    EXPECT_FALSE(some[1].Unchanged(changed));
  }
}

}  // namespace
}  // namespace vorlo
