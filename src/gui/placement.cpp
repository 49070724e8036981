#include "gui/placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <cerrno>
#include <filesystem>

#include "core/placement_ini.h"
#include "platform/file_ops.h"

namespace vorlo {
namespace {

PlacementRect ToPlacement(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

struct LoadedIni {
  IniDocument doc;
  int error = 0;  // 0 also for a file that does not exist yet
};

LoadedIni LoadIni(const std::string& iniPath) {
  const FileRead read = ReadWholeFile(iniPath);
  if (read.error == ENOENT) return {};
  if (read.error != 0) return {IniDocument{}, read.error};
  return {IniDocument::Parse(read.bytes), 0};
}

int SaveIni(const std::string& iniPath, const IniDocument& doc) {
  const std::string folder = std::filesystem::path(iniPath).parent_path().string();
  if (!folder.empty())
    if (const int err = CreateFolderTree(folder); err != 0) return err;
  return WriteFileReplacing(iniPath, doc.Text());
}

int ShowCmdOf(const QWidget& window) {
  if (window.isMinimized()) return 2;
  if (window.isMaximized() || window.isFullScreen()) return 3;
  return 1;
}

}  // namespace

void GetPosFmINI(QWidget& window, const std::string& name, bool Siz, const std::string& iniPath) {
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return;
  const PlacementRect work = ToPlacement(primary->availableGeometry());

  // Only the restored rectangle has a Qt counterpart; the other fields of
  // the record are 0.
  WindowPlacement current;
  current.ShowCmd = ShowCmdOf(window);
  const WindowPlacement placement =
      RestorePlacement(LoadIni(iniPath).doc, name, Siz, work, window.width(), window.height(), current);

  std::vector<PlacementRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens.push_back(ToPlacement(screen->geometry()));
  const PlacementRect r = BringIntoView(placement.normal, screens, work);
  window.setGeometry(r.Left, r.Top, r.Width(), r.Height());
}

int SetPosToINI(const QWidget& window, const std::string& name, bool Siz, const std::string& iniPath) {
  LoadedIni ini = LoadIni(iniPath);
  if (ini.error != 0) return ini.error;
  WindowPlacement placement;
  QRect normal = window.normalGeometry();
  if (!normal.isValid()) normal = window.geometry();
  placement.normal = ToPlacement(normal);
  placement.ShowCmd = ShowCmdOf(window);
  StorePlacement(ini.doc, name, Siz, placement);
  return SaveIni(iniPath, ini.doc);
}

std::optional<std::string> ReadIniString(const std::string& iniPath, const std::string& section,
                                         const std::string& key) {
  return LoadIni(iniPath).doc.Value(section, key);
}

int WriteIniString(const std::string& iniPath, const std::string& section, const std::string& key,
                   const std::string& value) {
  // A line break would end the line and turn the rest into other keys.
  if (value.find_first_of("\r\n") != std::string::npos) return EINVAL;
  LoadedIni ini = LoadIni(iniPath);
  if (ini.error != 0) return ini.error;
  ini.doc.SetValue(section, key, value);
  return SaveIni(iniPath, ini.doc);
}

}  // namespace vorlo
