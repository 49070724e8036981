#include "core/recycle_bin.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

namespace vorlo {
namespace {

using ::testing::HasSubstr;

constexpr int64_t kTB = int64_t{1} << 40;

TrashDriveSettings Drive(const std::string& mountPoint, bool listed, bool writable, int32_t percent = 100) {
  return {mountPoint, listed, writable, percent};
}

// The check over settings and drive sizes that the test changes at will;
// counts how often each drive's size is asked for.
class RecycleBinCheckTest : public ::testing::Test {
 protected:
  std::vector<TrashDriveSettings> settings;
  std::map<std::string, int64_t> sizes;
  std::map<std::string, int> sizeReads;
  RecycleBinCheck check{[this] { return settings; },
                        [this](const std::string& mp) {
                          ++sizeReads[mp];
                          const auto it = sizes.find(mp);
                          return it == sizes.end() ? int64_t{-1} : it->second;
                        }};
};

const std::string kDrivesHead =
    "RECYCLE BIN SETTINGS ERROR:\r\n\r\nThe Recycle Bin is configured to use independent settings for different "
    "drives. On ";
const std::string kDrivesTail =
    ", the Recycle Bin is either disabled, or it is set to use zero percent of the drive.\r\n\r\n%s\r\n\r\nPlease "
    "see the help for instructions on correcting this problem";

struct ProblemCase {
  const char* name;
  std::vector<TrashDriveSettings> settings;
  bool problem;
  std::string driveText;  // empty: no message
};

class RecycleBinProblems : public RecycleBinCheckTest, public ::testing::WithParamInterface<ProblemCase> {};

TEST_P(RecycleBinProblems, DecidesAndNamesTheDrives) {
  settings = GetParam().settings;
  EXPECT_EQ(check.RecycleBinProblem(), GetParam().problem);
  const std::string expected =
      GetParam().driveText.empty() ? std::string() : kDrivesHead + GetParam().driveText + kDrivesTail;
  EXPECT_EQ(check.BadBinMsg(), expected);
  EXPECT_FALSE(check.abi().OneSetting);
}

INSTANTIATE_TEST_SUITE_P(
    RecycleBin, RecycleBinProblems,
    ::testing::Values(
        ProblemCase{"NoTrashFolders", {Drive("/", false, false), Drive("/home", false, false)}, false, ""},
        ProblemCase{"AllFine", {Drive("/", true, true, 10), Drive("/home", true, true)}, false, ""},
        ProblemCase{"OneNotWritable", {Drive("/", true, true), Drive("/home", true, false)}, true, "drive /home"},
        ProblemCase{"ZeroPercent", {Drive("/", true, true, 0)}, true, "drive /"},
        ProblemCase{"TwoDrives", {Drive("/", true, false), Drive("/home", true, true, 0)}, true, "drives / and /home"},
        ProblemCase{"ThreeDrives",
                    {Drive("/", true, false), Drive("/data", true, true, 0), Drive("/home", true, false)},
                    true,
                    "drives /, /data and /home"},
        ProblemCase{"OnlyOnUnlistedDrive", {Drive("/", true, true), Drive("/data", false, false, 0)}, false, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(RecycleBinCheckTest, FillsDriveFiguresIn64Bits) {
  sizes = {{"/", 4 * kTB}, {"/home", 999}};
  settings = {Drive("/", true, true, 10), Drive("/home", true, true, 33), Drive("/usb", false, true, 50),
              Drive("/gone", true, true)};
  EXPECT_FALSE(check.RecycleBinProblem());

  const OneBinInfo* root = check.abi().Drive("/");
  ASSERT_NE(root, nullptr);
  EXPECT_TRUE(root->InReg && root->local && root->HasBin);
  EXPECT_EQ(root->DrvSize, 4 * kTB);
  EXPECT_EQ(root->BinSize, 4 * kTB / 10);
  EXPECT_EQ(check.abi().Drive("/home")->BinSize, 329);     // 999 × 33 / 100, remainder dropped
  EXPECT_EQ(check.abi().Drive("/usb")->DrvSize, 0);        // not listed: size never asked for
  EXPECT_EQ(check.abi().Drive("/gone")->DrvSize, -1);      // unreadable
  EXPECT_EQ(check.abi().Drive("/gone")->BinSize, 0);
  EXPECT_EQ(sizeReads.count("/usb"), 0u);
  EXPECT_EQ(check.abi().Drive("/nowhere"), nullptr);
}

TEST_F(RecycleBinCheckTest, UnchangedSettingsKeepTheResultAndChangedOnesReevaluate) {
  sizes = {{"/", kTB}, {"/home", kTB}};
  settings = {Drive("/", true, true), Drive("/home", true, false)};
  EXPECT_TRUE(check.RecycleBinProblem());
  const std::string message = check.BadBinMsg();
  EXPECT_TRUE(check.RecycleBinProblem());
  EXPECT_EQ(check.BadBinMsg(), message);
  EXPECT_EQ(sizeReads["/"], 1);

  settings[1].writable = true;
  EXPECT_FALSE(check.RecycleBinProblem());
  EXPECT_EQ(check.BadBinMsg(), "");
  // Sizes are read once per drive for the program's life, also an unreadable one.
  settings[0].percent = 5;
  EXPECT_FALSE(check.RecycleBinProblem());
  EXPECT_EQ(sizeReads["/"], 1);
  EXPECT_EQ(sizeReads["/home"], 1);
  EXPECT_EQ(check.abi().Drive("/")->BinSize, kTB / 100 * 5 + kTB % 100 * 5 / 100);
}

TEST_F(RecycleBinCheckTest, RecordsAreOnlyEverAddedAndKeepTheDriveOrder) {
  settings = {Drive("/", true, true), Drive("/home", true, false)};
  EXPECT_TRUE(check.RecycleBinProblem());

  // The trash folder of /home went away, /data was mounted: /home stays
  // listed; the new drive takes its place in the drive order.
  settings = {Drive("/", false, true), Drive("/data", true, true), Drive("/home", false, true)};
  EXPECT_FALSE(check.RecycleBinProblem());
  ASSERT_EQ(check.abi().DrivesInfo.size(), 3u);
  EXPECT_EQ(check.abi().DrivesInfo[0].mountPoint, "/");
  EXPECT_EQ(check.abi().DrivesInfo[1].mountPoint, "/data");
  EXPECT_EQ(check.abi().DrivesInfo[2].mountPoint, "/home");
  EXPECT_TRUE(check.abi().Drive("/home")->InReg);
  EXPECT_TRUE(check.abi().Drive("/")->InReg);

  // A drive that is unmounted keeps its record, but its last settings no
  // longer count against the others.
  settings = {Drive("/", true, true), Drive("/data", true, false)};
  EXPECT_TRUE(check.RecycleBinProblem());
  settings = {Drive("/", true, true)};
  EXPECT_FALSE(check.RecycleBinProblem());
  EXPECT_EQ(check.abi().DrivesInfo.size(), 3u);
  EXPECT_FALSE(check.abi().Drive("/data")->HasBin);
}

TEST(RecycleBinText, FillPlaceholderTakesTheSentenceLiterally) {
  EXPECT_EQ(FillPlaceholder("a\r\n%s\r\nb", "3 types at 100% disabled"), "a\r\n3 types at 100% disabled\r\nb");
  EXPECT_EQ(FillPlaceholder("no placeholder", "x"), "no placeholder");
  const std::string filled = FillPlaceholder(std::string(kOneSettingBinMsg), "%d types");
  EXPECT_THAT(filled, HasSubstr("one setting for all drives"));
  EXPECT_THAT(filled, HasSubstr("\r\n\r\n%d types\r\n\r\n"));
}

}  // namespace
}  // namespace vorlo
