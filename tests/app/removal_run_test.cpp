// Clean-up runs with the system's removal methods: each acts where the scan
// found the file, whatever path led the scan there, and leaves alone a file
// another program has open or mapped.
#include <dirent.h>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/mman.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>

#include "support/deep_tree.h"
#include "support/run_fixture.h"

namespace vorlo {
namespace {

using testing::Chain;
using testing::RemoveTreeAt;
using testing::RunFixture;
using enum CleanupMethod;
using enum FolderRule;

const CleanupMethod kMethods[] = {cuDelete, cuHolding, cuRecycle};
const char* const kHold = kHoldingFolderName;

// The system's removal methods on the fixture's tree: the tree is the drive,
// "home/Trash" in it the home trash.
struct RealRemoval {
  explicit RealRemoval(RunFixture& f)
      : remover(TrashSetup{f.dir / "home/Trash", {f.dir.path()}, static_cast<uint32_t>(::getuid()), &f.clock},
                HoldingSetup{{f.dir.path()}, ""}),
        dir(f.dir.path()) {
    f.realRemover = &remover;
  }
  // Where a removed file is now; empty when it was deleted.
  std::string Destination(CleanupMethod m, const std::string& path, const std::string& name) const {
    if (m == cuHolding) return dir + "/" + kHold + path.substr(dir.size());
    if (m == cuRecycle) return dir + "/home/Trash/files/" + name;
    return {};
  }
  SystemFileRemover remover;
  std::string dir;
};

TJunkFileObj TypeOver(CleanupMethod m, FolderList folders) {
  return TJunkFileObj("T", true, m, std::move(folders), {"*.tmp"}, {}, {}, {}, {});
}

bool Exists(const std::string& path) {
  struct stat st;
  return ::lstat(path.c_str(), &st) == 0;
}

TEST(RemovalRun, FolderEntriesThroughALinkOrWithDotDotAreRemovedWhereFound) {
  for (const CleanupMethod m : kMethods) {
    SCOPED_TRACE(static_cast<int>(m));
    RunFixture f;
    RealRemoval real(f);
    const std::string x = f.File("real/sub/x.tmp", 3), y = f.File("dd/y.tmp", 4);
    std::filesystem::create_directory_symlink(f.dir / "tree/real", f.dir / "linked");
    f.list.Append(TypeOver(m, {{f.dir / "linked/sub", pFolAndSub}, {f.dir / "tree/real/./../dd/", pFolAndSub}}));

    f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

    const std::string log = f.Log();
    EXPECT_NE(log.find("\t" + x + "\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("\t" + y + "\r\n"), std::string::npos) << log;
    EXPECT_EQ(log.find("ERR"), std::string::npos) << log;
    EXPECT_FALSE(Exists(x));
    EXPECT_FALSE(Exists(y));
    if (m != cuDelete) {
      EXPECT_TRUE(Exists(real.Destination(m, x, "x.tmp")));
      EXPECT_TRUE(Exists(real.Destination(m, y, "y.tmp")));
    }
    EXPECT_EQ(f.Runs().LastOutcome().files, 2);
    EXPECT_EQ(f.Runs().LastOutcome().errors, 0);
  }
}

TEST(RemovalRun, APathLongerThanPathMaxIsRemovedByEveryMethod) {
  const std::string name(240, 'd');
  const int levels = PATH_MAX / 240 + 2;
  for (const CleanupMethod m : kMethods) {
    SCOPED_TRACE(static_cast<int>(m));
    RunFixture f;
    RealRemoval real(f);
    const std::string top = f.dir / "tree/deep";
    std::filesystem::create_directories(top);
    const int deepest = Chain(top, name, levels, true);
    ASSERT_GE(deepest, 0);
    ::close(::openat(deepest, "z.tmp", O_WRONLY | O_CREAT | O_CLOEXEC, 0600));
    ::close(deepest);
    std::string path = top;
    for (int i = 0; i < levels; ++i) path += "/" + name;
    path += "/z.tmp";
    ASSERT_GT(path.size(), size_t{PATH_MAX});
    f.list.Append(TypeOver(m, {{top, pFolAndSub}}));

    f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

    const std::string log = f.Log();
    EXPECT_NE(log.find("\t" + path + "\r\n"), std::string::npos);
    EXPECT_EQ(log.find("ERR"), std::string::npos) << log;
    EXPECT_EQ(f.Runs().LastOutcome().files, 1);
    struct stat st;
    const int found = Chain(top, name, levels, false);
    EXPECT_NE(::fstatat(found, "z.tmp", &st, AT_SYMLINK_NOFOLLOW), 0);
    ::close(found);
    if (m == cuHolding) {
      const int held = Chain(f.dir / (std::string(kHold) + "/tree/deep"), name, levels, false);
      EXPECT_EQ(::fstatat(held, "z.tmp", &st, AT_SYMLINK_NOFOLLOW), 0);
      ::close(held);
      RemoveTreeAt(AT_FDCWD, (f.dir / kHold).c_str());
    } else if (m == cuRecycle) {
      EXPECT_TRUE(Exists(real.Destination(m, path, "z.tmp")));
    }
    RemoveTreeAt(AT_FDCWD, top.c_str());
  }
}

TEST(RemovalRun, AnyFailureButGoneIsAnErrorLine) {
  for (const CleanupMethod m : kMethods) {
    SCOPED_TRACE(static_cast<int>(m));
    RunFixture f;
    const std::string bad = f.File("e/bad.tmp", 5), good = f.File("e/good.tmp", 7);
    f.remover.failing = {{bad, EIO}};
    f.list.Append(f.FolderType("E", m, "e"));

    f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

    EXPECT_NE(f.Log().find("ERR\t" + bad + "\r\n\t* Input/output error\r\n"), std::string::npos) << f.Log();
    EXPECT_TRUE(f.remover.Exists(bad));
    EXPECT_FALSE(f.remover.Exists(good));
    EXPECT_EQ(f.Runs().LastOutcome().files, 1);
    EXPECT_EQ(f.Runs().LastOutcome().errors, 1);
    EXPECT_EQ(f.Runs().LastOutcome().bytes, 7);
  }
}

// A child process that keeps a file open, or only mapped, until destroyed.
class Holder {
 public:
  Holder(const std::string& path, bool mapOnly) {
    int ready[2];
    if (::pipe2(ready, O_CLOEXEC) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
      ::prctl(PR_SET_PDEATHSIG, SIGKILL);
      const int fd = ::open(path.c_str(), O_RDONLY);
      if (fd < 0) ::_exit(1);
      if (mapOnly) {
        if (::mmap(nullptr, 1, PROT_READ, MAP_SHARED, fd, 0) == MAP_FAILED) ::_exit(1);
        ::close(fd);
      }
      if (::write(ready[1], "r", 1) != 1) ::_exit(1);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char c = 0;
    ready_ = pid_ > 0 && ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
  }
  ~Holder() {
    if (pid_ <= 0) return;
    ::kill(pid_, SIGKILL);
    ::waitpid(pid_, nullptr, 0);
  }
  Holder(const Holder&) = delete;
  Holder& operator=(const Holder&) = delete;
  bool Ready() const { return ready_; }

 private:
  pid_t pid_ = -1;
  bool ready_ = false;
};

TEST(RemovalRun, AFileOpenOrMappedElsewhereStaysWithItsErrorLine) {
  for (const CleanupMethod m : kMethods) {
    SCOPED_TRACE(static_cast<int>(m));
    RunFixture f;
    RealRemoval real(f);
    const std::string open = f.File("u/open.tmp", 1), mapped = f.File("u/mapped.tmp", 2),
                      free = f.File("u/free.tmp", 4);
    const Holder openHolder(open, false), mapHolder(mapped, true);
    ASSERT_TRUE(openHolder.Ready());
    ASSERT_TRUE(mapHolder.Ready());
    f.list.Append(f.FolderType("U", m, "u"));

    f.RunToEnd([](RunControl& r) { r.aCleanupExecute(); });

    const std::string log = f.Log();
    for (const std::string& held : {open, mapped}) {
      EXPECT_NE(log.find("ERR\t" + held + "\r\n\t* The file is open in another program\r\n"), std::string::npos)
          << log;
      EXPECT_TRUE(Exists(held));
    }
    EXPECT_NE(log.find("\t" + free + "\r\n"), std::string::npos);
    EXPECT_FALSE(Exists(free));
    EXPECT_EQ(f.Runs().LastOutcome().files, 1);
    EXPECT_EQ(f.Runs().LastOutcome().errors, 2);
    EXPECT_EQ(f.Runs().LastOutcome().bytes, 4);
    if (m == cuRecycle) {
      // Nothing of the held files went into the trash, not even an info file.
      EXPECT_FALSE(Exists(f.dir / "home/Trash/info/open.tmp.trashinfo"));
      EXPECT_FALSE(Exists(f.dir / "home/Trash/info/mapped.tmp.trashinfo"));
    }
  }
}

}  // namespace
}  // namespace vorlo
