#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "support/run_fixture.h"
#include "app/texts.h"

namespace vorlo {
namespace {

using testing::RunFixture;
using enum CleanupMethod;
using enum FolderRule;

TEST(Count, ReportsFoldersMatchesRestrictionsAndSize) {
  const std::string header = "Vorlo has searched for files matching the selected type\r\n\r\n";
  const struct {
    std::vector<std::pair<std::string, size_t>> files;
    SpecList prots;
    std::string report;
  } cases[] = {
      {{{"a.tmp", 0}, {"b.tmp", 1024}, {"c.tmp", 1024}},
       {},
       "1 folder was searched\r\n3 files matched the junk file specifications\r\n1 file did not meet the date or "
       "size restrictions\r\n0 files were protected by the protect file specifications\r\n\r\n2 files would be "
       "processed\r\nThese files occupy 2,048 bytes of disk space."},
      {{}, {}, "1 folder was searched\r\nNo files matched the junk file specifications"},
      {{{"b.tmp", 12}, {"c.tmp", 12}},
       {"c.*"},
       "1 folder was searched\r\n2 files matched the junk file specifications\r\n0 files did not meet the date or "
       "size restrictions\r\n1 file was protected by the protect file specifications\r\n\r\n1 file would be "
       "processed\r\nThis file occupies 12 bytes of disk space."},
      {{{"b.tmp", 5}}, {"*.tmp"}, "1 folder was searched\r\n1 file matched the junk file specifications\r\n0 files did "
                                  "not meet the date or size restrictions\r\n1 file was protected by the protect file "
                                  "specifications\r\n\r\n0 files would be processed\r\n"},
  };
  for (const auto& c : cases) {
    RunFixture f;
    std::filesystem::create_directories(f.dir / "tree/c");
    for (const auto& [name, size] : c.files) f.File("c/" + name, size);
    // Greater than 0 bytes: empty files are restricted.
    f.list.Append(TJunkFileObj("Count", true, cuDelete, FolderList{{f.dir / "tree/c", pFolAndSub}}, {"*.tmp"},
                               c.prots, {}, {}, SizeRestriction{{true, 2, 1, 0}, 0}));
    f.RunToEnd([](RunControl& r) { r.aCountExecute(0); });
    ASSERT_EQ(f.port.messages.size(), 1u);
    EXPECT_EQ(f.port.messages[0].text, header + c.report);
    EXPECT_EQ(f.port.messages[0].kind, MsgKind::Information);
    EXPECT_EQ(f.port.countCaption, "Coun&t");
    EXPECT_EQ(f.port.selected, (std::vector<int>{0}));
    EXPECT_EQ(f.Runs().CleanIdx(), -1);
  }
}

TEST(Count, TheCommandAgainStopsIt) {
  RunFixture f;
  for (int i = 0; i < 5; ++i) f.File("c/" + std::to_string(i) + ".tmp");
  // A date restriction makes the scan ask the clock for each file; the first
  // question waits until the stop has been given.
  std::promise<void> stopGiven;
  std::shared_future<void> given = stopGiven.get_future().share();
  f.clock.onToLocal = [given] { given.wait(); };
  f.list.Append(TJunkFileObj("Count", true, cuDelete, FolderList{{f.dir / "tree/c", pFolAndSub}}, {"*.tmp"}, {},
                             DateRestriction{true, 2, 0, 0}, {}, {}));
  f.Runs().aCountExecute(0);
  EXPECT_EQ(f.Runs().VeryBusy(), RunState::Counting);
  EXPECT_EQ(f.port.countCaption, "Stop");
  EXPECT_EQ(f.port.countHint, "Stop counting files");
  f.RunToEnd([&](RunControl& r) {
    r.aCountExecute(0);
    stopGiven.set_value();
  });
  ASSERT_EQ(f.port.messages.size(), 1u);
  EXPECT_EQ(f.port.messages[0].text, "Operation stopped by user");
  EXPECT_EQ(f.port.countCaption, "Coun&t");
  EXPECT_EQ(f.port.countHint, "Count the number of files matching the selected junk file type");
  EXPECT_TRUE(f.Runs().LastOutcome().stopped);
  EXPECT_EQ(f.Runs().VeryBusy(), RunState::Idle);
}

}  // namespace
}  // namespace vorlo
