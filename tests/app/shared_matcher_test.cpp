#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/run_fixture.h"

namespace vorlo {
namespace {

using testing::RunFixture;
using enum CleanupMethod;
using enum FolderRule;
namespace fs = std::filesystem;

struct TypeSpec {
  std::string name;
  SpecList deletes;
  SpecList prots;
};

// The analysis log of `types` over the tree `files` (relative paths), with
// listings kept and names matched once for all types (`share`), kept and
// matched by each type, or walked by each type itself; `between` runs as
// the second type starts.
std::string AnalysisLog(const std::vector<TypeSpec>& types, const std::vector<std::string>& files, bool reuse,
                        bool share, const std::function<void(RunFixture&)>& between = {}) {
  RunFixture f;
  for (const std::string& file : files) f.File(file, 3);
  for (const TypeSpec& t : types)
    f.list.Append(TJunkFileObj(t.name, true, cuDelete, FolderList{{f.dir / "tree", pFolAndSub}}, t.deletes, t.prots,
                               {}, {}, {}));
  int started = 0;
  f.port.onSelectRow = [&](int) {
    if (++started == 2 && between) between(f);
  };
  f.Runs().reuseListings = reuse;
  f.Runs().shareMatcher = share;
  f.port.answers = {MsgButton::No};
  f.RunToEnd([](RunControl& r) { r.act10Execute(); });
  std::string log = f.TestLog();
  for (size_t at; (at = log.find(f.dir.path())) != std::string::npos;) log.replace(at, f.dir.path().size(), "DIR");
  return log;
}

// Types that take the same names by different specifications, a protect
// that spares one type's match and not another's, letters in both cases
// and outside ASCII: the log is the same whichever way names are matched,
// and says what each type's own specifications say.
TEST(SharedMatcher, EachTypeTakesWhatItsOwnSpecificationsTake) {
  const std::vector<TypeSpec> types = {
      {"Ext", {"*.tmp", "*.TMP~"}, {}},
      {"Prefix", {"x*", "*.tmp"}, {"x.tmp"}},
      {"Accents", {"*\xc3\xa9*.*", "CORE."}, {}},
      {"All", {"*.*"}, {"*.log"}},
  };
  const std::vector<std::string> files = {"x.tmp", "X.TMP", "y.tmp~", "y.TMP~", "xa", "caf\xc3\xa9.log",
                                          "CAF\xc3\x89.txt", "core", "sub/x.tmp", "sub/deep/a.log", "sub/deep/b.c"};
  const std::string each = AnalysisLog(types, files, false, false);
  EXPECT_EQ(AnalysisLog(types, files, true, false), each);
  EXPECT_EQ(AnalysisLog(types, files, true, true), each);
  // What each type says on its own.
  const auto section = [&](const std::string& name) {
    const size_t from = each.find("\"" + name + "\"");
    const size_t to = each.find("\r\n\r\n", from);
    return each.substr(from, to + 2 - from);
  };
  // A specification without a period takes only names without one; the
  // protect "x.tmp" spares X.TMP too, in every folder.
  EXPECT_NE(section("Prefix").find("\tDIR/tree/xa\r\n"), std::string::npos) << each;
  EXPECT_EQ(section("Prefix").find("x.tmp"), std::string::npos);
  EXPECT_EQ(section("Prefix").find("X.TMP"), std::string::npos);
  for (const char* name : {"\tDIR/tree/caf\xc3\xa9.log\r\n", "\tDIR/tree/CAF\xc3\x89.txt\r\n", "\tDIR/tree/core\r\n"})
    EXPECT_NE(section("Accents").find(name), std::string::npos) << name;
  EXPECT_NE(section("All").find("(DIR/tree/x.tmp) dupe"), std::string::npos);
  EXPECT_EQ(section("All").find(".log"), std::string::npos);
}

// A type that found nothing in a subtree still finds a file made deep in it
// after an earlier type read it: the change below makes what was known
// about the subtree unknown.
TEST(SharedMatcher, AChangeDeepInASubtreeIsSeenByALaterType) {
  const std::vector<TypeSpec> types = {{"Logs", {"*.log"}, {}}, {"Temps", {"*.tmp"}, {}}};
  const std::vector<std::string> files = {"p/q/r/a.log", "p/q/b.log", "p/other/c.log", "top.log"};
  const auto made = [](RunFixture& f) { f.File("p/q/r/new.tmp", 1); };
  const std::string each = AnalysisLog(types, files, false, false, made);
  EXPECT_NE(each.find("DIR/tree/p/q/r/new.tmp"), std::string::npos) << each;
  EXPECT_EQ(AnalysisLog(types, files, true, true, made), each);
}

}  // namespace
}  // namespace vorlo
