#include "app/type_count.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "app/texts.h"
#include "core/text.h"
#include "support/run_fixture.h"

namespace vorlo {
namespace {

using enum CleanupMethod;

using testing::ReadFile;
using testing::RunFixture;

// The count as the wizard's page runs it: with a found-files list.
class TypeCountTest : public ::testing::Test {
 protected:
  RunFixture f;
  ScanContext context{f.mainThread, f.clock, f.drives, {}, nullptr};
  TypeCount count{std::string(texts::kStopEventName), context, f.dir / "program"};
};

TEST_F(TypeCountTest, ListsTheFilesItWouldProcessAndReportsInThePageWording) {
  const std::string a = f.File("c/a.tmp", 12), b = f.File("c/sub/b.tmp");
  f.File("c/keep.tmp", 3);
  f.File("c/x.txt", 5);
  const TJunkFileObj type = f.FolderType("T", cuDelete, "c", {"*.tmp"}, {"keep.tmp"});
  const std::string list = f.dir / "data/found.txt";
  std::optional<CountResult> reported;
  std::optional<bool> stopped;
  ASSERT_EQ(count.Start(type, list, [&](const CountResult& r) { reported = r; }, [&](bool s) { stopped = s; }), 0);
  EXPECT_TRUE(count.Active());
  f.mainThread.RunUntil([&] { return stopped.has_value(); });
  EXPECT_FALSE(*stopped);
  EXPECT_FALSE(count.Active());

  std::vector<std::string> lines = SplitLines(ReadFile(list));
  std::erase(lines, "");
  std::sort(lines.begin(), lines.end());
  EXPECT_EQ(lines, (std::vector<std::string>{a, b}));
  EXPECT_NE(ReadFile(list).find(".tmp\r\n"), std::string::npos);

  ASSERT_TRUE(reported);
  EXPECT_EQ(reported->Actual(), 2);
  const CountLines page = CountReportLines(*reported, {",", "."}, CountWording::Page);
  EXPECT_EQ(page.folders, "2 folders were searched\r\n");
  EXPECT_EQ(page.matched, "3 files matched the junk file specifications\r\n");
  EXPECT_EQ(page.restricted, "0 files did not meet the date or size restrictions\r\n");
  EXPECT_EQ(page.protectedFiles, "1 file was protected by the protect file specifications\r\n\r\n");
  EXPECT_EQ(page.actual, "2 files would be processed");
  EXPECT_EQ(page.size, "These files occupy 12 bytes  of disk space.");
  const CountLines window = CountReportLines(*reported, {",", "."}, CountWording::Message);
  EXPECT_EQ(window.actual, "2 files would be processed\r\n");
  EXPECT_EQ(window.size, "These files occupy 12 bytes of disk space.");
}

TEST_F(TypeCountTest, AListThatCannotBeCreatedStartsNothing) {
  f.File("c/a.tmp");
  const TJunkFileObj type = f.FolderType("T", cuDelete, "c");
  bool called = false;
  EXPECT_EQ(count.Start(type, f.dir / "no/such/folder/found.txt", [&](const CountResult&) { called = true; },
                        [&](bool) { called = true; }),
            ENOENT);
  EXPECT_FALSE(count.Active());
  f.mainThread.RunPending();
  EXPECT_FALSE(called);
}

}  // namespace
}  // namespace vorlo
