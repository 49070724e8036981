#include "editor/folder_choice.h"

#include <algorithm>

namespace vorlo {

TFolderChoice::TFolderChoice(std::string nameForAll) : NameForAll(std::move(nameForAll)) {
  root_.sub = cSubChkP;
  root_.loaded = true;  // the drives are its children from the start
}

TChoiceNode& TFolderChoice::AddTop(std::string name, bool hasChildren) {
  auto node = std::make_unique<TChoiceNode>();
  node->name = std::move(name);
  node->hasChildren = hasChildren;
  node->parent = &root_;
  root_.hasChildren = true;
  return *root_.children.emplace_back(std::move(node));
}

TChoiceNode& TFolderChoice::AddDrive(std::string mountPoint, bool hasChildren) {
  TChoiceNode& drive = AddTop(std::move(mountPoint), hasChildren);
  drive.sub = cSubChkP;
  drive.fol = cFolderY;
  return drive;
}

TChoiceNode& TFolderChoice::AddFolder(std::string text, FolderRule rule, bool hasChildren) {
  std::string path = text;
  if (path.empty() || path.back() != '/') path += '/';
  TChoiceNode* node = nullptr;
  for (const auto& shown : root_.children)
    if (FullPath(*shown) == path) node = shown.get();
  if (node == nullptr) {
    node = &AddTop(std::move(text), hasChildren);
    node->entry = true;
    node->sub = cSubNotP;  // out until its rule is carried up
    node->fol = cFolderN;
  }
  SetRule(*node, rule);
  return *node;
}

void TFolderChoice::SetRule(TChoiceNode& Node, FolderRule rule) {
  SetSubAndAdjust(Node, rule == FolderRule::pFolOnly ? cSubNotP : cSubChkP);
  SetFolAndAdjust(Node, rule == FolderRule::pSubOnly ? cFolderN : cFolderY);
}

TChoiceNode& TFolderChoice::AddChild(TChoiceNode& Node, std::string name, bool hasChildren) {
  auto child = std::make_unique<TChoiceNode>();
  child->name = std::move(name);
  child->hasChildren = hasChildren;
  child->sub = hasChildren ? Node.sub : cSubGray;
  child->fol = Node.sub == cSubChkP ? cFolderY : cFolderN;
  child->parent = &Node;
  return *Node.children.emplace_back(std::move(child));
}

void TFolderChoice::SetLoaded(TChoiceNode& Node) {
  Node.loaded = true;
  if (Node.children.empty()) Node.hasChildren = false;
}

void TFolderChoice::SetOneSub(TChoiceNode& Node, int Sub) {
  if (Sub < cSubLO || Sub > cSubHI) return;
  Node.sub = Sub;
}

std::string TFolderChoice::FullPath(const TChoiceNode& Node) {
  std::vector<const TChoiceNode*> chain;  // the node up to its drive
  for (const TChoiceNode* n = &Node; n->parent != nullptr; n = n->parent) chain.push_back(n);
  if (chain.empty()) return {};
  std::string path = chain.back()->name;
  if (path.empty() || path.back() != '/') path += '/';
  for (auto it = chain.rbegin() + 1; it != chain.rend(); ++it) {
    path += (*it)->name;
    path += '/';
  }
  return path;
}

// Carrying a choice down and up.

bool TFolderChoice::SetFolAndAdjust(TChoiceNode& Node, int Fol) {
  if (Node.parent == nullptr) return false;
  bool New = false;
  if (Fol == -1) {
    New = !FolChecked(Node);
  } else if (Fol == cFolderY) {
    New = true;
  } else if (Fol == cFolderN) {
    New = false;
  } else {
    return false;
  }
  SetOneFol(Node, New);
  ParSet(Node, New, !New);
  return true;
}

bool TFolderChoice::SetSubAndAdjust(TChoiceNode& Node, int Sub) {
  if (Sub < cSubLO || Sub > cSubHI) return false;
  SetOneSub(Node, Sub);
  const int T = (Sub == cSubChek || Sub == cSubGray) ? cSubChkP : Sub;
  ChdSet(Node, T == cSubChkP);
  ParSet(Node, T == cSubChkP, T == cSubNotP);
  return true;
}

void TFolderChoice::SetExistSubs(TChoiceNode& Node) {
  if (!Node.hasChildren) {
    SetSubAndAdjust(Node, cSubGray);
    return;
  }
  SetSubAndAdjust(Node, cSubChek);
  for (TChoiceNode* p = Node.parent; p != nullptr; p = p->parent)
    if (GetSub(*p) == cSubChkP) SetOneSub(*p, cSubChek);
}

void TFolderChoice::ChdSet(TChoiceNode& Node, bool In) {
  for (const auto& c : Node.children) {
    c->sub = c->hasChildren ? (In ? cSubChkP : cSubNotP) : cSubGray;
    SetOneFol(*c, In);
    ChdSet(*c, In);
  }
}

void TFolderChoice::ParSet(TChoiceNode& Node, bool In, bool Out) {
  if (In && Out) return;
  // Every ancestor is looked at, changed or not; their folder states stay.
  for (TChoiceNode* P = Node.parent; P != nullptr; P = P->parent) {
    switch (GetSub(*P)) {
      case cSubChkP:
      case cSubChek:
        if (!In) SetOneSub(*P, AllSibsMatch(*P, false) ? cSubNotP : cSubSome);
        break;
      case cSubNotP:
        if (!Out) SetOneSub(*P, AllSibsMatch(*P, true) ? cSubChek : cSubSome);
        break;
      case cSubSome:
        if (Out && AllSibsMatch(*P, false))
          SetOneSub(*P, cSubNotP);
        else if (In && AllSibsMatch(*P, true))
          SetOneSub(*P, cSubChek);
        break;
      default: break;
    }
  }
}

bool TFolderChoice::AllSibsMatch(const TChoiceNode& P, bool Value) const {
  for (const auto& c : P.children) {
    bool matches = false;
    switch (c->sub) {
      case cSubChkP:
      case cSubChek: matches = Value; break;
      case cSubNotP: matches = !Value; break;
      case cSubGray: matches = true; break;
      default: matches = false; break;
    }
    if (!matches || FolChecked(*c) != Value) return false;
  }
  return true;
}

// Reading the choice.

void TFolderChoice::SaveToList(FolderList& List) const {
  List.clear();
  Process(root_, true, List);
}

void TFolderChoice::Process(const TChoiceNode& Node, bool IsRoot, FolderList& List) const {
  const bool checked = FolChecked(Node);
  // A folder entry of its own is saved with its text as it was given.
  const auto path = [&Node] { return Node.entry ? Node.name : FullPath(Node); };
  // The local-drives entry stands for the drives alone.
  const auto isEntry = [](const auto& c) { return c->entry; };
  const bool allDrives = IsRoot && std::none_of(Node.children.begin(), Node.children.end(), isEntry);
  switch (GetSub(Node)) {
    case cSubChkP:
      if (allDrives) {
        List.push_back({NameForAll, FolderRule::pFolAndSub});
        return;
      }
      if (!IsRoot) {
        List.push_back({path(), checked ? FolderRule::pFolAndSub : FolderRule::pSubOnly});
        return;
      }
      break;
    case cSubNotP:
    case cSubGray:
      if (checked) List.push_back({path(), FolderRule::pFolOnly});
      return;
    default:  // cSubChek, cSubSome: each loaded child decides
      if (checked) List.push_back({path(), FolderRule::pFolOnly});
      break;
  }
  for (const auto& c : Node.children) Process(*c, false, List);
}

}  // namespace vorlo
