// A run that reads each folder once must log exactly what a run whose every
// type walks the disk itself logs: random type lists over a small tree with
// links, hidden files, a trash-named folder, an unreadable folder and a
// second local drive inside it.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "support/run_fixture.h"

namespace vorlo {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;
using testing::UtcClock;

constexpr int64_t kOld = 1500000000;  // 2017
constexpr int64_t kNew = 1764900000;  // the day before the test clock's now

void Put(const std::string& path, size_t bytes, int64_t mtime) {
  fs::create_directories(fs::path(path).parent_path());
  FILE* f = std::fopen(path.c_str(), "w");
  ASSERT_NE(f, nullptr) << path;
  std::fwrite(std::string(bytes, 'x').data(), 1, bytes, f);
  std::fclose(f);
  const timespec times[2] = {{mtime, 0}, {mtime, 0}};
  ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0);
}

void BuildTree(const std::string& r) {
  const struct {
    const char* name;
    size_t bytes;
    int64_t mtime;
  } files[] = {
      {"x.tmp", 10, kNew},          {"y.log", 200, kOld},         {".hidden.tmp", 5, kNew},
      {"a/x.tmp", 300, kOld},       {"a/y.TMP", 2, kNew},         {"a/noext", 50, kOld},
      {"a/.Trash/t.tmp", 1, kNew},  {"a/b/z.tmp", 4000, kNew},    {"a/b/x.bak", 7, kOld},
      {"a/b/c/w.tmp", 0, kOld},     {"a/b/c/v.log", 120, kNew},   {"a/locked/l.tmp", 3, kNew},
      {"mnt/m.tmp", 60, kOld},      {"mnt/sub/n.bak", 9, kNew},   {"mnt/.Trash-1000/q.tmp", 1, kOld},
      {"mnt/sub/deep/o.tmp", 11, kNew}, {"d/old.tmp", 100, kOld}, {"d/e/f/g.tmp", 1000, kNew},
      {".Trash/p.tmp", 1, kNew},    {"Vorlo$$$.$$$/h.tmp", 1, kNew},
  };
  for (const auto& f : files) Put(r + "/" + f.name, f.bytes, f.mtime);
  fs::create_symlink("x.tmp", r + "/a/link.tmp");
  fs::create_symlink("b", r + "/a/dirlink");
  fs::create_symlink("a", r + "/lnk");
  fs::permissions(r + "/a/locked", fs::perms::none);
}

void Unlock(const std::string& r) {
  std::error_code ec;
  fs::permissions(r + "/a/locked", fs::perms::owner_all, ec);
}

// A type in terms of the tree's root, so that it can be made for any copy.
struct TypePlan {
  bool localDrives = false;
  std::vector<std::pair<std::string, FolderRule>> dirs;  // below the root
  SpecList deletes, prots;
  DateRestriction date;
  AgeRestriction age;
  SizeRestriction size;
  CleanupMethod method = CleanupMethod::cuDelete;
  bool checked = true;
};

std::vector<TypePlan> RandomPlans(uint32_t seed) {
  std::mt19937 rng(seed);
  const auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  static const char* kFolders[] = {"", "a", "a/b", "a/b/c", "mnt", "mnt/sub", "d", "d/e", "lnk", "none", "a/"};
  static const char* kDeletes[] = {"*.tmp", "*.*", "*", "*.log", "x.*", "*.TMP", "*.bak", "noext", ".hid*"};
  static const char* kProts[] = {"*.log", "y*", "/a/x.tmp", "z.tmp", "/x.tmp"};
  std::vector<TypePlan> plans(1 + pick(6));
  for (TypePlan& p : plans) {
    p.localDrives = pick(5) == 0;
    if (!p.localDrives)
      for (size_t n = 1 + pick(3); n > 0; --n) p.dirs.emplace_back(kFolders[pick(std::size(kFolders))], FolderRule(pick(3)));
    for (size_t n = 1 + pick(3); n > 0; --n) p.deletes.push_back(kDeletes[pick(std::size(kDeletes))]);
    for (size_t n = pick(3) == 0 ? 1 : 0; n > 0; --n) p.prots.push_back(kProts[pick(std::size(kProts))]);
    if (pick(6) == 0) p.date = {true, 1, 45000, 0};  // before 2023
    if (pick(6) == 0) p.age = {true, 2, 3, 0};
    if (pick(6) == 0) {
      p.size.on = true;
      p.size.type = 2;
      p.size.data1 = 100;
    }
    p.method = CleanupMethod(pick(3));
    p.checked = pick(5) != 0;
  }
  return plans;
}

// A change to the tree made between two types of a run: what another program
// might do while the run goes on. Each works on a path below the root and
// does nothing when that path is not what it expects.
enum class Mutation { Rewrite, Grow, Truncate, RenameOver, ToFolder, ToLink, FolderRemade, NewFile };
struct Change {
  size_t beforeType;  // applied as the type with this index (from 0) in the run starts
  Mutation what;
  std::string path;
};

std::vector<Change> RandomChanges(uint32_t seed, size_t types) {
  std::mt19937 rng(seed * 7919u + 1);
  const auto pick = [&](size_t n) { return static_cast<size_t>(rng() % n); };
  static const char* kFiles[] = {"x.tmp", "y.log", "a/x.tmp", "a/y.TMP", "a/noext", "a/b/z.tmp", "a/b/x.bak",
                                 "a/b/c/w.tmp", "a/b/c/v.log", "mnt/m.tmp", "mnt/sub/n.bak", "d/old.tmp",
                                 "d/e/f/g.tmp", "mnt/sub/deep/o.tmp"};
  static const char* kFolders[] = {"a/b/c", "d/e", "mnt/sub/deep", "d", "a/b"};
  std::vector<Change> changes;
  if (types < 2) return changes;
  for (size_t n = 1 + pick(4); n > 0; --n) {
    const auto what = Mutation(pick(8));
    const bool folder = what == Mutation::FolderRemade || what == Mutation::NewFile;
    changes.push_back({1 + pick(types - 1), what,
                       folder ? kFolders[pick(std::size(kFolders))] : kFiles[pick(std::size(kFiles))]});
  }
  return changes;
}

void Apply(const std::string& root, const Change& c) {
  const std::string p = root + "/" + c.path;
  struct stat st {};
  const bool there = ::lstat(p.c_str(), &st) == 0;
  const bool file = there && S_ISREG(st.st_mode), folder = there && S_ISDIR(st.st_mode);
  switch (c.what) {
    case Mutation::Rewrite:
      if (file) Put(p, static_cast<size_t>(st.st_size), kNew);
      break;
    case Mutation::Grow:
      if (file) Put(p, static_cast<size_t>(st.st_size) + 5000, st.st_mtim.tv_sec);
      break;
    case Mutation::Truncate:
      if (file) Put(p, 3, st.st_mtim.tv_sec);
      break;
    case Mutation::RenameOver:
      if (file) {
        Put(p + ".new", 12, kNew);
        ASSERT_EQ(::rename((p + ".new").c_str(), p.c_str()), 0);
      }
      break;
    case Mutation::ToFolder:
      if (file) {
        fs::remove(p);
        Put(p + "/inner.tmp", 8, kOld);
      }
      break;
    case Mutation::ToLink:
      if (file) {
        fs::remove(p);
        fs::create_symlink("x.tmp", p);
      }
      break;
    case Mutation::FolderRemade:
      if (folder) {
        fs::remove_all(p);
        Put(p + "/new.tmp", 30, kNew);
        Put(p + "/old.tmp", 300, kOld);
      }
      break;
    case Mutation::NewFile:
      if (folder) Put(p + "/added.tmp", 500, kOld);
      break;
  }
}

// A run over one copy of the tree, with the real removal methods; the trash
// and the home folder are temporary.
struct TreeRun {
  explicit TreeRun(const std::string& base) : root(base + "/tree"), home(base + "/home") {
    fs::create_directories(home);
    fs::create_directories(base + "/data");
    BuildTree(root);
    mountInfo = "26 1 254:0 / / rw - ext4 /dev/vda rw\n90 26 8:17 / " + root + " rw - ext4 /dev/sdb1 rw\n91 90 8:18 / " +
                root + "/mnt rw - ext4 /dev/sdc1 rw\n";
    remover = std::make_unique<SystemFileRemover>(
        TrashSetup{home + "/.local/share/Trash", {root, root + "/mnt"}, static_cast<uint32_t>(getuid()), &clock},
        HoldingSetup{{root, root + "/mnt"}, home});
    runs = std::make_unique<RunControl>(RunSetup{
        .port = port,
        .list = list,
        .mainThread = mainThread,
        .clock = clock,
        .drives = drives,
        .bins = bins,
        .remover = *remover,
        .separators = {",", "."},
        .files = DataFiles(base + "/data/"),
        .programFolder = "/",  // keeps the machine's own root out of local-drives types
        .skipFolders = {},
        .dateTimeStamp = [] { return std::string("DATE  TIME"); },
        .timeStamp = [] { return std::string("TIME"); },
    });
    runs->finished = [this] { finished = true; };
    logs = base + "/data/";
  }
  ~TreeRun() { Unlock(root); }

  void Plan(const std::vector<TypePlan>& plans) {
    for (size_t i = 0; i < plans.size(); ++i) {
      const TypePlan& p = plans[i];
      FolderList dirs;
      for (const auto& [folder, rule] : p.dirs) dirs.push_back({folder.empty() ? root : root + "/" + folder, rule});
      SpecList prots;
      for (const std::string_view s : p.prots)
        prots.push_back(s.starts_with('/') ? root + std::string(s) : std::string(s));
      list.Append(TJunkFileObj("T" + std::to_string(i), p.checked, p.method, dirs, p.deletes, prots, p.date, p.age,
                               p.size));
      list.SetChecked(i, p.checked);
    }
  }

  // Runs to the end, changing the tree as `changes` say between types; the
  // logs, closing message and what is left of the tree, with the root
  // written as "ROOT".
  std::string Go(bool test, bool reuse, bool share, const std::vector<Change>& changes = {}) {
    runs->reuseListings = reuse;
    runs->shareMatcher = share;
    finished = false;
    size_t started = 0;
    port.onSelectRow = [&](int) {
      for (const Change& c : changes)
        if (c.beforeType == started) Apply(root, c);
      ++started;
    };
    if (test)
      runs->act10Execute();
    else
      runs->aCleanupExecute();
    if (!finished) mainThread.RunUntil([this] { return finished; });
    std::string out = testing::ReadFile(logs + (test ? "Vorlo.TEST.TXT" : "Vorlo.LOG.TXT"));
    out += "\n#" + port.messages.back().text + "\n#";
    Unlock(root);
    for (const auto& e : fs::recursive_directory_iterator(root)) out += e.path().string() + "\n";
    fs::permissions(root + "/a/locked", fs::perms::none);
    for (size_t at; (at = out.find(root)) != std::string::npos;) out.replace(at, root.size(), "ROOT");
    return out;
  }

  std::string root, home, logs, mountInfo;
  testing::FakePort port;
  JunkList list;
  QueueExecutor mainThread;
  UtcClock clock;
  LocalDriveSource drives{[this] { return mountInfo; }, [](const MountEntry&) { return false; }};
  RecycleBinCheck bins{[] { return std::vector<TrashDriveSettings>{}; }, [](const std::string&) { return int64_t{0}; }};
  std::unique_ptr<SystemFileRemover> remover;
  std::unique_ptr<RunControl> runs;
  bool finished = false;
};

// An analysis and a clean-up of `plans` over three copies of the tree: one
// walk per type, kept listings with each type matching names itself, and
// kept listings matched once for all types (with the subtrees a type finds
// nothing in passed over); logs and what is left must agree.
void ExpectSameLogs(const std::vector<TypePlan>& plans, const std::vector<Change>& changes, uint32_t seed) {
  TempDir dir(TempDir::FastBase());
  for (const char* copy : {"shared", "own", "each"}) fs::create_directories(dir / copy);
  TreeRun shared(dir / "shared"), own(dir / "own"), each(dir / "each");
  for (TreeRun* run : {&shared, &own, &each}) run->Plan(plans);
  for (const bool test : {true, false}) {
    const std::string expected = each.Go(test, false, false, changes);
    ASSERT_EQ(own.Go(test, true, false, changes), expected) << (test ? "analysis" : "clean-up") << ", seed " << seed;
    ASSERT_EQ(shared.Go(test, true, true, changes), expected)
        << (test ? "analysis" : "clean-up") << " with the shared matcher, seed " << seed;
  }
}

TEST(OneWalkRun, LogsWhatTypeByTypeWalksLog) {
  constexpr uint32_t kFirstSeed = 9000;
  for (uint32_t seed = kFirstSeed; seed < kFirstSeed + 200; ++seed) {
    const std::vector<TypePlan> plans = RandomPlans(seed);
    if (std::none_of(plans.begin(), plans.end(), [](const TypePlan& p) { return p.checked; })) continue;
    ExpectSameLogs(plans, {}, seed);
    if (HasFatalFailure()) return;
  }
}

// The same while the tree changes between types: files rewritten, grown,
// truncated, renamed over, replaced by folders and links, folders made
// anew. A later type decides on what is there when it comes, as a type that
// walks the disk itself does: nothing kept from an earlier type decides.
TEST(OneWalkRun, LaterTypesSeeTheChangesMadeMeanwhile) {
  constexpr uint32_t kFirstSeed = 5000;
  for (uint32_t seed = kFirstSeed; seed < kFirstSeed + 200; ++seed) {
    const std::vector<TypePlan> plans = RandomPlans(seed);
    const size_t checked = static_cast<size_t>(std::count_if(plans.begin(), plans.end(), [](const TypePlan& p) { return p.checked; }));
    if (checked < 2) continue;
    ExpectSameLogs(plans, RandomChanges(seed, checked), seed);
    if (HasFatalFailure()) return;
  }
}

}  // namespace
}  // namespace vorlo
