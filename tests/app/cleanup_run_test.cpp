#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "support/run_fixture.h"
#include "core/text.h"

namespace vorlo {
namespace {

using testing::RunFixture;
using enum CleanupMethod;
using enum FolderRule;

const std::string kStars(60, '*');
const std::string kDashes(60, '-');

std::string Lines(std::initializer_list<std::string> lines) {
  std::string out;
  for (const std::string& l : lines) out += l + "\r\n";
  return out;
}

TEST(CleanupRun, ProcessesCheckedRowsInOrderAndLogsEveryOutcome) {
  RunFixture f;
  const std::string x = f.File("a/x.tmp", 12), y = f.File("c/y.tmp");
  f.File("a/keep.txt");
  f.list.Append(f.FolderType("A", cuDelete, "a"));
  f.list.Append(f.FolderType("B", cuDelete, "b"));
  f.list.Append(f.FolderType("C", cuDelete, "c"));
  f.list.SetChecked(1, false);

  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

  EXPECT_EQ(f.Log(), Lines({kStars, "Vorlo Log - DATE  TIME", kStars, "\"A\" files have been deleted permanently",
                            kDashes, "\t" + x, "", "\"C\" files have been deleted permanently", kDashes, "\t" + y,
                            kStars, "Vorlo finished at TIME", "Processed 2 junk file types and removed 2 junk files.",
                            "TOTAL: 12 bytes  (files may occupy more space on disk)", kStars, "", ""}));
  const Message& closing = f.port.messages.back();
  EXPECT_EQ(closing.text,
            "Vorlo processed 2 junk file types and removed 2 junk files.\r\nBy permanently deleting these files you "
            "have realized a savings of at least 12 bytes\r\n\r\nDo you want to view the log file?");
  EXPECT_EQ(closing.kind, MsgKind::Confirmation);
  EXPECT_EQ(closing.helpContext, 13);
  EXPECT_EQ(f.Runs().VeryBusy(), RunState::Idle);
  EXPECT_EQ(f.port.busy, (std::vector<bool>{true, false}));
  EXPECT_TRUE(f.port.opened.empty());

  // A second run is appended below the first; Yes opens the log.
  f.port.answers = {MsgButton::Yes};
  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });
  EXPECT_EQ(f.LastText(), "Vorlo processed 2 junk file types and removed 0 junk files.\r\n\r\nDo you want to view the log file?");
  const std::string log = f.Log();
  EXPECT_NE(log.find("Vorlo Log - "), log.rfind("Vorlo Log - "));
  EXPECT_EQ(log.find("TOTAL", log.rfind("Vorlo Log - ")), std::string::npos);
  EXPECT_EQ(f.port.opened, (std::vector<std::string>{f.dir / "data/Vorlo.LOG.TXT"}));
}

TEST(CleanupRun, RemovalFailuresAreLoggedCountedAndSummed) {
  RunFixture f;
  std::vector<std::string> files;
  for (int i = 1; i <= 5; ++i) files.push_back(f.File("r/f" + std::to_string(i) + ".tmp", 100));
  const std::string ro = f.File("d/ro.tmp", 7);
  f.remover.locked = {files[1], ro};
  f.list.Append(f.FolderType("Bin", cuRecycle, "r"));
  f.list.Append(f.FolderType("Del", cuDelete, "d"));

  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

  // The batch's lines appear when it is sent, in queue order, the locked
  // file's error lines in its place.
  ASSERT_EQ(f.remover.sends.size(), 1u);
  std::string expected;
  for (const std::string& p : f.remover.sends[0])
    expected += p == files[1] ? "ERR\t" + p + "\r\n\t* Device or resource busy\r\n" : "\t" + p + "\r\n";
  const std::string log = f.Log();
  EXPECT_NE(log.find(kDashes + "\r\n" + expected + "\r\n\"Del\""), std::string::npos) << log;
  EXPECT_NE(log.find("ERR\t" + ro + "\r\n\t* Permission denied\r\n"), std::string::npos);
  EXPECT_TRUE(f.remover.Exists(files[1]));
  EXPECT_FALSE(f.remover.Exists(files[0]));
  EXPECT_EQ(f.LastText(),
            "Vorlo processed 2 junk file types and removed 4 junk files. 2 files could not be removed. Check the log "
            "for details.\r\nWhen all of these files are permanently deleted, you will realize a savings of at least "
            "400 bytes\r\n\r\nDo you want to view the log file?");
  EXPECT_EQ(f.Runs().LastOutcome().errors, 2);
}

TEST(CleanupRun, AFileGoneBeforeItsBatchIsSentCountsAsSent) {
  RunFixture f;
  const std::string a = f.File("g/a.tmp", 10), b = f.File("g/b.tmp", 20);
  f.list.Append(f.FolderType("Bin", cuRecycle, "g"));
  // Whichever file is sent first takes the other one away.
  f.remover.onRemove = [&](const std::string& p) { std::filesystem::remove(p == a ? b : a); };

  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

  ASSERT_EQ(f.remover.sends.size(), 1u);
  ASSERT_EQ(f.remover.sends[0].size(), 2u);
  const std::vector<std::string>& sent = f.remover.sends[0];
  EXPECT_NE(f.Log().find(kDashes + "\r\n\t" + sent[0] + "\r\n\t" + sent[1] + "\r\n" + kStars), std::string::npos)
      << f.Log();
  EXPECT_EQ(f.LastText(),
            "Vorlo processed 1 junk file types and removed 2 junk files.\r\nWhen all of these files are permanently "
            "deleted, you will realize a savings of at least 30 bytes\r\n\r\nDo you want to view the log file?");
  EXPECT_EQ(f.Runs().LastOutcome().errors, 0);
}

TEST(CleanupRun, BatchIsSentBeforeAPathWouldPassTheLimit) {
  RunFixture f;
  const std::string folder = f.dir / "tree/long/";
  const size_t nameLength = 250;
  const size_t L = folder.size() + nameLength;
  const size_t fit = (rbMax - L) / (L + 1) + 1;  // paths of length L that one batch takes
  for (size_t i = 0; i < fit + 3; ++i) {
    std::string name = std::to_string(1000 + i) + ".tmp";
    name.insert(0, nameLength - name.size(), 'n');
    f.File("long/" + name);
  }
  f.list.Append(f.FolderType("Long", cuRecycle, "long"));
  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });
  ASSERT_EQ(f.remover.sends.size(), 2u);
  EXPECT_EQ(f.remover.sends[0].size(), fit);
  EXPECT_EQ(f.remover.sends[1].size(), 3u);
  EXPECT_LE(fit * (L + 1), rbMax);
  EXPECT_GT(fit * (L + 1) + L, rbMax);
}

TEST(CleanupRun, StopDuringTheSecondOfThreeTypes) {
  RunFixture f;
  f.File("a/1.tmp", 1);
  f.File("b/1.tmp", 1);
  f.File("b/2.tmp", 1);
  f.File("b/3.tmp", 1);
  f.File("c/1.tmp", 1);
  f.list.Append(f.FolderType("A", cuDelete, "a"));
  // A date restriction every file meets makes B's scan ask the clock about
  // each file before it is queued.
  f.list.Append(TJunkFileObj("B", true, cuRecycle, FolderList{{f.dir / "tree/b", pFolAndSub}}, {"*.tmp"}, {},
                             DateRestriction{.on = true, .type = 2}, {}, {}));
  f.list.Append(f.FolderType("C", cuDelete, "c"));

  // The first file of B asks the main thread to stop and waits for it; it is
  // still queued, the next one is not.
  std::atomic<bool> asked{false};
  std::promise<void> stopped;
  f.clock.onToLocal = [&] {
    if (asked.exchange(true)) return;
    f.mainThread.Post([&] {
      f.Runs().aCleanupExecute();
      stopped.set_value();
    });
    stopped.get_future().wait();
  };
  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

  const std::string log = f.Log();
  const size_t halt = log.find("**** PROCESSING HALTED BY USER ****\r\n\r\n");
  ASSERT_NE(halt, std::string::npos);
  EXPECT_LT(log.find("\"B\" files have been sent to Recycle Bin"), halt);
  ASSERT_EQ(f.remover.sends.size(), 1u);  // B's batch is still sent
  EXPECT_EQ(f.remover.sends[0].size(), 1u);
  EXPECT_GT(log.find("\t" + f.remover.sends[0][0]), halt);
  EXPECT_EQ(log.find("\"C\""), std::string::npos);
  EXPECT_TRUE(StartsWith(f.LastText(), "Before you stopped it, Vorlo processed 2 junk file types and removed 2 junk files."));
  EXPECT_TRUE(f.Runs().LastOutcome().stopped);
}

TEST(CleanupRun, UnusableBinDisablesItsTypesFirst) {
  RunFixture f;
  f.binSettings = {{f.dir / "tree", true, false, 100}};  // listed, not writable
  f.File("h/1.tmp", 1);
  f.list.Append(f.FolderType("Bin1", cuRecycle, "h"));
  f.list.Append(f.FolderType("Bin2", cuRecycle, "h"));
  f.list.Append(f.FolderType("Hold", cuHolding, "h"));

  f.port.answers = {MsgButton::Yes};
  f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });
  const Message& ask = f.port.messages.front();
  EXPECT_EQ(ask.kind, MsgKind::Confirmation);
  EXPECT_EQ(ask.helpContext, 12);
  EXPECT_NE(ask.text.find("\r\n\r\n2 junk file types that rely on the Recycle Bin have been disabled.\r\n\r\nPlease"),
            std::string::npos);
  EXPECT_TRUE(EndsWith(ask.text, "correcting this problem\r\n\r\nDo you want to proceed?"));
  EXPECT_EQ(f.Log().find("Bin1"), std::string::npos);
  EXPECT_NE(f.Log().find("\"Hold\" files have been moved to holding folder"), std::string::npos);
  EXPECT_FALSE(f.list[0].checked);
  EXPECT_FALSE(f.list[1].type->IsChecked());

  // Only bin types left: an error, and no run.
  RunFixture g;
  g.binSettings = f.binSettings;
  g.list.Append(g.FolderType("Bin1", cuRecycle, "h"));
  g.Runs().aCleanupExecute();
  ASSERT_EQ(g.port.messages.size(), 1u);
  EXPECT_EQ(g.port.messages[0].kind, MsgKind::Error);
  EXPECT_NE(g.port.messages[0].text.find("1 junk file types that rely on the Recycle Bin have been disabled.\r\n\r\n"
                                         "There are no enabled junk file types to process."),
            std::string::npos);
  EXPECT_EQ(g.Runs().VeryBusy(), RunState::Idle);
}

TEST(CleanupRun, NothingCheckedOrUnknownMethod) {
  RunFixture f;
  f.list.Append(f.FolderType("A", cuDelete, "a"));
  f.list.SetChecked(0, false);
  f.Runs().aCleanupExecute();
  EXPECT_EQ(f.Runs().VeryBusy(), RunState::Idle);
  EXPECT_TRUE(f.port.messages.empty());

  RunFixture g;
  const std::string file = g.File("odd/x.tmp", 3);
  g.list.Append(g.FolderType("Odd", CleanupMethod{7}, "odd"));
  g.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });
  EXPECT_TRUE(g.remover.Exists(file));
  EXPECT_NE(g.Log().find("\"Odd\" files have been " + kDashes + "\r\n" + kStars), std::string::npos);
}

}  // namespace
}  // namespace vorlo
