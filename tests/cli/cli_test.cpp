#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "core/junk_list_file.h"
#include "core/text.h"
#include "core/version_info.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using enum CleanupMethod;
using enum FolderRule;

using testing::CommandResult;
using testing::TempDir;

class Cli : public ::testing::Test {
 protected:
  CommandResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), VORLO_CLI_PATH);
    return testing::RunCommand(args, {"HOME=" + home_.path(), "XDG_DATA_HOME=" + home_ / "data",
                                      "XDG_CONFIG_HOME=" + home_ / "config", "XDG_CACHE_HOME=" + home_ / "cache",
                                      "TMPDIR=" + home_.path()});
  }

  static size_t Lines(const std::string& text) { return static_cast<size_t>(std::count(text.begin(), text.end(), '\n')); }

  TempDir home_;
};

TEST_F(Cli, ExportedDefaultsListAsTheDefaultTable) {
  const CommandResult defaults = Run({"defaults"});
  ASSERT_EQ(defaults.exitCode, 0) << defaults.err;
  EXPECT_EQ(Lines(defaults.out), 12u + 36u);  // no Flatpak app, no internet cache row on Linux
  EXPECT_NE(defaults.out.find("1. name=\"Thumbnail cache\" checked=yes"), std::string::npos);
  EXPECT_NE(defaults.out.find("24. name=\"Temp folders 2\" checked=no"), std::string::npos);

  const std::string file = home_ / "defaults.dat";
  ASSERT_EQ(Run({"export-defaults", file}).exitCode, 0);
  const CommandResult listed = Run({"list", "--file", file});
  EXPECT_EQ(listed.exitCode, 0);
  EXPECT_EQ(listed.out, defaults.out);

  const CommandResult problem = Run({"defaults", "--recycle-problem"});
  EXPECT_EQ(problem.out.find("method=0"), std::string::npos);
  EXPECT_NE(problem.out.find("\"Delphi temporary files\" checked=no method=2"), std::string::npos);
}

TEST_F(Cli, DataFolderListIsTheStartUpList) {
  const std::string folder = home_ / "data/Vorlo";
  std::filesystem::create_directories(folder);
  // No data file: the first-start table, with the Linux rows whose folders are there.
  EXPECT_EQ(Lines(Run({"list", "--data-dir", folder}).out), 4u + 36u);

  std::vector<TJunkFileObj> one(1);
  one[0].SetTypName("Mine");
  SaveJTToFile(folder + "/Vorlo.DAT", one);
  SaveJTToFile(folder + "/Vorlo.D$$", std::vector<TJunkFileObj>(2));  // the window's to restore, not read here
  const CommandResult stored = Run({"list"});
  EXPECT_EQ(stored.exitCode, 0);
  EXPECT_EQ(stored.out.substr(0, 16), "1. name=\"Mine\" c");
  EXPECT_EQ(Lines(stored.out), 1u);

  const CommandResult described = Run({"describe", "1", "--data-dir", folder});
  EXPECT_EQ(described.exitCode, 0);
  EXPECT_EQ(described.out.substr(0, 30), "Type: Mine (enabled)\n\nSearch L");
}

// With a trash limited to 0 percent, the runs use the default table without
// the Recycle Bin; list shows that same table.
TEST_F(Cli, DataFolderListMakesTheDefaultTableForTheRecycleBinAsTheRunsDo) {
  std::filesystem::create_directories(home_ / "data/Trash");
  home_.Write("config/ktrashrc", "[" + home_ / "data/Trash" + "]\nUseSizeLimit=true\nPercent=0\n");
  const std::string probe = home_ / "probe", folder = home_ / "data/Vorlo";
  std::filesystem::create_directories(probe);
  std::filesystem::create_directories(folder);
  SaveJTToFile(probe + "/Vorlo.DAT", {TJunkFileObj("Bin", true, cuRecycle, FolderList{{home_ / "empty", pFolAndSub}},
                                                   {"*.tmp"}, {}, {}, {}, {})});
  if (Run({"analyze", "--data-dir", probe}).out.find("have been disabled") == std::string::npos)
    GTEST_SKIP() << "the temporary folder is not on a local drive with a trash";

  // The first start's rows are rows of the whole table, with the same methods.
  const CommandResult listed = Run({"list", "--data-dir", folder});
  EXPECT_EQ(listed.exitCode, 0) << listed.err;
  const std::string table = Run({"defaults", "--recycle-problem"}).out;
  ASSERT_GT(Lines(listed.out), 36u);
  for (size_t start = 0; start < listed.out.size();) {
    const size_t end = listed.out.find('\n', start);
    const size_t row = listed.out.find(". name=", start);
    EXPECT_NE(table.find(listed.out.substr(row, end + 1 - row)), std::string::npos) << listed.out.substr(start, end - start);
    start = end + 1;
  }
}

TEST_F(Cli, FaultsGiveOneLineAndAnExitCode) {
  const std::string file = home_ / "list.dat";
  ASSERT_EQ(Run({"export-defaults", file}).exitCode, 0);
  const std::string whole = testing::ReadFile(file);
  home_.Write("cut.dat", whole.substr(0, whole.size() - 3));

  const CommandResult cut = Run({"list", "--file", home_ / "cut.dat"});
  EXPECT_EQ(cut.exitCode, 1);
  EXPECT_EQ(Lines(cut.out), 47u);  // the good records are still listed
  EXPECT_EQ(Lines(cut.err), 1u);
  EXPECT_NE(cut.err.find("cut.dat"), std::string::npos);

  // A cut data file: the same, and nothing is written beside it.
  home_.Write("cut/Vorlo.DAT", whole.substr(0, whole.size() - 3));
  const CommandResult cutData = Run({"list", "--data-dir", home_ / "cut"});
  EXPECT_EQ(cutData.exitCode, 1);
  EXPECT_EQ(Lines(cutData.out), 47u);
  EXPECT_EQ(Lines(cutData.err), 1u);
  EXPECT_FALSE(std::filesystem::exists(home_ / "cut/Vorlo.DAT.bad"));

  const struct {
    std::vector<std::string> args;
    int exitCode;
  } cases[] = {
      {{"list", "--file", home_ / "missing.dat"}, 1},
      {{"list", "--data-dir", home_ / "nowhere"}, 1},
      {{"describe", "99", "--file", file}, 1},
      {{"describe", "0", "--file", file}, 1},
      {{"export-defaults", home_ / "no/such/folder/x.dat"}, 1},
      {{"describe", "x"}, 2},
      {{"frobnicate"}, 2},
      {{}, 2},
      {{"list", "--file"}, 2},
      {{"list", "--file", file, "--data-dir", home_.path()}, 2},
      {{"list", "--data-dir", home_.path(), "--data-dir", home_.path()}, 2},
      {{"describe", "1", "--file", file, "--file", file}, 2},
      {{"analyze", "--data-dir", home_.path(), "--data-dir", home_ / "data"}, 2},
      {{"clean", "--yes", "--yes"}, 2},
  };
  for (const auto& c : cases) {
    const CommandResult r = Run(c.args);
    EXPECT_EQ(r.exitCode, c.exitCode) << (c.args.empty() ? "" : c.args[0]) << " " << r.err;
    EXPECT_FALSE(r.err.empty());
    if (c.exitCode == 1) {
      EXPECT_EQ(Lines(r.err), 1u) << r.err;
    }
  }
}

TEST_F(Cli, HelpAndVersionGoToStandardOutput) {
  const CommandResult help = Run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out, Run({"frobnicate"}).err);  // the same usage text as for a usage error
  EXPECT_NE(help.out.find("vorlo-cli analyze [--data-dir DIR] [--yes]\n"), std::string::npos);

  // The about box's two lines; the C locale writes dates as %m/%d/%y.
  const BuildInfo info = CompiledBuildInfo();
  const std::string expected =
      VersionLine("Vorlo", info.VerStr, info.PreRel) + "\n" +
      BuildLine(
          info.buildTime, [](const CivilTime& t) { return FormatText("%02d/%02d/%02d", t.month, t.day, t.year % 100); },
          [](const CivilTime& t) { return FormatText("%02d:%02d:%02d", t.hour, t.minute, t.second); }) +
      "\n";
  const CommandResult version = testing::RunCommand({VORLO_CLI_PATH, "--version"}, {"LC_ALL=C"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.err, "");
  EXPECT_EQ(version.out, expected);

  for (const std::vector<std::string>& args : {std::vector<std::string>{"--help", "list"}, {"list", "--version"}}) {
    const CommandResult r = Run(args);
    EXPECT_EQ(r.exitCode, 2) << args[0];
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(r.err, help.out);
  }
}

// A data file that is there but cannot be read is an error naming it, not
// the default table; the runs do not start on it.
TEST_F(Cli, AnUnusableDataFileIsAnErrorNotTheDefaultTable) {
  namespace fs = std::filesystem;
  const std::string folder = home_ / "data/Vorlo", path = folder + "/Vorlo.DAT";
  fs::create_directories(folder);
  // The unreadable file is read as "nobody", so that the permission bites
  // when the tests run as root.
  std::vector<std::string> asNobody;
  if (::geteuid() == 0) asNobody = {"setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"};
  const struct {
    const char* what;
    std::function<void()> make;
    const char* reason;
    std::vector<std::string> prefix;
  } cases[] = {
      {"folder", [&] { fs::create_directory(path); }, "Is a directory", {}},
      {"dangling link", [&] { fs::create_symlink(home_ / "gone", path); }, "(a link to a missing file)", {}},
      {"FIFO", [&] { ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0); }, "Not a regular file", {}},
      {"unreadable",
       [&] {
         SaveJTToFile(path, std::vector<TJunkFileObj>(2));
         fs::permissions(path, fs::perms::none);
         for (const std::string& f : {home_.path(), home_ / "data", folder})
           fs::permissions(f, fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
       },
       "Permission denied", asNobody},
  };
  for (const auto& c : cases) {
    fs::remove(path);
    c.make();
    for (const char* command : {"list", "analyze"}) {
      std::vector<std::string> args = c.prefix;
      args.insert(args.begin(), {"timeout", "20"});
      args.insert(args.end(), {VORLO_CLI_PATH, command, "--data-dir", folder});
      const CommandResult r = testing::RunCommand(args, {"HOME=" + home_.path()});
      EXPECT_EQ(r.exitCode, 1) << c.what << " " << command << " " << r.err;
      EXPECT_EQ(r.out, "") << c.what << " " << command;
      EXPECT_EQ(Lines(r.err), 1u) << c.what << " " << command << " " << r.err;
      EXPECT_NE(r.err.find("Cannot read " + path + ": "), std::string::npos) << r.err;
      EXPECT_NE(r.err.find(c.reason), std::string::npos) << c.what << " " << r.err;
    }
    EXPECT_FALSE(fs::exists(path + ".bad"));
    EXPECT_FALSE(fs::exists(folder + "/Vorlo.TEST.TXT"));
  }
}

}  // namespace
}  // namespace vorlo
