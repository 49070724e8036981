// "Clean up ticked files": a clean-up of exactly the files ticked in the
// review of an analysis's kept results, each by its own type's method, with
// a clean-up's lock, log, journal, progress and closing message. Nothing is
// searched; each type's walk looks at its listed files only.
#include <map>

#include "app/junk_list.h"
#include "app/run_control.h"
#include "app/texts.h"
#include "app/user_port.h"
#include "core/recycle_bin.h"
#include "core/text.h"
#include "platform/file_ops.h"

namespace vorlo {

namespace {

// The row the analysis had for type `t`, if the list still has that type
// there under that name.
int32_t RowOf(const FoundType& t, const JunkList& list) {
  if (t.row < 0 || static_cast<size_t>(t.row) >= list.size()) return -1;
  const JunkRow& row = list[static_cast<size_t>(t.row)];
  return row.type && row.caption == t.name ? t.row : -1;
}

}  // namespace

bool RunControl::CleanUpFound(FoundResults ticked) {
  if (VeryBusy_ != RunState::Idle) {
    if (VeryBusy_ == RunState::Counting) s_.port.SetPanel(1, std::string(texts::kCountRunning));
    return false;
  }
  // Each file under its type, folder by folder in the order found; a file an
  // earlier type found too is that type's. Types the list no longer has
  // (moved, renamed, removed) take none of theirs.
  std::vector<FoundGroup> groups(ticked.Types().size());
  std::vector<std::map<std::string_view, size_t>> folderOf(groups.size());
  std::vector<std::string> orphans;
  for (size_t i = 0; i < ticked.size(); ++i) {
    const FoundRecord& r = ticked[i];
    if (r.IsDupe()) continue;
    FoundGroup& g = groups[r.type];
    g.row = RowOf(ticked.Types()[r.type], s_.list);
    if (g.row < 0) {
      orphans.emplace_back(ticked.Path(i));
      continue;
    }
    const std::string_view folder = ticked.Folder(i);
    auto [at, added] = folderOf[r.type].try_emplace(folder, g.folders.size());
    if (added) g.folders.push_back({std::string(folder), {}});
    g.folders[at->second].files.push_back({std::string(ticked.Name(i)), r});
  }
  std::erase_if(groups, [](const FoundGroup& g) { return g.folders.empty(); });
  // The Recycle Bin gate, as for a clean-up: its types are left out.
  if (s_.bins.RecycleBinProblem()) {
    const size_t before = groups.size();
    std::erase_if(groups, [this](const FoundGroup& g) {
      return s_.list[static_cast<size_t>(g.row)].type->Backtype() == CleanupMethod::cuRecycle;
    });
    if (!BinProblemAllows(static_cast<int>(before - groups.size()), !groups.empty() || !orphans.empty()))
      return false;
  }
  if (groups.empty() && orphans.empty()) {
    s_.port.SetPanel(1, std::string(texts::kNothingTicked));
    return false;
  }
  found_ = std::move(groups);
  foundNext_ = 0;
  if (!BeginRun(false)) {
    found_.clear();
    return false;
  }
  // Files whose type has gone: named first, each with its reason.
  for (const std::string& path : orphans) Failed(path, kChangedSinceAnalysis);
  if (!NextFoundGroup()) {
    EndRun(false);
    return true;
  }
  StartType(true);
  return true;
}

bool RunControl::NextFoundGroup() {
  if (foundNext_ >= found_.size()) return false;
  CleanIdx_ = found_[foundNext_++].row;
  return true;
}

}  // namespace vorlo
