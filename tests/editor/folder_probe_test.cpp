// What the picker lists of a real folder: which sub-folders it shows and
// which of them get an expand button.
#include "editor/folder_probe.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "support/temp_dir.h"

namespace vorlo {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;
using testing::TempDir;

TEST(FolderProbe, ShowsRealFoldersDotFoldersIncludedAndWhichHaveSubfolders) {
  namespace fs = std::filesystem;
  TempDir tmp;
  const std::string top = tmp / "top";
  fs::create_directories(top + "/alpha/sub");
  fs::create_directories(top + "/empty");
  fs::create_directories(top + "/dotonly/.git");      // only a dot-folder below
  fs::create_directories(top + "/linkonly");
  fs::create_directory_symlink(top + "/alpha", top + "/linkonly/to-alpha");  // only a link
  tmp.Write("top/fileonly/f.txt", "x");
  fs::create_directories(top + "/.cache/x");
  fs::create_directory_symlink(top + "/alpha", top + "/link");
  tmp.Write("top/file.txt", "x");

  std::map<std::string, bool> shown;
  for (const ShownFolder& f : ListSubdirs(top + "/")) shown[f.name] = f.hasSubfolders;
  EXPECT_THAT(shown, ElementsAre(Pair(".cache", true), Pair("alpha", true), Pair("dotonly", true),
                                 Pair("empty", false), Pair("fileonly", false), Pair("linkonly", false)));

  EXPECT_TRUE(AnySubdirs(top));
  EXPECT_TRUE(AnySubdirs(top + "/"));
  EXPECT_TRUE(AnySubdirs(top + "/dotonly"));
  EXPECT_FALSE(AnySubdirs(top + "/linkonly/"));
  // A link is not followed, even as the folder asked about.
  EXPECT_FALSE(AnySubdirs(top + "/link/"));
  EXPECT_TRUE(ListSubdirs(top + "/link").empty());
  // Nothing to list is no error.
  EXPECT_FALSE(AnySubdirs(top + "/missing"));
  EXPECT_TRUE(ListSubdirs(top + "/missing").empty());
}

}  // namespace
}  // namespace vorlo
