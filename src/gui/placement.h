// Window placement in the settings file: one section "<name> Settings" per
// window with the restored rectangle, the minimised and maximised positions,
// the show state and the flags. The Qt side of core/placement_ini.h: the
// restored rectangle is the window's normal geometry, the work area the
// primary screen's available geometry.
//
// Windows get the store passed in and save their placement when they close,
// so every write to the settings file goes through one object, and a test
// can give an in-memory store instead of the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "core/placement_ini.h"

class QWidget;

namespace vorlo {

class PlacementStore {
 public:
  virtual ~PlacementStore() = default;

  // Restores the placement of `window` (its current size is its design
  // size); `Siz` restores the size too. Call before the window is shown. A
  // missing or unreadable settings text leaves the window centred at its
  // design size.
  void GetPosFmINI(QWidget& window, std::string_view name, bool Siz) const;

  // Saves the placement; `Siz` writes "Right" and "Bottom" too. Returns 0 or
  // the errno of the failure; a settings text that exists but cannot be read
  // is left alone rather than replaced without its other sections.
  int SetPosToINI(const QWidget& window, std::string_view name, bool Siz);

  // One value of the settings (for keys such as "InitialDir").
  std::optional<std::string> ReadIniString(std::string_view section, std::string_view key) const;
  // Sets one value, keeping everything else; 0 or an errno (EINVAL for a
  // value with a line break, which one INI line cannot hold).
  int WriteIniString(std::string_view section, std::string_view key, std::string_view value);

 protected:
  struct Loaded {
    IniDocument doc;
    int error = 0;  // 0 also when there are no settings yet
  };
  virtual Loaded Load() const = 0;
  virtual int Save(const IniDocument& doc) = 0;
};

// The settings file itself. A save creates the file's folder when missing
// and replaces the file safely; a restore never creates it.
class IniFileStore final : public PlacementStore {
 public:
  explicit IniFileStore(std::string path) : path_(std::move(path)) {}
  const std::string& Path() const { return path_; }

 protected:
  Loaded Load() const override;
  int Save(const IniDocument& doc) override;

 private:
  std::string path_;
};

}  // namespace vorlo
