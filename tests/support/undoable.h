// Real, journaled removals for a run fixture, so that its clean-ups can be
// undone.
#pragma once

#include <unistd.h>

#include <string>

#include "app/file_remover.h"
#include "app/undo_journal.h"
#include "app/undo_run.h"
#include "support/run_command.h"
#include "support/run_fixture.h"

namespace vorlo::testing {

// The real removals of a clean-up, journaled, in the fixture's tree: the
// home trash in home/.local/share/Trash, the holding folder at the tree's
// top, the journal in the data folder.
struct Undoable {
  explicit Undoable(RunFixture& f)
      : trash{f.dir / "home/.local/share/Trash", {f.dir.path()}, static_cast<uint32_t>(::getuid()), &f.clock},
        holding{{f.dir.path()}, ""},
        journalFolder(f.dir / "data/Vorlo.undo"),
        journal(journalFolder),
        remover(trash, holding, {}, &journal),
        dir(f.dir.path()) {
    f.realRemover = &remover;
    f.undoSetup = [this] { return UndoSetup{journalFolder, trash, holding}; };
  }
  std::string Trashed(const std::string& name) const { return trash.homeTrash + "/files/" + name; }
  std::string Info(const std::string& name) const { return trash.homeTrash + "/info/" + name + ".trashinfo"; }
  std::string Held(const std::string& original) const {
    return dir + "/" + kHoldingFolderName + original.substr(dir.size());
  }
  // What trash-list (the freedesktop trash's own client) lists.
  std::string TrashList() const {
    return testing::RunCommand({"trash-list"}, {"HOME=" + dir + "/home", "XDG_DATA_HOME=" + dir + "/home/.local/share"})
        .out;
  }

  TrashSetup trash;
  HoldingSetup holding;
  std::string journalFolder;
  UndoJournal journal;
  SystemFileRemover remover;
  std::string dir;
};

}  // namespace vorlo::testing
