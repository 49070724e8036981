#include "platform/trash.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <functional>
#include <map>
#include <set>

#include "platform/clock.h"
#include "platform/removal.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

class FixedClock final : public Clock {
 public:
  int64_t NowUtc() const override { return 1709211909; }
  std::optional<LocalDateTime> ToLocal(int64_t) const override { return LocalDateTime{2024, 2, 29, 13, 5, 9}; }
};

std::string PercentDecoded(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '%' && i + 2 < s.size()) {
      out += static_cast<char>(std::stoi(s.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += s[i];
    }
  }
  return out;
}

// The original path an info file names, checked against the format.
std::string InfoPath(const std::string& infoFile) {
  const std::string text = ReadFile(infoFile);
  const std::string head = "[Trash Info]\nPath=";
  const std::string tail = "\nDeletionDate=2024-02-29T13:05:09\n";
  EXPECT_EQ(text.rfind(head, 0), 0u) << text;
  EXPECT_TRUE(text.size() > head.size() + tail.size() && text.ends_with(tail)) << text;
  const std::string encoded = text.substr(head.size(), text.size() - head.size() - tail.size());
  EXPECT_EQ(encoded.find_first_of("\n\r "), std::string::npos) << encoded;
  return PercentDecoded(encoded);
}

// Each file's errno, 0 for one that went.
std::vector<int> Errors(const std::vector<RemovalResult>& results) {
  std::vector<int> errors;
  for (const RemovalResult& r : results) errors.push_back(r.error);
  return errors;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return st.st_mode & 07777;
}

// The names in a folder, sorted; none when it does not exist.
std::set<std::string> Entries(const std::string& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) names.insert(e.path().filename().string());
  return names;
}

// Sets a file's modification time `seconds` into the past.
void Age(const std::string& path, int64_t seconds) {
  const struct timespec times[2] = {{::time(nullptr) - seconds, 0}, {::time(nullptr) - seconds, 0}};
  ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

// The pid of a process that has ended.
pid_t DeadPid() {
  const pid_t pid = ::fork();
  if (pid == 0) ::_exit(0);
  ::waitpid(pid, nullptr, 0);
  return pid;
}

class SendToTrashTest : public ::testing::Test {
 protected:
  // What trash-list says on stderr (parse errors); empty when it is not installed.
  std::string TrashListComplaints() const {
    if (::access("/usr/bin/trash-list", X_OK) != 0) return {};
    const auto listed = testing::RunCommand({"/usr/bin/trash-list"},
                                            {"HOME=" + dir / "home", "XDG_DATA_HOME=" + dir / "home/.local/share"});
    return listed.err + (listed.exitCode == 0 ? "" : "exit " + std::to_string(listed.exitCode));
  }
  // The temporaries in info/ (names that are not info files).
  std::set<std::string> Drafts() const {
    std::set<std::string> drafts;
    for (const std::string& name : Entries(home + "/info"))
      if (!name.ends_with(".trashinfo")) drafts.insert(name);
    return drafts;
  }

  TempDir dir;
  FixedClock clock;
  std::string data = dir / "data";
  std::string home = dir / "home/.local/share/Trash";
  TrashSetup setup{home, {data}, static_cast<uint32_t>(::getuid()), &clock};
};

TEST_F(SendToTrashTest, FilesGoToTheHomeTrashWithValidInfo) {
  const std::string a = dir.Write("data/tmp/a.tmp", "a");
  const std::string b = dir.Write("data/b.log", "b");
  ASSERT_EQ(Errors(SendToTrash({a, b}, setup)), (std::vector<int>{0, 0}));
  EXPECT_FALSE(PathExists(a));
  EXPECT_FALSE(PathExists(b));
  EXPECT_EQ(ReadFile(home + "/files/a.tmp"), "a");
  EXPECT_EQ(ReadFile(home + "/files/b.log"), "b");
  EXPECT_EQ(InfoPath(home + "/info/a.tmp.trashinfo"), a);
  EXPECT_EQ(InfoPath(home + "/info/b.log.trashinfo"), b);
  for (const char* folder : {"", "/files", "/info"}) EXPECT_EQ(ModeOf(home + folder), 0700u) << folder;
}

TEST_F(SendToTrashTest, CollidingAndOddNamesGetDistinctEntriesThatRoundTrip) {
  // Each file holds its own path, so every trash entry can be checked
  // against the Path of its info file. A name near the length limit gets a
  // shorter one: its info file's name must fit as well.
  const std::string longName(250, 'n');
  const std::vector<std::string> names = {"1/x.tmp",   "2/x.tmp", "3/x.tmp", "odd/a\nb\xff c%.tmp",
                                          "odd/x.tmp", "odd/" + longName};
  std::vector<std::string> paths;
  for (const std::string& name : names) {
    const std::string relative = "data/" + name;
    paths.push_back(dir.Write(relative, dir / relative));
  }
  dir.Write("home/.local/share/Trash/files/x.tmp.2", "left without info");

  ASSERT_EQ(Errors(SendToTrash(paths, setup)), std::vector<int>(paths.size(), 0));
  std::map<std::string, std::string> entries;  // name in trash -> original path
  for (const auto& info : fs::directory_iterator(home + "/info")) {
    const std::string name = info.path().filename().string();
    ASSERT_TRUE(name.ends_with(".trashinfo")) << name;
    entries[name.substr(0, name.size() - 10)] = InfoPath(info.path());
  }
  const std::set<std::string> trashNames = {"x.tmp",   "x.tmp.3",          "x.tmp.4",
                                            "x.tmp.5", "a\nb\xff c%.tmp", longName.substr(0, 245)};
  ASSERT_EQ(entries.size(), trashNames.size());
  for (const auto& [name, original] : entries) {
    EXPECT_TRUE(trashNames.contains(name)) << name;
    EXPECT_EQ(ReadFile(home + "/files/" + name), original) << name;
    EXPECT_FALSE(PathExists(original));
  }
  EXPECT_EQ(ReadFile(home + "/files/x.tmp.2"), "left without info");
}

TEST_F(SendToTrashTest, ABatchGoesOnAfterAFailureAndTellsEachFilesFate) {
  const std::string a = dir.Write("data/a.tmp");
  const std::string b = dir.Write("data/b.tmp");
  const std::string folder = data + "/folder.tmp";
  fs::create_directory(folder);
  const std::string fifo = data + "/pipe.tmp";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  // The second `a` is gone by its turn: sent by the first.
  const std::vector<RemovalResult> results =
      SendToTrash({a, data + "/missing.tmp", b, folder, a, data + "/no folder/x.tmp", fifo}, setup);
  EXPECT_EQ(Errors(results), (std::vector<int>{0, ENOENT, 0, EISDIR, ENOENT, ENOENT, EPERM}));
  EXPECT_TRUE(results[0].Done() && !results[0].Gone());
  EXPECT_TRUE(results[1].Gone() && !results[1].Done());
  EXPECT_FALSE(PathExists(a));
  EXPECT_FALSE(PathExists(b));
  EXPECT_TRUE(PathExists(home + "/files/b.tmp"));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_TRUE(PathExists(fifo));
  EXPECT_EQ(Errors(SendToTrash({folder}, setup)), std::vector<int>{EISDIR});
  EXPECT_EQ(std::distance(fs::directory_iterator(home + "/info"), fs::directory_iterator()), 2);
}

TEST(SendToTrash, FilesOffTheHomeFileSystemGoToTheirDrivesTrash) {
  const std::string uid = std::to_string(::getuid());
  struct Case {
    const char* name;
    std::function<void(const TempDir&)> prepare;
    std::string trash;  // below the drive root
  };
  const std::vector<Case> cases = {
      {"no .Trash", [](const TempDir&) {}, ".Trash-" + uid},
      {"sticky .Trash",
       [](const TempDir& dir) {
         fs::create_directories(dir / "data/.Trash");
         ::chmod((dir / "data/.Trash").c_str(), 01777);
       },
       ".Trash/" + uid},
      {".Trash without sticky bit", [](const TempDir& dir) { fs::create_directories(dir / "data/.Trash"); },
       ".Trash-" + uid},
      {".Trash a link",
       [](const TempDir& dir) {
         fs::create_directories(dir / "shared");
         ::chmod((dir / "shared").c_str(), 01777);
         fs::create_directory_symlink(dir / "shared", dir / "data/.Trash");
       },
       ".Trash-" + uid},
  };
  FixedClock clock;
  for (const Case& c : cases) {
    TempDir dir;
    const std::string file = dir.Write("data/sub/f.tmp", "f");
    c.prepare(dir);
    // No home trash: every file needs its drive's trash.
    const TrashSetup setup{"", {dir / "data"}, static_cast<uint32_t>(::getuid()), &clock};
    ASSERT_EQ(Errors(SendToTrash({file}, setup)), std::vector<int>{0}) << c.name;
    const std::string trash = dir / "data/" + c.trash;
    EXPECT_EQ(ReadFile(trash + "/files/f.tmp"), "f") << c.name;
    EXPECT_EQ(InfoPath(trash + "/info/f.tmp.trashinfo"), file) << c.name;
    EXPECT_EQ(ModeOf(trash), 0700u) << c.name;
    EXPECT_FALSE(PathExists(dir / "shared/" + uid)) << c.name;
  }
}

TEST(SendToTrash, AFileWithoutAUsableTrashStays) {
  const std::string uid = std::to_string(::getuid());
  TempDir dir;
  FixedClock clock;
  const TrashSetup setup{"", {dir / "data"}, static_cast<uint32_t>(::getuid()), &clock};
  const std::string file = dir.Write("data/f.tmp", "f");

  fs::create_directories(dir / "elsewhere");
  fs::create_directory_symlink(dir / "elsewhere", dir / "data/.Trash-" + uid);
  const int err = SendToTrash({file}, setup).at(0).error;
  EXPECT_TRUE(err == ELOOP || err == ENOTDIR) << err;
  EXPECT_TRUE(fs::is_empty(dir / "elsewhere"));

  if (::geteuid() == 0) {  // a trash folder of someone else's
    fs::remove(dir / "data/.Trash-" + uid);
    fs::create_directories(dir / "data/.Trash-" + uid);
    ASSERT_EQ(::chown((dir / "data/.Trash-" + uid).c_str(), 65534, 65534), 0);
    EXPECT_EQ(Errors(SendToTrash({file}, setup)), std::vector<int>{EPERM});
    EXPECT_TRUE(fs::is_empty(dir / "data/.Trash-" + uid));
  }
  // On no drive of the setup: no trash to rename into.
  EXPECT_EQ(Errors(SendToTrash({file}, {"", {dir / "other"}, static_cast<uint32_t>(::getuid()), &clock})),
            std::vector<int>{EXDEV});
  EXPECT_EQ(ReadFile(file), "f");
}

TEST_F(SendToTrashTest, TrashClientsSeeTheFile) {
  if (::access("/usr/bin/trash-list", X_OK) != 0) GTEST_SKIP() << "trash-cli is not installed";
  const std::string file = dir.Write("data/seen by clients.tmp");
  ASSERT_EQ(Errors(SendToTrash({file}, setup)), std::vector<int>{0});
  const auto listed = testing::RunCommand({"/usr/bin/trash-list"},
                                          {"HOME=" + dir / "home", "XDG_DATA_HOME=" + dir / "home/.local/share"});
  EXPECT_NE(listed.out.find("2024-02-29 13:05:09 " + file), std::string::npos) << listed.out << listed.err;
}

// Whether every info file of the trash has its file: an entry that
// restores nothing would list its path twice once the file is sent again.
bool EveryEntryHasItsFile(const std::string& trash) {
  for (const std::string& name : Entries(trash + "/info"))
    if (name.ends_with(".trashinfo") && !PathExists(trash + "/files/" + name.substr(0, name.size() - 10)))
      return false;
  return true;
}

// A send killed at each step, in a child process that really ends there:
// trash clients never meet a half-written info file, and the next send of
// the file, at once or a minute later, leaves the trash with one entry per
// path and a file for every entry.
TEST_F(SendToTrashTest, ACrashAtAnyStepLeavesATrashClientsCanRead) {
  struct Case {
    TrashStep step;
    bool moved;            // the file is in the trash
    bool infoLeft;         // x.tmp.trashinfo is there
    bool draftLeft;        // a temporary in info/
    std::string nextName;  // where the next send of x.tmp goes
  };
  const std::vector<Case> cases = {
      {TrashStep::kWriteInfo, false, false, false, "x.tmp"},
      {TrashStep::kPublishInfo, false, false, true, "x.tmp"},
      // The temporary is the record that x.tmp.trashinfo still lacks its file.
      {TrashStep::kMove, false, true, true, "x.tmp"},
      {TrashStep::kSent, true, true, true, "x.tmp.2"},
  };
  for (const bool minuteLater : {false, true})
    for (const Case& c : cases) {
      SCOPED_TRACE(static_cast<int>(c.step) + (minuteLater ? 10 : 0));
      fs::remove_all(dir / "home");
      const std::string file = dir.Write("data/x.tmp", "first");
      const pid_t child = ::fork();
      if (child == 0) {
        const auto crash = [&c](TrashStep step) {
          if (step == c.step) ::_exit(42);
          return 0;
        };
        (void)SendToTrash({file}, setup, crash);
        ::_exit(1);
      }
      int status = 0;
      ASSERT_EQ(::waitpid(child, &status, 0), child);
      ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 42) << status;

      EXPECT_EQ(PathExists(file), !c.moved);
      EXPECT_EQ(Entries(home + "/files"), c.moved ? std::set<std::string>{"x.tmp"} : std::set<std::string>{});
      EXPECT_EQ(PathExists(home + "/info/x.tmp.trashinfo"), c.infoLeft);
      if (c.infoLeft) {
        EXPECT_EQ(InfoPath(home + "/info/x.tmp.trashinfo"), file);
      }
      const std::set<std::string> drafts = Drafts();
      EXPECT_EQ(drafts.size(), c.draftLeft ? 1u : 0u);
      EXPECT_EQ(TrashListComplaints(), "");

      if (minuteLater)
        for (const std::string& draft : drafts) Age(home + "/info/" + draft, 120);
      dir.Write("data/x.tmp", "second");
      ASSERT_EQ(Errors(SendToTrash({file}, setup)), std::vector<int>{0});
      EXPECT_EQ(ReadFile(home + "/files/" + c.nextName), "second");
      EXPECT_EQ(InfoPath(home + "/info/" + c.nextName + ".trashinfo"), file);
      EXPECT_TRUE(EveryEntryHasItsFile(home));
      // A temporary goes once its writer is gone a minute.
      if (minuteLater) {
        EXPECT_EQ(Drafts(), std::set<std::string>{});
      }
      EXPECT_EQ(TrashListComplaints(), "");
    }
}

// A step that fails leaves the file where it was and nothing in the trash.
// Publishing on a file system without hard links falls back to a rename.
TEST_F(SendToTrashTest, AFailedStepLeavesNoTraceAndNoLinksIsNoFailure) {
  struct Case {
    TrashStep step;
    int error;
    int result;
  };
  const std::vector<Case> cases = {
      {TrashStep::kWriteInfo, EIO, EIO},  {TrashStep::kPublishInfo, ENOSPC, ENOSPC},
      {TrashStep::kMove, EIO, EIO},       {TrashStep::kPublishInfo, EPERM, 0},
      {TrashStep::kPublishInfo, EOPNOTSUPP, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.step) * 1000 + c.error);
    fs::remove_all(dir / "home");
    const std::string file = dir.Write("data/x.tmp", "x");
    const auto fail = [&c](TrashStep step) { return step == c.step ? c.error : 0; };
    ASSERT_EQ(Errors(SendToTrash({file}, setup, fail)), std::vector<int>{c.result});
    if (c.result == 0) {
      EXPECT_EQ(Entries(home + "/files"), std::set<std::string>{"x.tmp"});
      EXPECT_EQ(Entries(home + "/info"), std::set<std::string>{"x.tmp.trashinfo"});
      EXPECT_EQ(InfoPath(home + "/info/x.tmp.trashinfo"), file);
      continue;
    }
    EXPECT_EQ(ReadFile(file), "x");
    EXPECT_EQ(Entries(home + "/files"), std::set<std::string>{});
    EXPECT_EQ(Entries(home + "/info"), std::set<std::string>{});
    ASSERT_EQ(Errors(SendToTrash({file}, setup)), std::vector<int>{0});
    EXPECT_EQ(InfoPath(home + "/info/x.tmp.trashinfo"), file);
  }
}

// Temporaries are removed once their writer has ended and a minute has
// passed, or after a day whoever wrote them; nothing else in info/ is.
TEST_F(SendToTrashTest, TheFirstSendRemovesAbandonedTemporariesOnly) {
  const std::string dead = std::to_string(DeadPid());
  const std::string live = std::to_string(::getpid());
  struct Case {
    std::string name;
    int64_t age;
    bool removed;
  };
  const std::vector<Case> cases = {
      {".vorlo-" + dead + "-0", 120, true},
      {".vorlo-" + dead + "-1", 5, false},  // may be a live writer elsewhere
      {".vorlo-" + live + "-7", 3600, false},
      {".vorlo-" + live + "-8", 2 * 86400, true},
      {".vorlo-" + dead + "-2.trashinfo", 2 * 86400, false},
      {".vorlo-" + dead, 2 * 86400, false},
      {".vorlo--3", 2 * 86400, false},
      {"other-" + dead + "-4", 2 * 86400, false},
  };
  for (const Case& c : cases) Age(dir.Write("home/.local/share/Trash/info/" + c.name, "[Trash Info]\n"), c.age);
  ASSERT_EQ(Errors(SendToTrash({dir.Write("data/a.tmp")}, setup)), std::vector<int>{0});
  const std::set<std::string> left = Entries(home + "/info");
  for (const Case& c : cases) EXPECT_EQ(left.contains(c.name), !c.removed) << c.name;
  EXPECT_TRUE(left.contains("a.tmp.trashinfo"));
}

}  // namespace
}  // namespace vorlo
