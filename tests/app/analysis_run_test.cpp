#include <gtest/gtest.h>

#include "support/run_fixture.h"
#include "core/text.h"

namespace vorlo {
namespace {

using testing::RunFixture;
using enum CleanupMethod;

const std::string kStars(60, '*');
const std::string kDashes(60, '-');

TEST(AnalysisRun, MarksDupesAndWarnsWhenTheBinIsTooSmall) {
  RunFixture f;
  f.binSettings = {{f.dir / "tree", true, true, 10}, {f.dir / "other", true, true, 20}};
  f.driveSize = 1000;  // bins of 100 and 200 bytes
  const std::string a = f.File("s/a.tmp", 100), b = f.File("s/b.tmp", 50);
  f.list.Append(f.FolderType("Bin", cuRecycle, "s"));
  f.list.Append(f.FolderType("Del", cuDelete, "s"));

  f.RunToEnd([](RunControl& r) { r.act10Execute(); });

  const std::string log = f.TestLog();
  const size_t second = log.find("\"Del\" files would have been deleted permanently\r\n" + kDashes + "\r\n");
  ASSERT_NE(second, std::string::npos) << log;
  EXPECT_NE(log.find("\t(" + a + ") dupe\r\n", second), std::string::npos);
  EXPECT_NE(log.find("\t(" + b + ") dupe\r\n", second), std::string::npos);
  EXPECT_EQ(log.find("\t(" + a + ") dupe"), log.rfind("\t(" + a + ") dupe"));
  EXPECT_TRUE(StartsWith(log, kStars + "\r\nVorlo TEST Log - DATE  TIME\r\n\"Bin\" files would have been sent to Recycle Bin\r\n"));
  const std::string tail = kStars + "\r\nVorlo finished analyzing at TIME\r\n" +
                           "Processed 2 junk file types and found 2 junk files.\r\n" +
                           "TOTAL: 150 bytes  (files may occupy more space on disk)\r\n" + kStars +
                           "\r\nRecycle Bin statistics:\r\n" + f.dir / "tree" + "    150 bytes, Size:    100 bytes (10%) *ERROR* (16%)\r\n" +
                           f.dir / "other" + "      0 bytes, Size:    200 bytes (20%)\r\n" + kStars + "\r\n";
  EXPECT_TRUE(EndsWith(log, tail)) << log;

  const Message& closing = f.port.messages.back();
  EXPECT_EQ(closing.kind, MsgKind::Error);
  EXPECT_EQ(closing.helpContext, 12);
  EXPECT_EQ(closing.text,
            "Vorlo tested 2 junk file types and found 2 junk files.\r\nIf all of these files were permanently deleted, "
            "you would realize a savings of at least 150 bytes.\r\n\r\nWARNING: The Recycle Bin is set too small on at "
            "least one of your drives. If you were to clean up this set of junk file types, you would not be able to "
            "restore all of the files that were sent to the Recycle Bin.\r\n\r\nYou will find Recycle Bin statistics "
            "at the end of the test log.\r\n\r\nDo you want to view the test log?");
  EXPECT_TRUE(f.remover.Exists(a));  // nothing is removed

  // A second analysis replaces the test log; without drives no statistics line.
  f.binSettings.clear();
  f.list.SetChecked(0, false);
  f.RunToEnd([](RunControl& r) { r.act10Execute(); });
  EXPECT_EQ(f.port.messages.back().kind, MsgKind::Confirmation);
  EXPECT_EQ(f.port.messages.back().helpContext, 14);
  EXPECT_EQ(f.TestLog().find("\"Bin\""), std::string::npos);
  EXPECT_EQ(f.TestLog().find("\t(" + a), std::string::npos);  // the found list starts afresh
}

}  // namespace
}  // namespace vorlo
