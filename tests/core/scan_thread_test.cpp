#include "core/scan_thread.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "core/local_drives.h"
#include "core/main_thread.h"
#include "core/stop_event.h"
#include "platform/clock.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

using enum CleanupMethod;
using enum FolderRule;

namespace fs = std::filesystem;
using testing::TempDir;

// Only the size restriction is used here, so the clock is never asked.
class NoClock final : public Clock {
 public:
  int64_t NowUtc() const override { return 0; }
  std::optional<LocalDateTime> ToLocal(int64_t) const override { return std::nullopt; }
};

// Counts what is posted, to see whether the scan thread goes on meanwhile.
class CountingExecutor final : public MainThreadExecutor {
 public:
  void Post(std::function<void()> task) override {
    ++posted;
    queue.Post(std::move(task));
  }
  QueueExecutor queue;
  std::atomic<int> posted{0};
};

struct Report {
  int64_t sizDel;
  int32_t numDir, numDel, numRes, numProt;
  bool operator==(const Report&) const = default;
};

struct Outcome {
  std::vector<std::string> files;  // handed over, in order
  std::optional<Report> report;
  bool stopped = false;
};

TJunkFileObj Type(const FolderList& dirs, const SpecList& deletes, const SpecList& prots = {}) {
  return TJunkFileObj("t", true, cuDelete, dirs, deletes, prots, {}, {}, {});
}

constexpr const char* kRootMount = "26 1 254:0 / / rw - ext4 /dev/vda rw\n";

class ScanThreadTest : public ::testing::Test {
 protected:
  // Runs the walk of one type, as the scan thread does.
  Outcome Scan(const TJunkFileObj& tj, const std::string& myDir = "/no/program/folder",
               const std::function<void(Outcome&)>& onFile = {}) {
    Outcome o;
    auto take = [&](const FoundFile& file) {
      o.files.emplace_back(file.path);
      if (onFile) onFile(o);
    };
    const ScanCounts c = WalkJunkType(tj, ScanRequest{stop, FoundFileSink(take), nullptr, context, myDir});
    if (!c.stopped) o.report = Report{c.bytes, c.folders, c.matched, c.restricted, c.protectedFiles};
    o.stopped = c.stopped;
    return o;
  }

  // Paths below the temporary folder.
  std::vector<std::string> Rel(std::vector<std::string> files) const {
    for (std::string& f : files) f = f.starts_with(dir.path() + "/") ? f.substr(dir.path().size() + 1) : "!" + f;
    return files;
  }

  TempDir dir;
  CountingExecutor main;
  NoClock clock;
  std::string mountInfo = kRootMount;
  LocalDriveSource drives{[this] { return mountInfo; }, [](const MountEntry&) { return false; }};
  ScanContext context{main, clock, drives, {}, nullptr};
  StopEvent stop{"test"};
};

TEST_F(ScanThreadTest, FolderRulesOrderAndCounts) {
  dir.Write("a.tmp");
  dir.Write("x.txt");
  dir.Write("sub/b.tmp");
  dir.Write("sub/deep/c.tmp");
  const std::string r = dir.path();
  const struct {
    const char* what;
    FolderList dirs;
    std::string myDir;
    std::vector<std::string> files;
    int32_t numDir;
  } cases[] = {
      {"rule 0", {{r, pFolAndSub}}, "", {"a.tmp", "sub/b.tmp", "sub/deep/c.tmp"}, 3},
      {"rule 1", {{r, pFolOnly}}, "", {"a.tmp"}, 1},
      {"rule 2", {{r, pSubOnly}}, "", {"sub/b.tmp", "sub/deep/c.tmp"}, 2},
      {"unknown rule acts as 0", {{r, FolderRule{9}}}, "", {"a.tmp", "sub/b.tmp", "sub/deep/c.tmp"}, 3},
      {"trailing slash", {{r + "/", pFolAndSub}}, "", {"a.tmp", "sub/b.tmp", "sub/deep/c.tmp"}, 3},
      {"missing folder counts", {{r + "/none", pFolAndSub}}, "", {}, 1},
      {"missing folder, rule 2", {{r + "/none", pSubOnly}}, "", {}, 0},
      {"relative path is not looked up", {{"Local drives (/)", pFolAndSub}, {r, pFolOnly}}, "", {"a.tmp"}, 2},
      {"program folder as entry", {{r, pFolAndSub}}, r, {}, 0},
      {"program folder below", {{r, pFolAndSub}}, r + "/sub", {"a.tmp"}, 1},
      {"overlap visited twice",
       {{r, pFolAndSub}, {r + "/sub/", pFolOnly}},
       "",
       {"a.tmp", "sub/b.tmp", "sub/deep/c.tmp", "sub/b.tmp"},
       4},
  };
  for (const auto& c : cases) {
    const Outcome o = Scan(Type(c.dirs, {"*.tmp"}), c.myDir.empty() ? "/no/program/folder" : c.myDir);
    EXPECT_EQ(Rel(o.files), c.files) << c.what;
    ASSERT_TRUE(o.report) << c.what;
    EXPECT_EQ(o.report->numDir, c.numDir) << c.what;
    EXPECT_EQ(o.report->numDel, static_cast<int32_t>(c.files.size())) << c.what;
    EXPECT_FALSE(o.stopped) << c.what;
  }
}

TEST_F(ScanThreadTest, SpecificationsTakeEachNameOnceAndPathsStayBytes) {
  const std::string odd = "dir\xFE/bad\xFF\nname.TMP";
  dir.Write("one/a.tmp");
  dir.Write("one/a.txt");
  dir.Write("one/Makefile");
  dir.Write("one/c.");
  dir.Write("one/sub/d.txt");
  dir.Write(odd, "12345");
  const struct {
    SpecList deletes;
    std::vector<std::string> files;  // sorted
  } cases[] = {
      {{"*.tmp", "a.*"}, {"one/a.tmp", "one/a.txt"}},
      {{"*"}, {"one/Makefile", "one/c."}},  // "*" takes names without an extension only
      {{"*.*"}, {"one/Makefile", "one/a.tmp", "one/a.txt", "one/c."}},
      {{"", "*.TmP"}, {"one/a.tmp"}},
  };
  for (const auto& c : cases) {
    Outcome o = Scan(Type({{dir / "one", pFolOnly}}, c.deletes));
    std::vector<std::string> got = Rel(o.files);
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, c.files) << c.deletes[0];
    EXPECT_EQ(o.report->numDel, static_cast<int32_t>(c.files.size()));
  }

  const Outcome o = Scan(Type({{dir / "dir\xFE", pFolAndSub}}, {"*.tmp"}));
  EXPECT_EQ(o.files, std::vector<std::string>{dir / odd});
  EXPECT_EQ(o.report, (Report{5, 1, 1, 0, 0}));
}

TEST_F(ScanThreadTest, RestrictedWinsOverProtectedAndCountsAddUp) {
  dir.Write("big.tmp", std::string(100, 'x'));
  dir.Write("small.tmp", "abc");                     // restricted
  dir.Write("keepbig.tmp", std::string(50, 'x'));    // protected
  dir.Write("keepsmall.tmp", "ab");                  // both: restricted
  dir.Write("other.tmp", std::string(20, 'x'));      // protected by full path
  dir.Write("sub/other.tmp", std::string(30, 'x'));  // same name elsewhere: passes
  // Size "greater than" 10 bytes (10 and more pass).
  const TJunkFileObj tj("t", true, cuDelete, {{dir.path(), pFolAndSub}}, {"*.tmp"},
                        {"keep*.*", dir / "other.tmp"}, {}, {}, SizeRestriction{{true, 2, 10, 0}, 0});
  const Outcome o = Scan(tj);
  std::vector<std::string> got = Rel(o.files);
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, (std::vector<std::string>{"big.tmp", "sub/other.tmp"}));
  EXPECT_EQ(o.report, (Report{130, 2, 6, 2, 2}));
}

TEST_F(ScanThreadTest, StopEndsTheWalkWithoutReport) {
  for (int i = 0; i < 10; ++i) dir.Write("d" + std::to_string(i) + "/f.tmp");
  const TJunkFileObj tj = Type({{dir.path(), pFolAndSub}}, {"*.tmp"});

  // Set during the walk: nothing more is handed over.
  Outcome o = Scan(tj, "/no/program/folder", [&](Outcome& out) {
    if (out.files.size() == 3) stop.Set();
  });
  EXPECT_EQ(o.files.size(), 3u);
  EXPECT_FALSE(o.report);
  EXPECT_TRUE(o.stopped);

  // Already set: the walk does not begin.
  o = Scan(tj);
  EXPECT_TRUE(o.files.empty());
  EXPECT_TRUE(o.stopped);

  // Set after the walk's last test (from the report): changes nothing.
  stop.Reset();
  bool reported = false;
  bool done = false, stopped = true;
  const auto scan = ActOnFiles(
      tj, nullptr,
      [&](const ScanCounts& c) {
        reported = c.matched == 10;
        stop.Set();
      },
      [&](TJunkDelThread& t) {
        stopped = t.WasStopped();
        done = true;
      },
      stop, "/no/program/folder", context);
  main.queue.RunUntil([&] { return done; });
  EXPECT_TRUE(reported);
  EXPECT_FALSE(stopped);
}

TEST_F(ScanThreadTest, ThreadsOfTheCallbacksAndTheEnd) {
  dir.Write("a.tmp");
  const auto mainId = std::this_thread::get_id();
  std::thread::id fileThread;
  bool reportOnMain = false, scanWaited = false, done = false, stopped = true;
  ScanProgress progress;
  context.progress = &progress;
  const TJunkFileObj tj = Type({{dir.path(), pFolAndSub}}, {"*.tmp"});
  auto take = [&](const FoundFile&) { fileThread = std::this_thread::get_id(); };
  const auto scan = ActOnFiles(
      tj, FoundFileSink(take),
      [&](const ScanCounts&) {
        reportOnMain = std::this_thread::get_id() == mainId;
        // Had the scan not waited, its end notification would be posted by now.
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        scanWaited = main.posted == 1;
      },
      [&](TJunkDelThread& t) {
        stopped = t.WasStopped();
        done = std::this_thread::get_id() == mainId;
      },
      stop, "/no/program/folder", context);
  main.queue.RunUntil([&] { return done; });
  EXPECT_NE(fileThread, mainId);
  EXPECT_NE(fileThread, std::thread::id());
  EXPECT_TRUE(reportOnMain);
  EXPECT_TRUE(scanWaited);
  EXPECT_FALSE(stopped);
  EXPECT_EQ(progress.Latest(), dir / "a.tmp");
}

TEST_F(ScanThreadTest, EndNotificationAlwaysAndOnlyWithIt) {
  dir.Write("a.tmp");
  dir.Write("b/c.tmp");
  const TJunkFileObj tj = Type({{dir.path(), pFolAndSub}}, {"*.tmp"});

  // A failing sink ends the scan: no report, not stopped.
  int files = 0;
  bool reported = false, done = false, stopped = true;
  auto failing = [&](const FoundFile&) {
    ++files;
    throw std::runtime_error("disk on fire");
  };
  std::string error;
  const auto scan = ActOnFiles(
      tj, FoundFileSink(failing),
      [&](const ScanCounts&) { reported = true; },
      [&](TJunkDelThread& t) {
        stopped = t.WasStopped();
        error = t.Error();
        done = true;
      },
      stop, "/no/program/folder", context);
  main.queue.RunUntil([&] { return done; });
  EXPECT_EQ(files, 1);
  EXPECT_FALSE(reported);
  EXPECT_FALSE(stopped);
  EXPECT_EQ(error, "disk on fire");  // said, not taken for an empty scan

  // Without an end notification nothing starts.
  const int posted = main.posted;
  auto counting = [&](const FoundFile&) { ++files; };
  EXPECT_EQ(ActOnFiles(
                tj, FoundFileSink(counting), [&](const ScanCounts&) { reported = true; }, nullptr, stop,
                "/no/program/folder", context),
            nullptr);
  std::this_thread::sleep_for(std::chrono::milliseconds(100));
  main.queue.RunPending();
  EXPECT_EQ(files, 1);
  EXPECT_FALSE(reported);
  EXPECT_EQ(main.posted, posted);
}

TEST_F(ScanThreadTest, AFoundFileCarriesItsOpenFolderNameAndStat) {
  dir.Write("sub/a.tmp", "12345");
  fs::create_symlink("nowhere", dir / "link.tmp");
  const TJunkFileObj tj = Type({{dir.path(), pFolAndSub}}, {"*.tmp"});
  struct Seen {
    std::string path, name;
    bool terminated, sameFile;
    int64_t size, mtime;
    const TJunkFileObj* type;
  };
  std::vector<Seen> seen;
  // Looked at during the call, while the folder is open.
  auto take = [&](const FoundFile& f) {
    struct stat inFolder {}, byPath {};
    const std::string path(f.path);
    const bool sameFile = fstatat(f.folder, f.name.data(), &inFolder, AT_SYMLINK_NOFOLLOW) == 0 &&
                          lstat(path.c_str(), &byPath) == 0 && inFolder.st_dev == byPath.st_dev &&
                          inFolder.st_ino == byPath.st_ino;
    seen.push_back({path, std::string(f.name), f.name.data()[f.name.size()] == '\0', sameFile, f.Size(),
                    f.stat.mtimeUtc - byPath.st_mtime, f.type});
  };
  bool done = false;
  const auto scan = ActOnFiles(tj, FoundFileSink(take), nullptr, [&](TJunkDelThread&) { done = true; }, stop,
                               "/no/program/folder", context);
  main.queue.RunUntil([&] { return done; });

  ASSERT_EQ(seen.size(), 2u);
  std::sort(seen.begin(), seen.end(), [](const Seen& x, const Seen& y) { return x.path < y.path; });
  const std::pair<std::string, int64_t> expected[] = {{"link.tmp", 7}, {"sub/a.tmp", 5}};
  for (size_t i = 0; i < seen.size(); ++i) {
    const Seen& s = seen[i];
    EXPECT_EQ(s.path, dir / expected[i].first);
    EXPECT_TRUE(s.path.ends_with("/" + s.name)) << s.path;
    EXPECT_TRUE(s.terminated) << s.path;
    EXPECT_TRUE(s.sameFile) << s.path;
    EXPECT_EQ(s.size, expected[i].second) << s.path;
    EXPECT_EQ(s.mtime, 0) << s.path;
    EXPECT_EQ(s.type, &tj) << s.path;
  }
}

TEST_F(ScanThreadTest, LinksAreNotFollowedAndOnlyFilesAreFound) {
  dir.Write("real/x.tmp", "12");
  fs::create_directory_symlink(dir / "real", dir / "to-real");
  fs::create_directory_symlink(dir.path(), dir / "real/loop");
  fs::create_symlink(dir / "real/x.tmp", dir / "file-link.tmp");
  fs::create_directory_symlink(dir / "real", dir / "folder-link.tmp");
  fs::create_directory(dir / "folder.tmp");
  ASSERT_EQ(mkfifo((dir / "pipe.tmp").c_str(), 0600), 0);
  ASSERT_EQ(mkfifo((dir / "real/pipe.tmp").c_str(), 0600), 0);

  const Outcome o = Scan(Type({{dir.path(), pFolAndSub}}, {"*.tmp"}));
  std::vector<std::string> got = Rel(o.files);
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, (std::vector<std::string>{"file-link.tmp", "folder-link.tmp", "real/x.tmp"}));
  // The links count with their own sizes.
  const int64_t linkSizes = static_cast<int64_t>((dir / "real/x.tmp").size() + (dir / "real").size());
  EXPECT_EQ(o.report, (Report{2 + linkSizes, 3, 3, 0, 0}));
}

TEST_F(ScanThreadTest, SkipsBelowDriveRootsAndSkipFolders) {
  for (const char* f :
       {"Vorlo$$$.$$$/a.tmp", ".Trash/b.tmp", ".Trash-1000/c.tmp", ".Trash-x/d.tmp", ".Trash-/e.tmp",
        "data/Vorlo$$$.$$$/f.tmp", "data/.Trash/g.tmp", "data/.Trash-1000/h.tmp", "data/skip/i.tmp", "j.tmp"})
    dir.Write(f);
  // The temporary folder is a local drive of its own.
  mountInfo += "90 26 8:17 / " + dir.path() + " rw - ext4 /dev/sdb1 rw\n";
  context.skipFolders = {dir / "data/skip"};
  const std::vector<std::string> expected{".Trash-/e.tmp",     ".Trash-x/d.tmp",          "data/.Trash-1000/h.tmp",
                                          "data/.Trash/g.tmp", "data/Vorlo$$$.$$$/f.tmp", "j.tmp"};

  Outcome o = Scan(Type({{dir.path(), pFolAndSub}}, {"*.tmp"}));
  std::vector<std::string> got = Rel(o.files);
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, expected);
  EXPECT_EQ(o.report->numDir, 7);

  // All local drives: "/" and the temporary folder; "/" is kept out by
  // making it the program folder, so only the temporary drive is walked.
  o = Scan(Type({}, {"*.tmp"}), "/");
  got = Rel(o.files);
  std::sort(got.begin(), got.end());
  EXPECT_EQ(got, expected);

  // A skip folder given as an entry is not searched either.
  o = Scan(Type({{dir / "data/skip", pFolAndSub}}, {"*.tmp"}));
  EXPECT_TRUE(o.files.empty());
  EXPECT_EQ(o.report->numDir, 0);
}

int OpenFds() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/fd")) ++n;
  return n;
}

// Removes a tree too deep for paths, one descriptor at a time.
void RemoveTreeAt(int parentFd, const char* name) {
  const int fd = openat(parentFd, name, O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
  if (fd >= 0) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator("/proc/self/fd/" + std::to_string(fd)))
      names.push_back(e.path().filename());
    for (const std::string& n : names)
      if (unlinkat(fd, n.c_str(), 0) != 0) RemoveTreeAt(fd, n.c_str());
    close(fd);
  }
  unlinkat(parentFd, name, AT_REMOVEDIR);
}

TEST_F(ScanThreadTest, DeepTreeWithBoundedDescriptors) {
  constexpr int kDepth = 3000;
  // d/d/d/... with a file at the bottom and a side folder "s<level>" holding
  // a file every 100 levels, so the walk comes back up to far ancestors.
  int fd = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  ASSERT_GE(fd, 0);
  int sides = 0;
  for (int level = 0; level < kDepth; ++level) {
    if (level % 100 == 50) {
      const std::string side = "s" + std::to_string(level);
      ASSERT_EQ(mkdirat(fd, side.c_str(), 0700), 0);
      close(openat(fd, (side + "/x.tmp").c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
      ++sides;
    }
    ASSERT_EQ(mkdirat(fd, "d", 0700), 0);
    const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    close(fd);
    fd = next;
    ASSERT_GE(fd, 0);
  }
  close(openat(fd, "bottom.tmp", O_CREAT | O_WRONLY | O_CLOEXEC, 0600));
  close(fd);

  const int before = OpenFds();
  int most = 0;
  const Outcome o = Scan(Type({{dir.path(), pFolAndSub}}, {"*.tmp"}), "/no/program/folder",
                         [&](Outcome&) { most = std::max(most, OpenFds()); });
  EXPECT_EQ(o.files.size(), static_cast<size_t>(sides + 1));
  EXPECT_EQ(o.report->numDir, 1 + kDepth + sides);
  EXPECT_LT(most - before, 40);
  EXPECT_EQ(
      std::count_if(o.files.begin(), o.files.end(), [](const std::string& f) { return f.ends_with("/bottom.tmp"); }),
      1);
  EXPECT_EQ(OpenFds(), before);

  const int top = open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  RemoveTreeAt(top, "d");
  close(top);
}

TEST_F(ScanThreadTest, OtherMountsAreNotEntered) {
  dir.Write("src/x.tmp");
  dir.Write("mnt/hidden.tmp");  // covered by the mount, never seen
  fs::create_directory(dir / "bind");
  // A mount namespace of its own keeps the test's mounts from outliving it.
  if (unshare(CLONE_NEWNS) == 0) mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr);
  if (mount("none", (dir / "mnt").c_str(), "tmpfs", 0, nullptr) != 0) GTEST_SKIP() << "cannot mount here";
  struct Unmount {
    std::vector<std::string> points;
    ~Unmount() {
      for (const auto& p : points) umount2(p.c_str(), MNT_DETACH);
    }
  } unmount{{dir / "mnt"}};
  std::ofstream(dir / "mnt/y.tmp") << "on tmpfs";
  // A bind mount shares the device number; the mount id tells it apart.
  if (mount((dir / "src").c_str(), (dir / "bind").c_str(), nullptr, MS_BIND, nullptr) == 0)
    unmount.points.push_back(dir / "bind");

  const Outcome o = Scan(Type({{dir.path(), pFolAndSub}}, {"*.tmp"}));
  EXPECT_EQ(Rel(o.files), std::vector<std::string>{"src/x.tmp"});
  EXPECT_EQ(o.report->numDir, 2);

  // A mount given as a folder entry is walked from its own root.
  EXPECT_EQ(Rel(Scan(Type({{dir / "mnt", pFolAndSub}}, {"*.tmp"})).files), std::vector<std::string>{"mnt/y.tmp"});
}

int Threads() {
  int n = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator("/proc/self/task")) ++n;
  return n;
}

// Reading folders ahead changes nothing of what a scan finds, counts or
// hands over, nor its order, and leaves no thread or descriptor behind.
TEST_F(ScanThreadTest, ReadAheadChangesNothingFound) {
  // Over a thousand folders, bushy and some deep, so the read-ahead runs far
  // ahead of the walk, has to wait for it and (Auto) rests on a warm cache.
  uint64_t s = 7;
  const auto next = [&s](uint64_t n) {
    s = s * 6364136223846793005ull + 1442695040888963407ull;
    return (s >> 33) % n;
  };
  std::vector<std::string> folders{""};
  for (int i = 1; i < 1200; ++i) {
    const std::string& parent = folders[next(std::min<size_t>(folders.size(), 40 + i / 4))];
    folders.push_back(parent + (parent.empty() ? "" : "/") + (next(30) == 0 ? ".h" : "d") + std::to_string(i));
    fs::create_directories(dir / folders.back());
  }
  const char* const names[] = {"a.tmp", "B.TMP", "~x.doc", "keep.tmp", "plain.txt", "c.tmpl"};
  for (size_t i = 0; i < folders.size(); ++i)
    for (int k = 0; k < static_cast<int>(next(4)); ++k)
      dir.Write((folders[i].empty() ? "" : folders[i] + "/") + std::to_string(k) + names[next(std::size(names))],
                std::string(next(3), 'x'));
  fs::create_directory_symlink(dir / "d1", dir / "link");
  mountInfo += "90 26 8:17 / " + dir.path() + " rw - ext4 /dev/sdb1 rw\n";  // a drive root: its trash is skipped
  dir.Write(".Trash-1000/t.tmp");
  context.skipFolders = {dir / folders[5]};
  const std::string r = dir.path();
  const SpecList deletes{"*.tmp", "~*.*"}, prots{"*keep.*"};

  const struct {
    const char* what;
    FolderList dirs;
    std::string myDir;
  } cases[] = {
      {"whole tree", {{r, pFolAndSub}}, ""},
      {"sub-folders only, overlapping entries", {{r + "/d1", pSubOnly}, {r, pFolAndSub}, {r + "/d2", pFolOnly}}, ""},
      {"program folder inside", {{r, pFolAndSub}}, dir / folders[9]},
  };
  const int fds = OpenFds(), threads = Threads();
  for (const auto& c : cases) {
    const TJunkFileObj tj = Type(c.dirs, deletes, prots);
    const std::string myDir = c.myDir.empty() ? "/no/program/folder" : c.myDir;
    context.readAhead = ReadAhead::Off;
    const Outcome off = Scan(tj, myDir);
    ASSERT_TRUE(off.report) << c.what;
    EXPECT_GT(off.report->numDir, 500) << c.what;
    EXPECT_GT(off.report->numProt, 0) << c.what;
    for (const ReadAhead mode : {ReadAhead::Always, ReadAhead::Auto}) {
      context.readAhead = mode;
      const Outcome on = Scan(tj, myDir);
      EXPECT_EQ(on.files, off.files) << c.what;
      EXPECT_EQ(on.report, off.report) << c.what;
      EXPECT_EQ(OpenFds(), fds) << c.what;
      EXPECT_EQ(Threads(), threads) << c.what;
    }
  }

  // A stop request still ends the walk at once, and the pool with it.
  context.readAhead = ReadAhead::Always;
  const Outcome o = Scan(Type({{r, pFolAndSub}}, deletes), "/no/program/folder", [&](Outcome& out) {
    if (out.files.size() == 5) stop.Set();
  });
  EXPECT_EQ(o.files.size(), 5u);
  EXPECT_TRUE(o.stopped);
  EXPECT_EQ(OpenFds(), fds);
  EXPECT_EQ(Threads(), threads);
}

}  // namespace
}  // namespace vorlo
