// The folder picker's choice without its widgets: the root, the drives and
// the folders loaded so far, each with two states (the folder's own files;
// its subfolders). A change to one node is carried down to its loaded
// descendants and up to its ancestors; SaveToList reads the choice as
// folder entries. Plain C++, so the rules can be tested without a window.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/junk_type.h"

namespace vorlo {

// Subfolder states (also the node pictures).
inline constexpr int cSubChkP = 0;  // every subfolder, also those created later
inline constexpr int cSubNotP = 1;  // no subfolders, also none created later
inline constexpr int cSubChek = 2;  // the subfolders that exist now, each by its own node
inline constexpr int cSubSome = 3;  // the children differ
inline constexpr int cSubGray = 4;  // the folder has no subfolders
inline constexpr int cSubLO = 0;
inline constexpr int cSubHI = 4;
// Folder states (the state pictures, the check boxes).
inline constexpr int cFolderY = 5;
inline constexpr int cFolderN = 6;

struct TChoiceNode {
  std::string name;  // a drive's mount point, or a folder's name (bytes)
  int sub = cSubChkP;
  int fol = -1;  // cFolderY, cFolderN, or -1 for the root
  // Whether the node shows an expand button (it has, or had, subfolders).
  bool hasChildren = false;
  bool loaded = false;  // its children have been listed
  // A folder entry of its own below the root, beside the drives: its name
  // is the entry's text as given, and it is saved back so.
  bool entry = false;
  TChoiceNode* parent = nullptr;
  std::vector<std::unique_ptr<TChoiceNode>> children;  // in tree order
};

class TFolderChoice {
 public:
  // `nameForAll`: the local-drives entry text, saved as it is when
  // everything is chosen. The root starts with every subfolder chosen.
  explicit TFolderChoice(std::string nameForAll);
  // Nodes point to their parents, the root included.
  TFolderChoice(const TFolderChoice&) = delete;
  TFolderChoice& operator=(const TFolderChoice&) = delete;

  TChoiceNode& TreeRoot() { return root_; }
  const TChoiceNode& TreeRoot() const { return root_; }

  // A drive below the root, fully chosen.
  TChoiceNode& AddDrive(std::string mountPoint, bool hasChildren);
  // A folder entry (one the picker opens with, or a typed path) below the
  // root, chosen by its rule. A drive or entry that is the same folder takes
  // the rule instead; the node that took it is returned.
  TChoiceNode& AddFolder(std::string text, FolderRule rule, bool hasChildren);
  // The node's two states as a folder entry's rule says, carried down and
  // up: the folder itself unless pSubOnly, its subfolders unless pFolOnly.
  void SetRule(TChoiceNode& Node, FolderRule rule);
  // Nothing chosen: every node loaded so far is excluded.
  void ChooseNothing() { SetSubAndAdjust(root_, cSubNotP); }
  // A folder found when `Node` is first expanded; it takes its states from
  // `Node`. SetLoaded ends the listing: a node that got no child loses its
  // expand button.
  TChoiceNode& AddChild(TChoiceNode& Node, std::string name, bool hasChildren);
  static void SetLoaded(TChoiceNode& Node);

  static int GetSub(const TChoiceNode& Node) { return Node.sub; }
  // Values outside cSubLO..cSubHI are ignored.
  static void SetOneSub(TChoiceNode& Node, int Sub);
  static bool FolChecked(const TChoiceNode& Node) { return Node.fol == cFolderY; }
  static void SetOneFol(TChoiceNode& Node, bool Checked) { Node.fol = Checked ? cFolderY : cFolderN; }
  // "/home/" for the drive "/home", "/home/user/tmp/" for a folder, "" for
  // the root. Bytes as the file system gave them.
  static std::string FullPath(const TChoiceNode& Node);

  // `Fol`: -1 toggles, cFolderY or cFolderN sets. False, and nothing done,
  // for the root or any other value.
  bool SetFolAndAdjust(TChoiceNode& Node, int Fol);
  // False, and nothing done, for a value outside cSubLO..cSubHI.
  bool SetSubAndAdjust(TChoiceNode& Node, int Sub);
  // "Listed subfolders" on a node whose children are loaded: each existing
  // subfolder decides by its own node, and an ancestor that took every
  // subfolder now takes the listed ones. A node without subfolders turns grey.
  void SetExistSubs(TChoiceNode& Node);

  // Carries a choice down to every loaded descendant.
  void ChdSet(TChoiceNode& Node, bool In);
  // Carries a change up to every ancestor. `In`: something below became
  // included; `Out`: something below became excluded.
  void ParSet(TChoiceNode& Node, bool In, bool Out);
  // Whether every loaded child of `P` is fully included (`Value` true) or
  // fully excluded (false); true when none is loaded.
  bool AllSibsMatch(const TChoiceNode& P, bool Value) const;

  // The current choice as folder entries (full path with a trailing "/" and
  // the subfolder rule), or the single local-drives entry when every drive
  // is chosen and there is no folder entry of its own.
  void SaveToList(FolderList& List) const;

 private:
  // A node below the root, at the end.
  TChoiceNode& AddTop(std::string name, bool hasChildren);
  void Process(const TChoiceNode& Node, bool IsRoot, FolderList& List) const;

  std::string NameForAll;
  TChoiceNode root_;
};

}  // namespace vorlo
