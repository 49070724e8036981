#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "app/found_review.h"
#include "app/texts.h"
#include "core/found_results.h"
#include "support/run_fixture.h"
#include "support/undoable.h"

namespace vorlo {
namespace {

using testing::RunFixture;
using testing::Undoable;
using enum CleanupMethod;
namespace fs = std::filesystem;

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

void Analyze(RunFixture& f) {
  f.port.answers = {MsgButton::No};
  f.RunToEnd([](RunControl& r) { r.act10Execute(); });
}

FoundResults Kept(RunFixture& f) {
  FoundResultsRead read = LoadFoundResults(f.dir / "data/Vorlo.found");
  EXPECT_TRUE(read.ok()) << read.message;
  return std::move(read.results);
}

void CleanUpTicked(RunFixture& f, FoundResults ticked) {
  f.port.answers = {MsgButton::No};
  f.RunToEnd([&ticked](RunControl& r) { EXPECT_TRUE(r.CleanUpFound(std::move(ticked))); });
}

// An analysis keeps what it found, duplicates with the type that found them
// first; the clean-up of a ticked part removes exactly that part, each file
// by its type's method and undoably, searches nothing (a file made since
// stays), and leaves every file that changed since, or that its type would
// no longer take, with the reason.
TEST(FoundCleanUp, ExactlyTheTickedFilesGoAndChangedOnesStay) {
  RunFixture f;
  Undoable u(f);
  const std::string a = f.File("t/a.tmp", 1), b = f.File("t/b.tmp", 2), c = f.File("t/c.tmp", 3),
                    d = f.File("h/d.tmp", 4), e = f.File("h/e.tmp", 5), g = f.File("del/g.tmp", 6);
  f.list.Append(f.FolderType("Trash", cuRecycle, "t"));
  f.list.Append(f.FolderType("Hold", cuHolding, "h"));
  f.list.Append(f.FolderType("Del", cuDelete, "del"));
  f.list.Append(f.FolderType("Again", cuDelete, "t"));  // finds Trash's files once more
  Analyze(f);

  FoundResults kept = Kept(f);
  ASSERT_EQ(kept.Types().size(), 4u);
  EXPECT_EQ(kept.Types()[3].name, "Again");
  ASSERT_EQ(kept.size(), 9u);
  size_t dupes = 0;
  for (size_t i = 0; i < kept.size(); ++i) dupes += kept[i].IsDupe() && kept[i].dupeOf == 0 ? 1 : 0;
  EXPECT_EQ(dupes, 3u);

  FoundReview review(std::move(kept));
  for (uint32_t i = 0; i < review.Results().size(); ++i)
    if (review.Results().Path(i) == b) review.SetTicked(i, false);
  const std::string later = f.File("t/later.tmp", 7);
  std::ofstream(c, std::ios::app) << "more";  // written to since
  fs::remove(e);
  f.File("h/e.tmp", 5);  // replaced by another file of the same size
  f.list[2].type->SetProts({"g.tmp"});  // newly protected

  CleanUpTicked(f, review.TickedResults());

  EXPECT_FALSE(Exists(a));
  EXPECT_TRUE(Exists(u.Trashed("a.tmp")));
  EXPECT_FALSE(Exists(d));
  EXPECT_TRUE(Exists(u.Held(d)));
  for (const std::string& stays : {b, c, e, g, later}) EXPECT_TRUE(Exists(stays)) << stays;
  const std::string log = f.Log();
  EXPECT_NE(log.find("\"Trash\" files have been sent to Recycle Bin\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("\"Hold\" files have been moved to holding folder\r\n"), std::string::npos);
  for (const std::string& changed : {c, e, g})
    EXPECT_NE(log.find("ERR\t" + changed + "\r\n\t* changed since the analysis\r\n"), std::string::npos) << changed;
  EXPECT_EQ(log.find("Again"), std::string::npos);  // its files were Trash's
  EXPECT_EQ(log.find(b), std::string::npos);
  EXPECT_EQ(f.Runs().LastOutcome().files, 2);
  EXPECT_EQ(f.Runs().LastOutcome().errors, 3);

  f.port.answers = {MsgButton::Yes, MsgButton::No};
  f.RunToEnd([](RunControl& r) { r.UndoExecute(); });
  EXPECT_TRUE(Exists(a));
  EXPECT_TRUE(Exists(d));
}

// Files of a type the list no longer has under that row and name, and of a
// folder the type no longer searches, stay with the reason; the results
// being part of the list's rows does not matter.
TEST(FoundCleanUp, FilesOfATypeThatChangedStay) {
  RunFixture f;
  Undoable u(f);
  const std::string x = f.File("x/x.tmp", 1), y = f.File("y/sub/y.tmp", 2);
  f.list.Append(f.FolderType("X", cuDelete, "x"));
  f.list.Append(f.FolderType("Y", cuDelete, "y"));
  Analyze(f);
  f.list[0].caption = "X renamed";
  f.list[1].type->SetDirs({{f.dir / "tree/y", FolderRule::pFolOnly}});

  CleanUpTicked(f, Kept(f));

  EXPECT_TRUE(Exists(x));
  EXPECT_TRUE(Exists(y));
  const std::string log = f.Log();
  EXPECT_NE(log.find("ERR\t" + x + "\r\n\t* changed since the analysis\r\n"), std::string::npos) << log;
  EXPECT_NE(log.find("ERR\t" + y + "\r\n\t* changed since the analysis\r\n"), std::string::npos) << log;
  EXPECT_EQ(f.Runs().LastOutcome().errors, 2);
}

// The analysis's closing message offers the review when the port can show
// it; Review asks the port for it.
TEST(FoundCleanUp, TheAnalysisOffersTheReview) {
  RunFixture f;
  f.File("r/r.tmp", 1);
  f.list.Append(f.FolderType("R", cuDelete, "r"));
  Analyze(f);
  EXPECT_EQ(f.port.messages.back().buttons, (std::vector<MsgButton>{MsgButton::Yes, MsgButton::No, MsgButton::Help}));
  f.port.canReview = true;
  f.port.answers = {MsgButton::Review};
  f.RunToEnd([](RunControl& r) { r.act10Execute(); });
  EXPECT_EQ(f.port.messages.back().buttons,
            (std::vector<MsgButton>{MsgButton::Yes, MsgButton::No, MsgButton::Review, MsgButton::Help}));
  EXPECT_EQ(f.port.reviews, 1);
  EXPECT_TRUE(f.port.opened.empty());
}

}  // namespace
}  // namespace vorlo
