// The folder choice rules as tables of cases over small trees written in a
// short notation: a node is its subfolder state (A all, N none, L listed,
// S some, G grey), then its folder state (+ checked, - not; the root has
// none), then its loaded children in parentheses. A node without
// parentheses is not loaded; it has subfolders unless it is grey. Drives
// are named /d, /e, ...; folders below a drive a, b, ...; below those a1,
// a2, ... (so "/d/a/a2/" is the second child of the first folder of /d).
#include "editor/folder_choice.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace vorlo {

void PrintTo(const FolderEntry& e, std::ostream* os);

namespace {

using enum CleanupMethod;
using enum FolderRule;

using ::testing::ElementsAreArray;

const std::string kAll = "Local drives (/,/home)";

int SubOf(char c) {
  switch (c) {
    case 'A': return cSubChkP;
    case 'N': return cSubNotP;
    case 'L': return cSubChek;
    case 'S': return cSubSome;
    case 'G': return cSubGray;
    default: ADD_FAILURE() << "no subfolder state '" << c << "'"; return -1;
  }
}

std::string ChildName(const TChoiceNode& node, int k) {
  if (node.parent == nullptr) return std::string("/") + char('d' + k);
  if (node.parent->parent == nullptr) return std::string(1, char('a' + k));
  return node.name + std::to_string(k + 1);
}

class Notation {
 public:
  Notation(TFolderChoice& choice, std::string_view text) : choice_(choice), text_(text) {
    TChoiceNode& root = choice_.TreeRoot();
    root.sub = SubOf(Next());
    Children(root);
    EXPECT_EQ(pos_, text_.size()) << text_;
  }

 private:
  char Next() { return pos_ < text_.size() ? text_[pos_++] : '\0'; }
  char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }

  // Reads "(...)" if it follows: the node is loaded with those children.
  void Children(TChoiceNode& node) {
    node.hasChildren = node.sub != cSubGray;
    if (Peek() != '(') return;
    Next();
    for (int k = 0; Peek() != ')' && Peek() != '\0'; ++k) {
      if (Peek() == ' ') Next();
      std::string name = ChildName(node, k);
      TChoiceNode& child = node.parent == nullptr ? choice_.AddDrive(std::move(name), false)
                                                  : choice_.AddChild(node, std::move(name), false);
      child.sub = SubOf(Next());
      const char fol = Next();
      EXPECT_TRUE(fol == '+' || fol == '-') << text_;
      child.fol = fol == '+' ? cFolderY : cFolderN;
      Children(child);
    }
    EXPECT_EQ(Next(), ')') << text_;
    node.loaded = true;
    node.hasChildren = !node.children.empty();
  }

  TFolderChoice& choice_;
  std::string_view text_;
  size_t pos_ = 0;
};

std::string Render(const TChoiceNode& node) {
  std::string out(1, "ANLSG"[node.sub]);
  if (node.fol == cFolderY) out += '+';
  if (node.fol == cFolderN) out += '-';
  if (!node.loaded) return out;
  out += '(';
  for (size_t i = 0; i < node.children.size(); ++i) {
    if (i > 0) out += ' ';
    out += Render(*node.children[i]);
  }
  return out + ')';
}

TChoiceNode* Find(TChoiceNode& node, const std::string& path) {
  if (TFolderChoice::FullPath(node) == path) return &node;
  for (const auto& c : node.children)
    if (TChoiceNode* found = Find(*c, path)) return found;
  return nullptr;
}

// A tree built from the notation, with a node looked up by its full path
// ("" for the root).
struct Fixture {
  explicit Fixture(std::string_view start) { Notation parse(choice, start); }
  TChoiceNode& At(const std::string& path) {
    TChoiceNode* node = Find(choice.TreeRoot(), path);
    if (node == nullptr) ADD_FAILURE() << "no node " << path;
    return node != nullptr ? *node : choice.TreeRoot();
  }
  std::string Render() const { return vorlo::Render(choice.TreeRoot()); }
  TFolderChoice choice{kAll};
};

// Everything chosen, with /d/a and /d loaded.
constexpr const char* kFull = "A(A+(A+(G+ G+) G+))";

TEST(FolderChoice, SetFolAndAdjustCarriesTheCheckUp) {
  struct Case {
    const char* start;
    const char* node;
    int fol;
    bool acted;
    const char* want;
  } cases[] = {
      // Unchecking a leaf leaves its parent and every ancestor with some.
      {kFull, "/d/a/a1/", -1, true, "S(S+(S+(G- G+) G+))"},
      // Checking it again makes each ancestor take the listed subfolders,
      // not those created later.
      {"S(S+(S+(G- G+) G+))", "/d/a/a1/", -1, true, "L(L+(L+(G+ G+) G+))"},
      // The last checked folder unchecked: nothing chosen up to the root.
      {"S(S-(S-(G- G+) G-))", "/d/a/a2/", cFolderN, true, "N(N-(N-(G- G-) G-))"},
      // One folder checked below nothing chosen.
      {"N(N-(N-(G- G-) G-))", "/d/a/a1/", -1, true, "S(S-(S-(G+ G-) G-))"},
      // Checking a checked folder leaves ancestors that take everything.
      {kFull, "/d/a/", cFolderY, true, kFull},
      // Ancestors keep their own check; a drive is a node like any other.
      {"A(A+ A+)", "/e/", -1, true, "S(A+ A-)"},
      // The root has no check box; other values are refused.
      {kFull, "", -1, false, kFull},
      {kFull, "/d/a/", cSubChkP, false, kFull},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " at " + c.node);
    Fixture f(c.start);
    EXPECT_EQ(f.choice.SetFolAndAdjust(f.At(c.node), c.fol), c.acted);
    EXPECT_EQ(f.Render(), c.want);
  }
}

TEST(FolderChoice, SetSubAndAdjustCarriesTheRuleDownAndUp) {
  struct Case {
    const char* start;
    const char* node;
    int sub;
    bool acted;
    const char* want;
  } cases[] = {
      // No subfolders on a drive: every loaded folder below is out (those
      // without subfolders stay grey); the drive keeps its own files.
      {kFull, "/d/", cSubNotP, true, "S(N+(N-(G- G-) G-))"},
      {kFull, "", cSubNotP, true, "N(N-(N-(G- G-) G-))"},
      // All subfolders back on one folder: all below it in, the folder's
      // own check untouched.
      {"S(N+(N-(G- G-) G-))", "/d/a/", cSubChkP, true, "S(S+(A-(G+ G+) G-))"},
      // Listed and grey carry "in" down like all subfolders.
      {"S(N+(N-(G- G-) G+))", "/d/a/", cSubChek, true, "S(S+(L-(G+ G+) G+))"},
      {"N(N-(N-(G- G-) G-))", "/d/", cSubGray, true, "S(G-(A+(G+ G+) G+))"},
      // Everything below included again: ancestors take the listed ones.
      {"S(S+(N+(G- G-) G+))", "/d/a/", cSubChkP, true, "L(L+(A+(G+ G+) G+))"},
      // Folders not loaded yet are left alone; they take the rule when loaded.
      {"A(A+(A+ G+))", "/d/", cSubNotP, true, "S(N+(N- G-))"},
      {kFull, "/d/", cSubHI + 1, false, kFull},
      {kFull, "/d/", cSubLO - 1, false, kFull},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " at " + c.node);
    Fixture f(c.start);
    EXPECT_EQ(f.choice.SetSubAndAdjust(f.At(c.node), c.sub), c.acted);
    EXPECT_EQ(f.Render(), c.want);
  }
}

TEST(FolderChoice, ParSetWalksToTheRootWhetherOrNotAParentChanged) {
  struct Case {
    const char* start;
    const char* node;
    bool in, out;
    const char* want;
  } cases[] = {
      // /d is already listed and stays; the root above it still follows.
      {"S(L+(S+(G+ G+) G+))", "/d/a/a1/", true, false, "L(L+(L+(G+ G+) G+))"},
      // Some stays some while the children differ.
      {"S(S+(S+(G- G+) G+))", "/d/a/a2/", false, true, "S(S+(S+(G- G+) G+))"},
      // A grey ancestor never changes.
      {"A(G+(G- G-))", "/d/a/", false, true, "S(G+(G- G-))"},
      // Neither (some subfolders set on a node) still unsettles ancestors.
      {kFull, "/d/a/a1/", false, false, "S(S+(S+(G+ G+) G+))"},
      // In and out at once changes nothing.
      {"S(S+(S+(G- G+) G+))", "/d/a/a1/", true, true, "S(S+(S+(G- G+) G+))"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " at " + c.node);
    Fixture f(c.start);
    f.choice.ParSet(f.At(c.node), c.in, c.out);
    EXPECT_EQ(f.Render(), c.want);
  }
}

TEST(FolderChoice, ChdSetSetsEveryLoadedDescendant) {
  Fixture f("S(S+(S+(G- L+(A- G+)) N-))");
  f.choice.ChdSet(f.At("/d/"), true);
  EXPECT_EQ(f.Render(), "S(S+(A+(G+ A+(A+ G+)) A+))");
  f.choice.ChdSet(f.At("/d/a/"), false);
  EXPECT_EQ(f.Render(), "S(S+(A+(G- N-(N- G-)) A+))");
}

TEST(FolderChoice, AllSibsMatchAsksForChildrenFullyInOrFullyOut) {
  struct Case {
    const char* children;  // of /d
    bool allIn, allOut;
  } cases[] = {
      {"A+ L+ G+", true, false},
      {"N- G-", false, true},
      {"()", true, true},  // no loaded children
      {"A+ S+", false, false},
      {"A- G+", false, false},  // a folder in, its own files out
      {"N+ G-", false, false},  // the other way round
      {"G+ G-", false, false},
      {"L+ N-", false, false},
  };
  for (const Case& c : cases) {
    const std::string children = c.children;
    const std::string start = "S(S+" + (children == "()" ? children : "(" + children + ")") + ")";
    SCOPED_TRACE(start);
    Fixture f(start);
    EXPECT_EQ(f.choice.AllSibsMatch(f.At("/d/"), true), c.allIn);
    EXPECT_EQ(f.choice.AllSibsMatch(f.At("/d/"), false), c.allOut);
  }
}

TEST(FolderChoice, ListedSubfolders) {
  struct Case {
    const char* start;
    const char* node;
    const char* want;
  } cases[] = {
      // Ancestors that took every subfolder now take the listed ones.
      {kFull, "/d/a/", "L(L+(L+(G+ G+) G+))"},
      {kFull, "/d/", "L(L+(A+(G+ G+) G+))"},
      // A folder without subfolders turns grey; its ancestors stay.
      {kFull, "/d/b/", kFull},
      // So does one whose listing found none.
      {"S(N+(N-(G- G-) A-()))", "/d/b/", "S(S+(N-(G- G-) G-()))"},
      {"S(N+(N-(G- G-) G-))", "/d/a/", "S(S+(L-(G+ G+) G-))"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.start) + " at " + c.node);
    Fixture f(c.start);
    f.choice.SetExistSubs(f.At(c.node));
    EXPECT_EQ(f.Render(), c.want);
  }
}

TEST(FolderChoice, SaveToListGivesFolderEntriesInTreeOrder) {
  struct Case {
    const char* start;
    std::vector<FolderEntry> want;
  } cases[] = {
      {kFull, {{kAll, pFolAndSub}}},
      {"N(N-(N-(G- G-) G-))", {}},
      {"L(L+(A+(G+ G+) G+))", {{"/d/", pFolOnly}, {"/d/a/", pFolAndSub}, {"/d/b/", pFolOnly}}},
      {"S(S+(S+(A- G+) G+))",
       {{"/d/", pFolOnly}, {"/d/a/", pFolOnly}, {"/d/a/a1/", pSubOnly}, {"/d/a/a2/", pFolOnly}, {"/d/b/", pFolOnly}}},
      // Below a folder that takes all or none, nothing more is read.
      {"S(A-(N-(G+)) N+(A+))", {{"/d/", pSubOnly}, {"/e/", pFolOnly}}},
      {"S(S-(G+ G- L-(G+)))", {{"/d/a/", pFolOnly}, {"/d/c/c1/", pFolOnly}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.start);
    Fixture f(c.start);
    FolderList list = {{"stale", pFolOnly}};
    f.choice.SaveToList(list);
    EXPECT_THAT(list, ElementsAreArray(c.want));
  }
}

// A type's folder entries, chosen alone below the drives, are saved back as
// they were given; an entry that is a drive's folder sets the drive.
TEST(FolderChoice, FolderEntriesOfTheirOwnAreSavedAsGiven) {
  struct Case {
    std::vector<FolderEntry> entries, want;
    size_t shown;  // nodes below the root
  } cases[] = {
      {{{"/home/u/.cache/thumbnails/", pFolAndSub}}, {{"/home/u/.cache/thumbnails/", pFolAndSub}}, 3},
      {{{"/a/", pFolOnly}, {"/b", pSubOnly}, {"Local drives (/)", pFolAndSub}},
       {{"/a/", pFolOnly}, {"/b", pSubOnly}, {"Local drives (/)", pFolAndSub}},
       5},
      {{{"/home/", pFolOnly}}, {{"/home/", pFolOnly}}, 2},
      {{{"/x/", pSubOnly}, {"/x", pFolAndSub}}, {{"/x/", pFolAndSub}}, 3},  // the later rule wins
      {{{"/x/", FolderRule{7}}}, {{"/x/", pFolAndSub}}, 3},                // as the scan reads it
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.entries[0].path);
    TFolderChoice choice(kAll);
    choice.AddDrive("/", true);
    choice.AddDrive("/home", true);
    choice.ChooseNothing();
    for (const FolderEntry& e : c.entries) choice.AddFolder(e.path, e.rule, false);
    FolderList list;
    choice.SaveToList(list);
    EXPECT_THAT(list, ElementsAreArray(c.want));
    EXPECT_EQ(choice.TreeRoot().children.size(), c.shown);
  }

  // With every drive chosen, a folder of its own is saved beside the drives,
  // each named: the local-drives entry would stand for the drives alone.
  TFolderChoice choice(kAll);
  choice.AddDrive("/", true);
  choice.AddDrive("/home", true);
  choice.AddFolder("/tmp/", pFolAndSub, true);
  FolderList list;
  choice.SaveToList(list);
  EXPECT_THAT(list, ElementsAreArray(std::vector<FolderEntry>{{"/", pFolAndSub}, {"/home/", pFolAndSub}, {"/tmp/", pFolAndSub}}));
}

TEST(FolderChoice, LoadedChildrenTakeTheirStatesFromTheNode) {
  struct Case {
    int sub;
    const char* want;
  } cases[] = {
      {cSubChkP, "A(A+(A+ G+))"},
      {cSubChek, "A(L+(L- G-))"},
      {cSubNotP, "A(N+(N- G-))"},
      {cSubSome, "A(S+(S- G-))"},
  };
  for (const Case& c : cases) {
    TFolderChoice choice(kAll);
    TChoiceNode& drive = choice.AddDrive("/d", true);
    drive.sub = c.sub;
    choice.AddChild(drive, "a", true);
    choice.AddChild(drive, "b", false);
    TFolderChoice::SetLoaded(drive);
    EXPECT_EQ(Render(choice.TreeRoot()), c.want);
    EXPECT_TRUE(drive.hasChildren);
  }

  // A folder whose listing found nothing loses its expand button.
  TFolderChoice choice(kAll);
  TChoiceNode& drive = choice.AddDrive("/d", true);
  TFolderChoice::SetLoaded(drive);
  EXPECT_FALSE(drive.hasChildren);
  EXPECT_EQ(Render(choice.TreeRoot()), "A(A+())");
}

TEST(FolderChoice, FullPathEndsInOneSlash) {
  TFolderChoice choice(kAll);
  TChoiceNode& top = choice.AddDrive("/", true);
  TChoiceNode& home = choice.AddDrive("/home", true);
  TChoiceNode& tmp = choice.AddChild(choice.AddChild(home, "user", true), "tmp", false);
  EXPECT_EQ(TFolderChoice::FullPath(choice.TreeRoot()), "");
  EXPECT_EQ(TFolderChoice::FullPath(top), "/");
  EXPECT_EQ(TFolderChoice::FullPath(choice.AddChild(top, "etc", false)), "/etc/");
  EXPECT_EQ(TFolderChoice::FullPath(home), "/home/");
  EXPECT_EQ(TFolderChoice::FullPath(tmp), "/home/user/tmp/");
}

}  // namespace
}  // namespace vorlo
