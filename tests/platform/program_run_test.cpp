// Running another program: what it prints on each stream, how it ended, and
// a program that is missing or takes too long.
#include "platform/program_run.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "support/temp_dir.h"

namespace vorlo {
namespace {

using namespace std::chrono_literals;

TEST(RunProgram, OutputExitCodeAndFailures) {
  // More than a pipe holds on both streams: neither may block the other.
  const ProgramRun big = RunProgram({"sh", "-c", "head -c 200000 /dev/zero; head -c 100000 /dev/zero >&2; exit 3"});
  EXPECT_EQ(big.startError, 0);
  EXPECT_EQ(big.exitCode, 3);
  EXPECT_EQ(big.out.size(), 200000u);
  EXPECT_EQ(big.err.size(), 100000u);
  EXPECT_FALSE(big.Succeeded());

  const ProgramRun ok = RunProgram({"sh", "-c", "read x; echo \"[$x]\"; echo warn >&2"});  // stdin is empty
  EXPECT_TRUE(ok.Succeeded());
  EXPECT_EQ(ok.out, "[]\n");
  EXPECT_EQ(ok.err, "warn\n");

  EXPECT_EQ(RunProgram({"vorlo-no-such-program"}).startError, ENOENT);

  const ProgramRun slow = RunProgram({"sleep", "30"}, 100ms);
  EXPECT_EQ(slow.startError, 0);
  EXPECT_EQ(slow.exitCode, -1);

  testing::TempDir dir;
  const std::string plain = dir.Write("plain", "text");
  EXPECT_EQ(ProgramFileError(plain), EACCES);
  EXPECT_EQ(ProgramFileError(dir.path()), EISDIR);
  EXPECT_EQ(ProgramFileError(dir / "none"), ENOENT);
  EXPECT_EQ(ProgramFileError("/bin/sh"), 0);
}

}  // namespace
}  // namespace vorlo
