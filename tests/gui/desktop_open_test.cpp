#include "gui/desktop_open.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QApplication>
#include <QObject>
#include <chrono>
#include <cstdlib>
#include <optional>

#include "support/env_guard.h"
#include "support/temp_dir.h"

namespace vorlo {
namespace {

// xdg-open's answer reaches the caller: success, the error of a desktop
// without a program for the file (exit 4), and no xdg-open at all.
TEST(DesktopOpen, TheLaunchersAnswerIsReported) {
  const testing::TempDir dir;
  const std::string asked = dir / "asked";
  const struct {
    std::string script;  // empty: no xdg-open on the path
    bool opened;
  } cases[] = {
      {"#!/bin/sh\nprintf '%s' \"$1\" > '" + asked + "'\n", true},
      {"#!/bin/sh\nexit 4\n", false},
      {"", false},
  };
  int n = 0;
  for (const auto& c : cases) {
    const std::string bin = "bin" + std::to_string(n++);
    std::filesystem::create_directories(dir / bin);
    testing::EnvGuard env;
    if (c.script.empty()) {
      env.Set("PATH", dir / bin);
    } else {
      ::chmod(dir.Write(bin + "/xdg-open", c.script).c_str(), 0755);
      env.Set("PATH", dir / bin + ":" + std::getenv("PATH"));
    }
    QObject context;
    std::optional<bool> opened;
    OpenWithDesktop(QStringLiteral("/some/Vorlo.LOG.TXT"), &context, [&opened](bool ok) { opened = ok; });
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!opened && std::chrono::steady_clock::now() < until) QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_TRUE(opened.has_value()) << n;
    EXPECT_EQ(*opened, c.opened) << n;
  }
  EXPECT_EQ(testing::ReadFile(asked), "/some/Vorlo.LOG.TXT");
}

}  // namespace
}  // namespace vorlo
