#include "platform/removal.h"

#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>

#include "platform/clock.h"
#include "platform/trash.h"
#include "support/run_command.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TempDir;

const std::string kHold = kHoldingFolderName;

// Run by the home-folder test below under setpriv as an unprivileged user:
// one holding move, its result printed.
[[maybe_unused]] const int kHelperMode = [] {
  const char* path = std::getenv("VORLO_HOLDING_HELPER_PATH");
  if (path == nullptr) return 0;
  const HoldingSetup setup{{std::getenv("VORLO_HOLDING_HELPER_ROOT")}, std::getenv("VORLO_HOLDING_HELPER_HOME")};
  std::printf("result=%d\n", MoveToHolding(path, setup).error);
  std::fflush(stdout);
  std::_Exit(0);
}();

void MakeSocket(const std::string& path) {
  const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
  sockaddr_un addr{};
  addr.sun_family = AF_UNIX;
  std::strncpy(addr.sun_path, path.c_str(), sizeof addr.sun_path - 1);
  ASSERT_EQ(::bind(s, reinterpret_cast<sockaddr*>(&addr), sizeof addr), 0);
  ::close(s);
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  ::lstat(path.c_str(), &st);
  return st.st_mode & 07777;
}

TEST(DeleteFilePermanently, RemovesOnlyWritableFilesAndLinks) {
  TempDir dir;
  const std::string target = dir.Write("target", "keep");
  struct Case {
    const char* name;
    std::function<void(const std::string&)> make;
    int expected;
  };
  const std::vector<Case> cases = {
      {"plain", [](const std::string& p) { std::ofstream(p) << "x"; }, 0},
      {"link", [&](const std::string& p) { fs::create_symlink(target, p); }, 0},
      {"read-only",
       [](const std::string& p) {
         std::ofstream(p) << "x";
         ::chmod(p.c_str(), 0444);
       },
       EACCES},
      {"missing", [](const std::string&) {}, ENOENT},
      {"folder", [](const std::string& p) { fs::create_directory(p); }, EISDIR},
      {"fifo", [](const std::string& p) { ::mkfifo(p.c_str(), 0666); }, EPERM},
      {"socket", [](const std::string& p) { MakeSocket(p); }, EPERM},
  };
  for (const Case& c : cases) {
    const std::string path = dir / c.name;
    c.make(path);
    EXPECT_EQ(DeleteFilePermanently(path).error, c.expected) << c.name;
    EXPECT_EQ(PathExists(path), c.expected != 0 && c.expected != ENOENT) << c.name;
  }
  EXPECT_EQ(ReadFile(target), "keep");
  EXPECT_EQ(DeleteFilePermanently("relative/file").error, EINVAL);
}

TEST(Removal, LinkInTheFolderPartIsNeverFollowed) {
  TempDir dir;
  const std::string elsewhere = dir.Write("elsewhere/x.tmp", "keep");
  const std::string root = dir / "drive";
  fs::create_directory(root);
  // The scan saw drive/sub/x.tmp; since then sub became a link to elsewhere.
  fs::create_directory_symlink(dir / "elsewhere", root + "/sub");
  const std::string path = root + "/sub/x.tmp";
  SystemClock clock;
  const TrashSetup trash{dir / "home/Trash", {root}, static_cast<uint32_t>(::getuid()), &clock};

  const std::vector<std::pair<const char*, std::function<int()>>> operations = {
      {"delete", [&] { return DeleteFilePermanently(path).error; }},
      {"holding", [&] { return MoveToHolding(path, {{root}, ""}).error; }},
      {"trash", [&] { return SendToTrash({path}, trash).at(0).error; }},
  };
  for (const auto& [name, operation] : operations) {
    const int err = operation();
    EXPECT_TRUE(err == ELOOP || err == ENOTDIR) << name << ": " << err;
  }
  EXPECT_EQ(ReadFile(elsewhere), "keep");
  EXPECT_FALSE(PathExists(root + "/" + kHold));
  EXPECT_FALSE(PathExists(dir / "home"));
}

// The look at the file before it is removed can fail for other reasons
// than its being gone; each method reports that reason, never "gone".
TEST(Removal, AFailedLookAtTheFileIsReportedAsItIs) {
  TempDir dir;
  const std::string file = dir.Write("drive/x.tmp", "keep");
  const std::string longName(NAME_MAX + 1, 'n');
  SystemClock clock;
  const TrashSetup trash{dir / "home/Trash", {dir / "drive"}, static_cast<uint32_t>(::getuid()), &clock};
  const HoldingSetup holding{{dir / "drive"}, ""};
  const int folder = ::open((dir / "drive").c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
  const int notFolder = ::open(file.c_str(), O_PATH | O_CLOEXEC);  // a file where the folder should be
  ASSERT_GE(folder, 0);
  ASSERT_GE(notFolder, 0);

  struct Case {
    int folder;
    std::string name;
    int expected;
  };
  const Case cases[] = {{notFolder, "x.tmp", ENOTDIR}, {folder, longName, ENAMETOOLONG}, {folder, "gone.tmp", ENOENT}};
  for (const Case& c : cases) {
    const std::string path = dir / ("drive/" + c.name);
    EXPECT_EQ(DeleteFileAt(c.folder, c.name.c_str()).error, c.expected) << c.name.size();
    EXPECT_EQ(MoveToHoldingAt(c.folder, c.name.c_str(), path, holding).error, c.expected) << c.name.size();
    EXPECT_EQ(SendToTrashAt({{c.folder, c.name, path}}, trash).at(0).error, c.expected) << c.name.size();
  }
  ::close(folder);
  ::close(notFolder);
  EXPECT_EQ(ReadFile(file), "keep");
}

TEST(MoveToHolding, KeepsThePathBelowTheDriveRoot) {
  TempDir dir;
  const std::string root = dir / "data";
  const std::string deep = dir.Write("data/tmp/x.tmp", "deep");
  const std::string top = dir.Write("data/x.log", "top");
  const HoldingSetup setup{{"/", root}, ""};

  ASSERT_EQ(MoveToHolding(deep, setup).error, 0);
  ASSERT_EQ(MoveToHolding(top, setup).error, 0);
  EXPECT_FALSE(PathExists(deep));
  EXPECT_FALSE(PathExists(top));
  EXPECT_EQ(ReadFile(root + "/" + kHold + "/tmp/x.tmp"), "deep");
  EXPECT_EQ(ReadFile(root + "/" + kHold + "/x.log"), "top");
  EXPECT_EQ(ModeOf(root + "/" + kHold), 0700u);
  EXPECT_EQ(ModeOf(root + "/" + kHold + "/tmp"), 0700u);

  // A root that matches only part of a name is not the file's drive.
  const std::string other = dir.Write("data/y.tmp");
  EXPECT_EQ(MoveToHolding(other, {{dir / "dat"}, ""}).error, EXDEV);
  EXPECT_TRUE(PathExists(other));
}

TEST(MoveToHolding, ReplacesAnEarlierCopyButNeverAFolder) {
  TempDir dir;
  const std::string root = dir / "data";
  const HoldingSetup setup{{root}, ""};
  const std::string old = dir.Write("data/" + kHold + "/tmp/a.tmp", "old");
  ::chmod(old.c_str(), 0444);
  const std::string a = dir.Write("data/tmp/a.tmp", "new");
  EXPECT_EQ(MoveToHolding(a, setup).error, 0);
  EXPECT_EQ(ReadFile(old), "new");

  const std::string inFolder = dir.Write("data/" + kHold + "/tmp/b.tmp/inner", "inner");
  const std::string b = dir.Write("data/tmp/b.tmp", "b");
  EXPECT_EQ(MoveToHolding(b, setup).error, EEXIST);
  EXPECT_EQ(ReadFile(b), "b");
  EXPECT_EQ(ReadFile(inFolder), "inner");
}

TEST(MoveToHolding, LinksPlantedInTheHoldingFolderAreNotFollowed) {
  TempDir dir;
  const std::string root = dir / "data";
  const HoldingSetup setup{{root}, ""};
  const std::string outside = dir.Write("elsewhere/a.tmp", "keep");
  const std::string hold = root + "/" + kHold;
  fs::create_directories(hold);
  fs::create_directory_symlink(dir / "elsewhere", hold + "/tmp");

  const std::string a = dir.Write("data/tmp/a.tmp", "new");
  const int err = MoveToHolding(a, setup).error;
  EXPECT_TRUE(err == ELOOP || err == ENOTDIR) << err;
  EXPECT_EQ(ReadFile(a), "new");
  EXPECT_EQ(ReadFile(outside), "keep");
  EXPECT_EQ(std::distance(fs::directory_iterator(dir / "elsewhere"), fs::directory_iterator()), 1);

  // A link in place of the earlier copy is replaced itself, its target stays.
  fs::create_directories(hold + "/other");
  fs::create_symlink(outside, hold + "/other/c.tmp");
  const std::string c = dir.Write("data/other/c.tmp", "c");
  EXPECT_EQ(MoveToHolding(c, setup).error, 0);
  EXPECT_EQ(ReadFile(hold + "/other/c.tmp"), "c");
  EXPECT_EQ(ReadFile(outside), "keep");

  if (::geteuid() == 0) {  // a folder of someone else's on the way
    fs::create_directories(hold + "/foreign");
    ASSERT_EQ(::chown((hold + "/foreign").c_str(), 65534, 65534), 0);
    const std::string f = dir.Write("data/foreign/f.tmp", "f");
    EXPECT_EQ(MoveToHolding(f, setup).error, EPERM);
    EXPECT_EQ(ReadFile(f), "f");
  }
}

// The holding move as an unprivileged user: in this process, or for root
// through setpriv as nobody. Nothing when it could not be run.
std::optional<int> MoveAsUser(const std::string& path, const std::string& root, const std::string& home) {
  if (::geteuid() != 0) return MoveToHolding(path, {{root}, home}).error;
  if (::access("/usr/bin/setpriv", X_OK) != 0) return std::nullopt;
  const auto result = testing::RunCommand(
      {"/usr/bin/setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups", fs::read_symlink("/proc/self/exe")},
      {"VORLO_HOLDING_HELPER_PATH=" + path, "VORLO_HOLDING_HELPER_ROOT=" + root, "VORLO_HOLDING_HELPER_HOME=" + home});
  if (result.out.rfind("result=", 0) != 0) return std::nullopt;
  return std::atoi(result.out.c_str() + 7);
}

TEST(MoveToHolding, HomeFolderStandsInForAReadOnlyDriveRoot) {
  TempDir dir;
  ::chmod(dir.path().c_str(), 0755);
  const std::string root = dir / "drive";
  const std::string home = root + "/home";
  const std::string inHome = dir.Write("drive/home/sub/x.tmp", "x");
  const std::string outside = dir.Write("drive/pub/p.tmp", "p");
  ::chmod((root + "/pub").c_str(), 0777);
  if (::geteuid() == 0) {
    for (const std::string& p : {home, home + "/sub", inHome, outside}) ASSERT_EQ(::chown(p.c_str(), 65534, 65534), 0);
  }
  ::chmod(root.c_str(), 0555);

  const auto homeResult = MoveAsUser(inHome, root, home);
  const auto outsideResult = MoveAsUser(outside, root, home);
  ::chmod(root.c_str(), 0755);
  if (!homeResult || !outsideResult) GTEST_SKIP() << "cannot run as an unprivileged user here";

  EXPECT_EQ(*homeResult, 0);
  EXPECT_EQ(ReadFile(home + "/" + kHold + "/sub/x.tmp"), "x");
  EXPECT_FALSE(PathExists(inHome));
  EXPECT_FALSE(PathExists(root + "/" + kHold));
  // Outside the home folder there is no stand-in: the file stays.
  EXPECT_EQ(*outsideResult, EACCES);
  EXPECT_EQ(ReadFile(outside), "p");
}

}  // namespace
}  // namespace vorlo
