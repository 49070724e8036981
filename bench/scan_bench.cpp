// Scan speed benchmark: builds a deterministic synthetic tree and times a
// count of the default "Temporary files" type over it against find and fd
// with equivalent name tests, on a warm or on a cold cache.
//
//   scan_bench generate ROOT FILES        make the tree (ROOT must not exist)
//   scan_bench scan ROOT [auto|off|always]  one count with the scan thread
//                                         (read-ahead mode, default auto)
//   scan_bench compare ROOT [RUNS]        warm: scan, find, fdfind -j1 and
//                                         scan without read-ahead
//   scan_bench cold ROOT [RUNS]           the same with the caches dropped
//                                         before every run (root only) and
//                                         fdfind with its default threads
//   scan_bench run ROOT [disk]       an analysis of the default table's 25
//                                    local-drive types over ROOT, one walk per
//                                    run (or, with "disk", one per type)
//   scan_bench run ROOT own          the same with each type matching names
//                                    itself (no shared matcher)
//   scan_bench floor ROOT            a count of a type that takes nothing
//   scan_bench runs ROOT [RUNS]      time run against scan and floor RUNS
//                                    times each
//   scan_bench matcher ROOT          the name matching alone, in ns a name
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <unordered_set>
#include <vector>

#include "core/default_types.h"
#include "core/listing_store.h"
#include "core/junk_type.h"
#include "core/local_drives.h"
#include "core/main_thread.h"
#include "core/run_matcher.h"
#include "core/scan_thread.h"
#include "core/stop_event.h"
#include "platform/clock.h"

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

// splitmix64: small, fast and the same everywhere.
class Rng {
 public:
  explicit Rng(uint64_t seed) : s_(seed) {}
  uint64_t Next() {
    uint64_t z = (s_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  uint64_t Below(uint64_t n) { return Next() % n; }

 private:
  uint64_t s_;
};

const char* const kStems[] = {"index", "report", "image",  "data",  "main",   "config", "readme",
                              "photo", "notes",  "module", "lib",   "test",   "build",  "cache",
                              "Setup", "résumé", "データ", "draft", "backup", "output"};
const char* const kExts[] = {".txt",  ".jpg", ".png", ".c",    ".h",       ".cpp", ".py",  ".js",  ".html", ".json",
                             ".xml",  ".md",  ".o",   ".so",   ".log",     ".dat", ".pdf", ".gz",  ".tmpl", ".tm",
                             ".Tmp1", "",     ".tar", ".conf", ".desktop", ".ini", ".doc", ".$$$", ".a$b",  ".rs"};

// A junk name of one of the kinds the "Temporary files" type takes (a few
// of them protected), letters in mixed case.
std::string JunkName(Rng& rng, uint64_t n) {
  const std::string stem = kStems[rng.Below(std::size(kStems))] + std::to_string(n);
  switch (rng.Below(10)) {
    case 0:
      return stem + ".tmp";
    case 1:
      return stem + ".TMP";
    case 2:
      return stem + ".~1";
    case 3:
      return "~" + stem + ".docx";
    case 4:
      return "~lock" + std::to_string(n);
    case 5:
      return stem + ".^ab";
    case 6:
      return stem + ".DO$";
    case 7:
      return stem + ".Tmp";
    case 8:
      return rng.Below(4) == 0 ? "~desktop.ini" : "~$" + stem + ".xlsx";
    default:
      return rng.Below(2) == 0 ? "rcveak" + std::to_string(n) + ".cp$" : stem + ".bak.tmp";
  }
}

std::string PlainName(Rng& rng, uint64_t n) {
  std::string name = kStems[rng.Below(std::size(kStems))] + std::to_string(n) + kExts[rng.Below(std::size(kExts))];
  if (rng.Below(50) == 0) name.insert(0, ".");
  return name;
}

int Generate(const std::string& root, uint64_t files) {
  if (mkdir(root.c_str(), 0755) != 0) {
    std::perror(root.c_str());
    return 1;
  }
  Rng rng(20240601);
  // About 16.7 files per folder; parents picked among earlier folders so the
  // tree is some 5 to 10 levels deep and bushy.
  const uint64_t folders = std::max<uint64_t>(1, files * 6 / 100);
  std::vector<uint64_t> parent(folders, 0);
  for (uint64_t i = 1; i < folders; ++i) {
    const uint64_t lo = (i - 1) / 8, hi = (i - 1) / 3;
    parent[i] = lo + rng.Below(hi - lo + 1);
  }
  // Most folders get a handful of files, a few get hundreds.
  std::vector<uint64_t> count(folders, 0);
  for (uint64_t f = 0; f < files; ++f)
    ++count[rng.Below(5) == 0 ? rng.Below(std::max<uint64_t>(1, folders / 100)) : rng.Below(folders)];

  std::vector<std::string> path(folders);
  path[0] = root;
  uint64_t n = 0, made = 0, junk = 0;
  for (uint64_t i = 0; i < folders; ++i) {
    if (i > 0) {
      path[i] = path[parent[i]] + "/" + (rng.Below(40) == 0 ? ".cache" : "d") + std::to_string(i);
      if (mkdir(path[i].c_str(), 0755) != 0) {
        std::perror(path[i].c_str());
        return 1;
      }
    }
    const int dir = open(path[i].c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    for (uint64_t k = 0; k < count[i]; ++k, ++n) {
      const bool isJunk = rng.Below(100) < 3;
      const std::string name = isJunk ? JunkName(rng, n) : PlainName(rng, n);
      const int fd = openat(dir, name.c_str(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0644);
      if (fd < 0) continue;  // "~desktop.ini" twice in one folder
      ++made;
      if (isJunk) {
        ++junk;
        if (ftruncate(fd, static_cast<off_t>(rng.Below(200000))) != 0) std::perror("ftruncate");
      }
      close(fd);
    }
    close(dir);
  }
  std::printf("generated %" PRIu64 " files (%" PRIu64 " junk names) in %" PRIu64 " folders below %s\n", made, junk,
              folders, root.c_str());
  return 0;
}

// One count of the "Temporary files" type, as the count command runs it;
// with `floor`, of a type that takes no name at all: the walk alone.
int Scan(const std::string& root, vorlo::ReadAhead readAhead, bool floor = false) {
  using namespace vorlo;
  std::vector<TJunkFileObj> table;
  AddAllDefaults(table, false,
                 DefaultFolders{.appData = "", .ieCache = "", .tempPath = "", .tempVar = "", .windowsRoot = ""},
                 DefaultsFor::Chooser);
  const auto it =
      std::find_if(table.begin(), table.end(), [](const TJunkFileObj& t) { return t.TypName() == "Temporary files"; });
  if (it == table.end()) return 1;
  TJunkFileObj tj = *it;
  tj.SetDirs({{root, FolderRule::pFolAndSub}});
  if (floor) tj.SetDeletes(SpecList{});

  QueueExecutor mainThread;
  const SystemClock clock;
  const LocalDriveSource drives = SystemLocalDriveSource();
  const ScanContext context{mainThread, clock, drives, {}, nullptr, readAhead};
  StopEvent stop("bench");
  bool done = false;
  int64_t sizDel = 0;
  int32_t numDir = 0, numDel = 0, numRes = 0, numProt = 0;

  const auto start = Clock::now();
  const auto scan = ActOnFiles(
      tj, nullptr,
      [&](const ScanCounts& c) {
        sizDel = c.bytes;
        numDir = c.folders;
        numDel = c.matched;
        numRes = c.restricted;
        numProt = c.protectedFiles;
      },
      [&](TJunkDelThread&) { done = true; }, stop, "/no/program/folder", context);
  mainThread.RunUntil([&] { return done; });
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();

  // ru_maxrss also covers the memory of whoever started this process (it
  // carries over exec); VmHWM is this program's own peak.
  rusage ru{};
  getrusage(RUSAGE_SELF, &ru);
  long hwm = 0;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmHWM:")) hwm = std::atol(line.c_str() + 6);
  std::printf("folders=%d found=%d restricted=%d protected=%d passed=%d bytes=%" PRId64
              " seconds=%.3f maxrss_kb=%ld hwm_kb=%ld\n",
              numDir, numDel, numRes, numProt, numDel - numRes - numProt, sizDel, seconds, ru.ru_maxrss, hwm);
  return 0;
}

// Peak resident memory of this process (VmHWM).
long PeakKb() {
  long hwm = 0;
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);)
    if (line.starts_with("VmHWM:")) hwm = std::atol(line.c_str() + 6);
  return hwm;
}

// The analysis run's handling of a found file: each path once in the found
// set, later finds of it marked as repeats.
struct AnalysisSink {
  std::unordered_set<std::string> seen;
  long files = 0, repeats = 0;
  int64_t bytes = 0;
  void Take(const vorlo::FoundFile& f) {
    if (f.error != 0) return;
    if (!seen.emplace(f.path).second) {
      ++repeats;
      return;
    }
    ++files;
    bytes += f.Size();
  }
};

// An analysis of the default table's local-drive types over ROOT, type after
// type as a run does, with a listing store kept across the types unless
// `disk`.
int RunTypes(const std::string& root, bool disk, bool own = false) {
  using namespace vorlo;
  std::vector<TJunkFileObj> table;
  AddAllDefaults(table, false,
                 DefaultFolders{.appData = "", .ieCache = "", .tempPath = "", .tempVar = "", .windowsRoot = ""},
                 DefaultsFor::Chooser);
  std::vector<TJunkFileObj> types;
  for (TJunkFileObj& t : table)
    if (t.SearchesLocalDrives()) {
      t.SetDirs({{root, FolderRule::pFolAndSub}});
      types.push_back(t);
    }

  QueueExecutor mainThread;
  const SystemClock clock;
  const LocalDriveSource drives = SystemLocalDriveSource();
  const ScanContext context{mainThread, clock, drives, {}, nullptr};
  StopEvent stop("bench");
  std::vector<const TJunkFileObj*> runTypes;
  for (const TJunkFileObj& t : types) runTypes.push_back(&t);
  ListingStore store = own ? ListingStore() : ListingStore(runTypes);
  AnalysisSink sink;
  size_t storeBytes = 0, storeFolders = 0;
  int32_t folders = 0, found = 0;

  const auto start = Clock::now();
  for (size_t i = 0; i < types.size(); ++i) {
    const TJunkFileObj& t = types[i];
    // As a run does: keep what the types from this one on may walk.
    if (!disk) store.KeepFor({root}, i + 1 < types.size() ? std::vector<std::string>{root} : std::vector<std::string>{});
    bool done = false;
    const auto scan = ActOnFiles(
        t, FoundFileSink::To<&AnalysisSink::Take>(sink),
        [&](const ScanCounts& c) {
          folders += c.folders;
          found += c.matched;
        },
        [&](TJunkDelThread&) { done = true; }, stop, "/no/program/folder", context, disk ? nullptr : &store);
    mainThread.RunUntil([&] { return done; });
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  // The store only grows here: its size at the end is its peak.
  storeBytes = store.Bytes();
  storeFolders = store.Folders();
  std::printf("types=%zu folders=%d found=%d files=%ld repeats=%ld bytes=%" PRId64
              " seconds=%.3f store_mb=%.1f store_folders=%zu hwm_kb=%ld\n",
              types.size(), folders, found, sink.files, sink.repeats, sink.bytes, seconds, storeBytes / 1048576.0,
              storeFolders, PeakKb());
  return 0;
}

// What a run printed, kept small: the parent's own memory would show in
// the children's peak figures (it is their starting point at exec).
struct RunResult {
  double seconds = 0;
  double cpu = 0;
  double user = 0, sys = 0;
  long maxrssKb = 0;
  std::string firstLine;
  long lines = 0;
  long long firstFieldSum = 0;  // find prints the size first
};

// Runs a program with its output to a file; wall time, CPU time and peak
// resident memory of the child.
std::optional<RunResult> Run(const std::vector<std::string>& argv) {
  char outName[] = "/tmp/scan-bench-out-XXXXXX";
  const int outFd = mkstemp(outName);
  if (outFd < 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, outFd, 1);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);

  const auto start = Clock::now();
  pid_t pid = 0;
  const int err = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  std::optional<RunResult> r;
  if (err == 0) {
    int status = 0;
    rusage ru{};
    wait4(pid, &status, 0, &ru);
    RunResult rr;
    rr.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    rr.user = static_cast<double>(ru.ru_utime.tv_sec) + static_cast<double>(ru.ru_utime.tv_usec) / 1e6;
    rr.sys = static_cast<double>(ru.ru_stime.tv_sec) + static_cast<double>(ru.ru_stime.tv_usec) / 1e6;
    rr.cpu = rr.user + rr.sys;
    rr.maxrssKb = ru.ru_maxrss;
    std::ifstream in(outName, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
      if (rr.lines++ == 0) rr.firstLine = line;
      rr.firstFieldSum += std::atoll(line.c_str());
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) r = std::move(rr);
  }
  close(outFd);
  unlink(outName);
  return r;
}

bool HaveProgram(const char* name) { return Run({"sh", "-c", std::string("command -v ") + name}).has_value(); }

std::map<std::string, std::string> KeyValues(const std::string& line) {
  std::map<std::string, std::string> kv;
  std::istringstream in(line);
  std::string word;
  while (in >> word)
    if (const size_t eq = word.find('='); eq != std::string::npos) kv[word.substr(0, eq)] = word.substr(eq + 1);
  return kv;
}

struct Contender {
  std::string name;
  std::vector<std::string> argv;
  std::vector<RunResult> runs;
};

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// Empties the page, inode and folder caches; false when not allowed.
bool DropCaches() {
  sync();
  std::ofstream drop("/proc/sys/vm/drop_caches");
  drop << "3\n";
  drop.flush();
  return static_cast<bool>(drop);
}

// Warm: one run of each first, then RUNS rounds. Cold: the caches are
// dropped before every run. The programs take turns in each round.
int Compare(const std::string& self, const std::string& root, int runs, bool cold) {
  std::vector<Contender> all;
  all.push_back({"vorlo", {self, "scan", root}, {}});
  // find: the same names; "~*.*" also takes dotless names, so "~*"; the
  // protect patterns give every dotless name a dot, hence "~desktop" too.
  all.push_back(
      {"find",
       {"find",   root,         "-xdev", "(",      "-type",    "f",       "-o",         "-type",  "l",           ")",
        "(",      "-iname",     "*.tmp", "-o",     "-iname",   "*.~*",    "-o",         "-iname", "~*",          "-o",
        "-iname", "*.^*",       "-o",    "-iname", "*.??$",    ")",       "!",          "-iname", "rcveak*.cp$", "!",
        "-iname", "~desktop.*", "!",     "-iname", "~desktop", "-printf", "%s %T@ %p\n"},
       {}});
  const bool haveFd = HaveProgram("fdfind");
  // Cold, fd runs with its default threads (one per core).
  std::vector<std::string> fdArgs{"fdfind", "-j1", "-HI", "--one-file-system", "--color", "never", "-t", "f", "-t",
                                  "l", "-i", R"(^(.*\.tmp|.*\.~.*|~.*|.*\.\^.*|.*\...\$)$)", root};
  if (cold) fdArgs.erase(fdArgs.begin() + 1);
  if (haveFd)
    all.push_back({cold ? "fdfind" : "fdfind -j1", fdArgs, {}});
  else
    std::printf("note: fdfind not found (Debian package fd-find); it is left out\n");
  all.push_back({"vorlo ra off", {self, "scan", root, "off"}, {}});

  if (cold && !DropCaches()) {
    std::printf("cannot drop the caches: run as root\n");
    return 1;
  }
  for (Contender& c : all)
    if (!cold && !Run(c.argv)) {
      std::printf("%s failed\n", c.name.c_str());
      return 1;
    }
  for (int r = 0; r < runs; ++r)
    for (Contender& c : all) {
      if (cold) DropCaches();
      const std::optional<RunResult> rr = Run(c.argv);
      if (!rr) {
        std::printf("%s failed\n", c.name.c_str());
        return 1;
      }
      c.runs.push_back(*rr);
    }

  // What each one found, from its last run.
  const auto vorlo = KeyValues(all[0].runs.back().firstLine);
  const long passed = std::stol(vorlo.at("passed")), found = std::stol(vorlo.at("found"));
  const long long bytes = std::stoll(vorlo.at("bytes"));
  const long findCount = all[1].runs.back().lines;
  const long long findBytes = all[1].runs.back().firstFieldSum;
  const long fdCount = haveFd ? all[2].runs.back().lines : 0;

  std::printf("tree %s: %s folders; vorlo found %ld, passed %ld (%lld bytes); vorlo peak RSS %.1f MB\n", root.c_str(),
              vorlo.at("folders").c_str(), found, passed, bytes, std::stol(vorlo.at("hwm_kb")) / 1024.0);
  std::printf("%-12s %10s %10s %10s %12s %10s\n", "program", "median s", "best s", "cpu s", "max RSS MB", "vs vorlo");
  const double base = Median([&] {
    std::vector<double> v;
    for (const RunResult& r : all[0].runs) v.push_back(r.seconds);
    return v;
  }());
  for (const Contender& c : all) {
    std::vector<double> wall, cpu;
    long rss = 0;
    for (const RunResult& r : c.runs) {
      wall.push_back(r.seconds);
      cpu.push_back(r.cpu);
      rss = std::max(rss, r.maxrssKb);
    }
    std::printf("%-12s %10.3f %10.3f %10.3f %12.1f %9.2fx\n", c.name.c_str(), Median(wall),
                *std::min_element(wall.begin(), wall.end()), Median(cpu), rss / 1024.0, Median(wall) / base);
  }

  bool ok = true;
  const auto check = [&](const char* what, long long got, long long want) {
    const bool same = got == want;
    std::printf("check %-34s %lld vs %lld: %s\n", what, got, want, same ? "agree" : "DIFFER");
    ok = ok && same;
  };
  check("find matches = vorlo passed", findCount, passed);
  check("find sizes = vorlo bytes", findBytes, bytes);
  if (haveFd) check("fdfind matches = vorlo found", fdCount, found);
  const auto off = KeyValues(all.back().runs.back().firstLine);
  check("vorlo found = without read-ahead", found, std::stol(off.at("found")));
  check("vorlo bytes = without read-ahead", bytes, std::stoll(off.at("bytes")));
  return ok ? 0 : 2;
}

// The whole-run analysis against a count of one type and against the walk
// alone (a type that takes nothing: the floor), each RUNS times,
// interleaved, after one warming round; the run also with each type
// matching names itself.
int CompareRun(const std::string& self, const std::string& root, int runs) {
  std::vector<Contender> all{{"count", {self, "scan", root}, {}},
                             {"floor", {self, "floor", root}, {}},
                             {"run", {self, "run", root}, {}},
                             {"run-own", {self, "run", root, "own"}, {}}};
  for (Contender& c : all)
    if (!Run(c.argv)) return 1;
  for (int r = 0; r < runs; ++r)
    for (Contender& c : all) c.runs.push_back(*Run(c.argv));
  for (const Contender& c : all) std::printf("%s: %s\n", c.name.c_str(), c.runs.back().firstLine.c_str());
  std::printf("%-8s %9s %9s %9s %9s %11s %9s %9s\n", "program", "median s", "best s", "user s", "sys s", "max RSS MB",
              "vs count", "vs floor");
  const auto medianOf = [](const Contender& c) {
    std::vector<double> wall;
    for (const RunResult& r : c.runs) wall.push_back(r.seconds);
    return Median(wall);
  };
  const double count = medianOf(all[0]), floor = medianOf(all[1]);
  for (const Contender& c : all) {
    std::vector<double> wall, user, sys;
    long rss = 0;
    for (const RunResult& r : c.runs) {
      wall.push_back(r.seconds);
      user.push_back(r.user);
      sys.push_back(r.sys);
      rss = std::max(rss, r.maxrssKb);
    }
    std::printf("%-8s %9.3f %9.3f %9.3f %9.3f %11.1f %8.2fx %8.2fx\n", c.name.c_str(), Median(wall),
                *std::min_element(wall.begin(), wall.end()), Median(user), Median(sys), rss / 1024.0,
                Median(wall) / count, Median(wall) / floor);
  }
  return 0;
}

// The matching alone: every listing of ROOT read into memory, then the names
// matched for the default table's local-drive types by the run's matcher and
// by each type's own set, in nanoseconds per name (best of five).
int MatchNames(const std::string& root) {
  using namespace vorlo;
  std::vector<TJunkFileObj> table;
  AddAllDefaults(table, false,
                 DefaultFolders{.appData = "", .ieCache = "", .tempPath = "", .tempVar = "", .windowsRoot = ""},
                 DefaultsFor::Chooser);
  std::vector<const SpecList*> specs;
  for (const TJunkFileObj& t : table)
    if (t.SearchesLocalDrives()) specs.push_back(&t.Deletes());
  std::vector<DirEntries> listings;
  std::vector<std::string> stack{root};
  size_t names = 0;
  while (!stack.empty()) {
    const std::string folder = stack.back();
    stack.pop_back();
    DirListing d = DirListing::OpenNoLinks(folder);
    DirEntries e;
    if (!d.IsOpen() || !d.Read(e)) continue;
    for (size_t i = 0; i < e.size(); ++i)
      if (e.Kind(i) == EntryKind::Folder) stack.push_back(folder + "/" + std::string(e.Name(i)));
    names += e.size();
    listings.push_back(std::move(e));
  }
  const auto best = [&](const std::function<size_t()>& pass) {
    double fastest = 1e9;
    size_t taken = 0;
    for (int r = 0; r < 5; ++r) {
      const auto start = Clock::now();
      taken = pass();
      fastest = std::min(fastest, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return std::pair{fastest * 1e9 / static_cast<double>(names), taken};
  };
  RunMatcher matcher(specs);
  std::vector<RunMatcher::Hit> hits;
  const auto shared = best([&] {
    size_t n = 0;
    for (const DirEntries& e : listings) {
      matcher.Match(e, hits);
      n += hits.size();
    }
    return n;
  });
  std::vector<DeleteSpecSet> sets;
  for (const SpecList* s : specs) sets.emplace_back(*s);
  std::vector<size_t> out;
  const auto own = best([&] {
    size_t n = 0;
    for (const DirEntries& e : listings)
      for (DeleteSpecSet& set : sets) {
        set.Match(e, out);
        n += out.size();
      }
    return n;
  });
  std::printf("%zu names in %zu folders, %zu types\n", names, listings.size(), specs.size());
  std::printf("run's matcher     %7.1f ns a name for all types   %zu files taken\n", shared.first, shared.second);
  std::printf("each type's own   %7.1f ns a name for all types   %zu files taken\n", own.first, own.second);
  return shared.second == own.second ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
  const std::string cmd = argc > 1 ? argv[1] : "";
  if (cmd == "generate" && argc == 4) return Generate(argv[2], std::strtoull(argv[3], nullptr, 10));
  if (cmd == "scan" && (argc == 3 || argc == 4)) {
    const std::string mode = argc == 4 ? argv[3] : "auto";
    if (mode == "auto") return Scan(argv[2], vorlo::ReadAhead::Auto);
    if (mode == "off") return Scan(argv[2], vorlo::ReadAhead::Off);
    if (mode == "always") return Scan(argv[2], vorlo::ReadAhead::Always);
  }
  if (cmd == "floor" && argc == 3) return Scan(argv[2], vorlo::ReadAhead::Auto, true);
  if (cmd == "matcher" && argc == 3) return MatchNames(argv[2]);
  if (cmd == "run" && argc == 3) return RunTypes(argv[2], false);
  if (cmd == "run" && argc == 4 && (std::string(argv[3]) == "disk" || std::string(argv[3]) == "own"))
    return RunTypes(argv[2], std::string(argv[3]) == "disk", std::string(argv[3]) == "own");
  if ((cmd == "compare" || cmd == "cold" || cmd == "runs") && (argc == 3 || argc == 4)) {
    // The rounds run this program again, as its own process.
    char self[4096];
    const ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    if (n <= 0) return 1;
    const std::string program(self, static_cast<size_t>(n));
    const int runs = argc == 4 ? std::atoi(argv[3]) : 5;
    if (cmd == "runs") return CompareRun(program, argv[2], runs);
    return Compare(program, argv[2], runs, cmd == "cold");
  }
  std::fprintf(stderr,
               "usage: scan_bench generate ROOT FILES | scan ROOT [auto|off|always] | floor ROOT | compare ROOT [RUNS] | "
               "cold ROOT [RUNS] | run ROOT [disk|own] | runs ROOT [RUNS] | matcher ROOT\n");
  return 64;
}
