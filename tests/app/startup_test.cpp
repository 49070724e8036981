#include "app/startup.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "core/default_types.h"
#include "core/junk_list_file.h"
#include "support/child_process.h"
#include "support/run_fixture.h"

namespace vorlo {
namespace {

namespace fs = std::filesystem;
using testing::PassesInChild;
using testing::RunFixture;

const DefaultFolders kDefaults{"/c/", "", "/tmp/", "", "/"};

// Loads as the window does (refusing) or as vorlo-cli does.
StartupList Load(RunFixture& f, bool window) {
  const StartupLoad how = window ? StartupLoad{.offerRecovery = false}
                                 : StartupLoad{.offerRecovery = false, .keepBadAside = false, .refuseUnreadable = false};
  return LoadStartupList(f.port, DataFiles(f.dir / "data/"), f.bins, kDefaults, how);
}

// One error naming the file and the reason; nothing loaded, nothing kept aside.
bool RefusedWith(RunFixture& f, const StartupList& l, const std::string& reason, bool window) {
  const std::string path = f.dir / "data/Vorlo.DAT";
  if (!l.unreadable || !l.failed || !l.types.empty() || f.port.messages.size() != 1) return false;
  const Message& m = f.port.messages[0];
  return m.kind == MsgKind::Error && m.text.starts_with("Cannot read " + path + ": " + reason) &&
         (m.text.find("Vorlo has not started") != std::string::npos) == window && !fs::exists(path + ".bad");
}

TEST(Startup, AnUnusableDataFileIsAnErrorNeverTheDefaultTable) {
  const struct {
    const char* what;
    void (*make)(const std::string& path);
    const char* reason;
    bool (*still)(const std::string& path);
  } cases[] = {
      {"folder", [](const std::string& p) { fs::create_directory(p); }, "Is a directory",
       [](const std::string& p) { return fs::is_directory(p); }},
      {"dangling link", [](const std::string& p) { fs::create_symlink(p + ".gone", p); },
       "No such file or directory (a link to a missing file)",
       [](const std::string& p) { return fs::is_symlink(p); }},
      {"FIFO", [](const std::string& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }, "Not a regular file",
       [](const std::string& p) { return fs::is_fifo(p); }},
  };
  for (const auto& c : cases)
    for (const bool window : {true, false}) {
      RunFixture f;
      const std::string path = f.dir / "data/Vorlo.DAT";
      c.make(path);
      // In a child with a time limit: opening a FIFO must not wait for a writer.
      EXPECT_TRUE(PassesInChild([&] { return RefusedWith(f, Load(f, window), c.reason, window); }))
          << c.what << (window ? " (window)" : " (command line)");
      EXPECT_TRUE(c.still(path)) << c.what;
    }
}

TEST(Startup, AFileTheUserMayNotReadIsAnError) {
  RunFixture f;
  fs::permissions(f.dir.path(), fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(f.dir / "data", fs::perms::owner_all | fs::perms::others_read | fs::perms::others_exec);
  SaveJTToFile(f.dir / "data/Vorlo.DAT", std::vector<TJunkFileObj>(2));
  fs::permissions(f.dir / "data/Vorlo.DAT", fs::perms::none);
  for (const bool window : {true, false})
    EXPECT_TRUE(PassesInChild([&] { return RefusedWith(f, Load(f, window), "Permission denied", window); },
                              /*asNobody=*/true));
}

TEST(Startup, OnlyAMissingOrEmptyDataFileIsAFirstStart) {
  {
    RunFixture f;
    EXPECT_GE(Load(f, true).types.size(), 33u);
  }
  {
    RunFixture f;
    f.dir.Write("data/Vorlo.DAT");
    EXPECT_GE(Load(f, true).types.size(), 33u);
    EXPECT_TRUE(f.port.messages.empty());
  }
  {  // A link to a list file elsewhere is read through.
    RunFixture f;
    SaveJTToFile(f.dir / "elsewhere.dat", std::vector<TJunkFileObj>(2));
    fs::create_symlink(f.dir / "elsewhere.dat", f.dir / "data/Vorlo.DAT");
    const StartupList l = Load(f, true);
    EXPECT_EQ(l.types.size(), 2u);
    EXPECT_FALSE(l.failed);
  }
}

}  // namespace
}  // namespace vorlo
