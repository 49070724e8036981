#include "gui/placement.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <cerrno>
#include <filesystem>

#include "platform/file_ops.h"

namespace vorlo {
namespace {

PlacementRect ToPlacement(const QRect& r) { return {r.x(), r.y(), r.x() + r.width(), r.y() + r.height()}; }

int ShowCmdOf(const QWidget& window) {
  if (window.isMinimized()) return 2;
  if (window.isMaximized() || window.isFullScreen()) return 3;
  return 1;
}

}  // namespace

void PlacementStore::GetPosFmINI(QWidget& window, std::string_view name, bool Siz) const {
  const QScreen* primary = QGuiApplication::primaryScreen();
  if (!primary) return;
  const PlacementRect work = ToPlacement(primary->availableGeometry());

  // Only the restored rectangle has a Qt counterpart; the other fields of
  // the record are 0.
  WindowPlacement current;
  current.ShowCmd = ShowCmdOf(window);
  const WindowPlacement placement =
      RestorePlacement(Load().doc, name, Siz, work, window.width(), window.height(), current);

  std::vector<PlacementRect> screens;
  for (const QScreen* screen : QGuiApplication::screens()) screens.push_back(ToPlacement(screen->geometry()));
  const PlacementRect r = BringIntoView(placement.normal, screens, work);
  window.setGeometry(r.Left, r.Top, r.Width(), r.Height());
}

int PlacementStore::SetPosToINI(const QWidget& window, std::string_view name, bool Siz) {
  Loaded ini = Load();
  if (ini.error != 0) return ini.error;
  WindowPlacement placement;
  QRect normal = window.normalGeometry();
  if (!normal.isValid()) normal = window.geometry();
  placement.normal = ToPlacement(normal);
  placement.ShowCmd = ShowCmdOf(window);
  StorePlacement(ini.doc, name, Siz, placement);
  return Save(ini.doc);
}

std::optional<std::string> PlacementStore::ReadIniString(std::string_view section, std::string_view key) const {
  return Load().doc.Value(section, key);
}

int PlacementStore::WriteIniString(std::string_view section, std::string_view key, std::string_view value) {
  // A line break would end the line and turn the rest into other keys.
  if (value.find_first_of("\r\n") != std::string_view::npos) return EINVAL;
  Loaded ini = Load();
  if (ini.error != 0) return ini.error;
  ini.doc.SetValue(section, key, value);
  return Save(ini.doc);
}

PlacementStore::Loaded IniFileStore::Load() const {
  const FileRead read = ReadWholeFile(path_);
  if (read.error == ENOENT) return {};
  if (read.error != 0) return {IniDocument{}, read.error};
  return {IniDocument::Parse(read.bytes), 0};
}

int IniFileStore::Save(const IniDocument& doc) {
  const std::string folder = std::filesystem::path(path_).parent_path().string();
  if (!folder.empty())
    if (const int err = CreateFolderTree(folder); err != 0) return err;
  return WriteFileReplacing(path_, doc.Text());
}

}  // namespace vorlo
