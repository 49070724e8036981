#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cli/found_list.h"
#include "core/found_results.h"
#include "support/run_command.h"
#include "support/run_fixture.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using namespace std::string_literals;
using testing::CommandResult;
using testing::TempDir;

constexpr int64_t kNs = 1'000'000'000;

struct File {
  uint32_t type;
  std::string path;
  int64_t size;
  int64_t mtimeNs;
  uint32_t dupeOf = FoundEntry::kNotDupe;
};

// Types at rows 0 and 4 of the list; a name that is not UTF-8, one with a
// newline and a tab, a time before 1970, and a file both types found.
const std::vector<File> kFiles = {
    {0, "/home/u/.cache/caf\xe9.tmp"s, 12, 1'700'000'000 * kNs + 5},
    {0, "/home/u/.cache/one\ntwo\tthree.tmp", 0, -1},
    {1, "/home/u/.cache/caf\xe9.tmp"s, 12, 1'700'000'000 * kNs + 5, 0},
    {1, "/data/old~", 4096, 86'400 * kNs},
};

void WriteResults(const std::string& path) {
  FoundResultsWriter writer;
  ASSERT_EQ(writer.Begin(path, 1'700'000'000), 0);
  writer.AddType(0, "Cache");
  writer.AddType(4, "Backups");
  for (const File& f : kFiles) writer.Add({f.type, f.path, f.size, f.mtimeNs, 3, 4, f.dupeOf});
  ASSERT_EQ(writer.Finish(false), 0);
}

// What `found` prints, in UTC: the dupe is no line of its own.
const std::string kLines =
    "1\t12\t2023-11-14T22:13:20\t/home/u/.cache/caf\xe9.tmp\n"
    "1\t0\t1969-12-31T23:59:59\t$'/home/u/.cache/one\\x0atwo\\x09three.tmp'\n"
    "5\t4096\t1970-01-02T00:00:00\t/data/old~\n"s;
const std::string kNulLines =
    "1\t12\t2023-11-14T22:13:20\t/home/u/.cache/caf\xe9.tmp\0"
    "1\t0\t1969-12-31T23:59:59\t/home/u/.cache/one\ntwo\tthree.tmp\0"
    "5\t4096\t1970-01-02T00:00:00\t/data/old~\0"s;

class FoundCli : public ::testing::Test {
 protected:
  FoundCli() { std::filesystem::create_directories(Folder()); }
  std::string Folder() const { return home_ / "data/Vorlo"; }
  CommandResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), VORLO_CLI_PATH);
    return testing::RunCommand(args, {"HOME=" + home_.path(), "XDG_DATA_HOME=" + home_ / "data",
                                      "XDG_CONFIG_HOME=" + home_ / "config", "TZ=UTC"});
  }
  TempDir home_;
};

TEST_F(FoundCli, PrintsEachKeptFileOnceWithTypeSizeTimeAndPath) {
  const CommandResult none = Run({"found"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.err, "vorlo-cli: no analysis has kept its results in " + Folder() + "/ yet\n");

  WriteResults(Folder() + "/Vorlo.found");
  const CommandResult lines = Run({"found"});
  EXPECT_EQ(lines.exitCode, 0) << lines.err;
  EXPECT_EQ(lines.out, kLines);
  const CommandResult nul = Run({"found", "-0", "--data-dir", Folder()});
  EXPECT_EQ(nul.exitCode, 0) << nul.err;
  EXPECT_EQ(nul.out, kNulLines);

  std::filesystem::resize_file(Folder() + "/Vorlo.found", 50);
  const CommandResult damaged = Run({"found"});
  EXPECT_EQ(damaged.exitCode, 1);
  EXPECT_EQ(damaged.err, "vorlo-cli: " + Folder() + "/Vorlo.found is damaged: it ends early.\n");
  EXPECT_TRUE(damaged.out.empty());

  for (const std::vector<std::string>& bad : {std::vector<std::string>{"found", "--yes"}, {"found", "x"},
                                              {"list", "-0"}, {"found", "-0", "-0"}, {"found", "-x"}})
    EXPECT_EQ(Run(bad).exitCode, 2) << bad.back();
}

// A list read back picks the kept files it names: the lines of `found`
// either way, bare paths (quoted or not), each file once; every other entry
// is named with its reason.
TEST(FoundList, ListedPathsPickTheirKeptFiles) {
  TempDir dir;
  WriteResults(dir / "Vorlo.found");
  const FoundResults kept = LoadFoundResults(dir / "Vorlo.found").results;
  ASSERT_EQ(kept.size(), 4u);
  const testing::UtcClock utc;
  std::string printed, printedNul;
  for (size_t i = 0; i < kept.size(); ++i) {
    if (kept[i].IsDupe()) continue;
    printed += cli::FoundLine(kept, i, utc, false);
    printedNul += cli::FoundLine(kept, i, utc, true);
  }
  ASSERT_EQ(printed, kLines);
  ASSERT_EQ(printedNul, kNulLines);

  using Unmatched = std::vector<std::pair<std::string, std::string>>;
  const struct {
    const char* what;
    std::string list;
    bool nul;
    std::vector<std::string> matched;
    Unmatched unmatched;
  } cases[] = {
      {"found's lines", kLines, false, {kFiles[0].path, kFiles[1].path, kFiles[3].path}, {}},
      {"found -0's lines", kNulLines, true, {kFiles[0].path, kFiles[1].path, kFiles[3].path}, {}},
      {"bare paths, CR LF, twice, blank lines", "/data/old~\r\n\n/home/u/.cache/caf\xe9.tmp\n/data/old~"s, false,
       {kFiles[0].path, kFiles[3].path}, {}},
      {"a quoted bare path", "$'/home/u/.cache/one\\ntwo\\tthree.tmp'\n", false, {kFiles[1].path}, {}},
      {"bare paths with -0", "/home/u/.cache/one\ntwo\tthree.tmp\0/data/old~\0"s, true,
       {kFiles[1].path, kFiles[3].path}, {}},
      {"what is not kept or not a full path", "/data/new~\nrelative/x\n$'broken\n7\tx\n/data/old\n"s, false, {},
       {{"/data/new~", "is not in the kept results"}, {"relative/x", "is not a full path"},
        {"$'broken", "is not a full path"}, {"7\tx", "is not a full path"}, {"/data/old", "is not in the kept results"}}},
      {"lines whose file was another", "5\t4097\t1970-01-02T00:00:00\t/data/old~\n"
                                       "4\t4096\t1970-01-02T00:00:00\t/data/old~\n"
                                       "5\t4096\t1970-01-02T00:00:01\t/data/old~\n"
                                       "5\t4096\t1970-01-02T00:00:00\t/data/old~\n",
       false, {kFiles[3].path},
       {{"/data/old~", "differs from the kept results"}, {"/data/old~", "differs from the kept results"},
        {"/data/old~", "differs from the kept results"}}},
      {"nothing", "", false, {}, {}},
  };
  for (const auto& c : cases) {
    const cli::FoundSelection s = cli::MatchFoundList(c.list, c.nul, kept, utc);
    std::vector<std::string> matched;
    for (size_t i = 0; i < s.matched.size(); ++i) {
      matched.push_back(std::string(s.matched.Path(i)));
      EXPECT_FALSE(s.matched[i].IsDupe()) << c.what;
    }
    EXPECT_EQ(matched, c.matched) << c.what;
    Unmatched unmatched;
    for (const cli::UnmatchedPath& u : s.unmatched) unmatched.emplace_back(u.path, std::string(u.reason));
    EXPECT_EQ(unmatched, c.unmatched) << c.what;
    EXPECT_EQ(s.matched.Types(), kept.Types()) << c.what;
  }
}

}  // namespace
}  // namespace vorlo
