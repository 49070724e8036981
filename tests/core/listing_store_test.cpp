// The run's kept listings: what is kept and where, what a change to a
// folder does to its kept copy, which folders a later type can still reach,
// and slots given back and taken again.
#include "core/listing_store.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "support/temp_dir.h"

namespace vorlo {
namespace {

using testing::TempDir;
namespace fs = std::filesystem;

// Reads the folder at `path` into the store, the way a walk keeps it; the
// slot, or kNoSlot when it could not be watched.
uint32_t Keep(ListingStore& store, const std::string& path) {
  DirListing dir = DirListing::Open(path);
  const int watch = store.WatchBeforeRead(dir.Fd());
  DirEntries entries;
  dir.Read(entries);
  if (watch < 0) return ListingStore::kNoSlot;
  return store.Add(*dir.Id(), std::move(entries), watch);
}

FolderId IdOf(const std::string& path) { return *DirListing::Open(path).Id(); }

// A sub-folder entry of a kept parent, as a walk records it.
void Link(ListingStore& store, uint32_t parent, const std::string& childPath, uint32_t childSlot) {
  StoredFolder& p = store.At(parent);
  const std::string name = fs::path(childPath).filename();
  for (size_t i = 0; i < p.Entries().size(); ++i)
    if (p.Entries().Name(i) == name) {
      p.SetLook(i, {SubfolderLook::State::Folder, IdOf(childPath)});
      p.SlotHint(i) = childSlot;
    }
}

TEST(ListingStore, KeepsOnlyWhereALaterTypeMayCome) {
  ListingStore store;
  EXPECT_FALSE(store.Wants("/any"));  // nothing after the last type
  store.KeepFor({}, {"/home/u/.cache", "/"});
  EXPECT_TRUE(store.Wants("/anywhere"));  // a type over the root reaches everything
  store.KeepFor({}, {"/home/u/.cache"});
  const struct {
    const char* path;
    bool wanted;
  } cases[] = {{"/home/u/.cache", true}, {"/home/u/.cache/pip/x", true}, {"/home/u/.cachex", false},
               {"/home/u", false},       {"/home/u/.cach", false}};
  for (const auto& c : cases) EXPECT_EQ(store.Wants(c.path), c.wanted) << c.path;
}

// A kept folder whose names change is not trusted again: a file made,
// removed or renamed there, or the folder made anew (even with its old
// inode), each has it read afresh. A file that only changes its content
// changes no name.
TEST(ListingStore, AChangedFolderIsReadAgain) {
  const struct {
    const char* change;
    std::function<void(const std::string& folder)> make;
    bool stale;
  } cases[] = {
      {"a file made", [](const std::string& d) { std::ofstream(d + "/new.tmp"); }, true},
      {"a file removed", [](const std::string& d) { fs::remove(d + "/a.tmp"); }, true},
      {"a file renamed over another", [](const std::string& d) { fs::rename(d + "/a.tmp", d + "/b.tmp"); }, true},
      {"a file written to", [](const std::string& d) { std::ofstream(d + "/a.tmp", std::ios::app) << "more"; }, false},
  };
  for (const auto& c : cases) {
    TempDir dir;
    const std::string folder = dir / "f";
    dir.Write("f/a.tmp", "a");
    dir.Write("f/b.tmp", "b");
    ListingStore store;
    const uint32_t slot = Keep(store, folder);
    ASSERT_NE(slot, ListingStore::kNoSlot);
    store.Refresh();
    EXPECT_EQ(store.SlotOf(IdOf(folder)), slot) << c.change;
    c.make(folder);
    store.Refresh();
    EXPECT_EQ(store.SlotOf(IdOf(folder)) == ListingStore::kNoSlot, c.stale) << c.change;
  }
  // Removed and made again: whatever its inode, the old copy is gone.
  TempDir dir;
  const std::string folder = dir / "f";
  dir.Write("f/a.tmp", "a");
  ListingStore store;
  const FolderId old = IdOf(folder);
  Keep(store, folder);
  fs::remove_all(folder);
  dir.Write("f/fresh.tmp");
  store.Refresh();
  EXPECT_EQ(store.SlotOf(old), ListingStore::kNoSlot);
  EXPECT_EQ(store.SlotOf(IdOf(folder)), ListingStore::kNoSlot);
}

// KeepFor drops what no later walk can reach through kept folders, and the
// slots it frees are taken again; a hint that names another folder now is
// not believed.
TEST(ListingStore, PruningFollowsReachabilityAndSlotsAreReused) {
  TempDir dir;
  for (const char* f : {"r/a/x.tmp", "r/b/y.tmp", "other/z.tmp"}) dir.Write(f);
  ListingStore store;
  const uint32_t r = Keep(store, dir / "r"), a = Keep(store, dir / "r/a"), b = Keep(store, dir / "r/b"),
                 other = Keep(store, dir / "other");
  Link(store, r, dir / "r/a", a);  // b was never reached through r
  EXPECT_EQ(store.Folders(), 4u);

  store.KeepFor({dir / "r"}, {dir / "r"});
  EXPECT_EQ(store.Folders(), 2u);
  EXPECT_EQ(store.SlotOf(IdOf(dir / "r")), r);
  EXPECT_EQ(store.SlotOf(IdOf(dir / "r/a")), a);
  EXPECT_EQ(store.SlotOf(IdOf(dir / "r/b")), ListingStore::kNoSlot);
  EXPECT_EQ(store.SlotOf(IdOf(dir / "other")), ListingStore::kNoSlot);

  // A freed slot holds the next folder kept; the stale hint finds it out.
  const uint32_t again = Keep(store, dir / "other");
  EXPECT_TRUE(again == b || again == other);
  uint32_t hint = again;
  EXPECT_EQ(store.SlotOf(IdOf(dir / "r/b"), hint), ListingStore::kNoSlot);
  hint = again;
  EXPECT_EQ(store.SlotOf(IdOf(dir / "other"), hint), again);

  // No root left: nothing is kept.
  store.KeepFor({}, {});
  EXPECT_EQ(store.Folders(), 0u);
}

// Beyond its budget of watches the store keeps nothing more: a folder it
// could not watch would be trusted blindly.
TEST(ListingStore, NoWatchNoKeeping) {
  TempDir dir;
  dir.Write("a/x");
  dir.Write("b/y");
  ListingStore store(1);
  EXPECT_NE(Keep(store, dir / "a"), ListingStore::kNoSlot);
  EXPECT_EQ(Keep(store, dir / "b"), ListingStore::kNoSlot);
}

}  // namespace
}  // namespace vorlo
