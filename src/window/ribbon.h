// The main window's ribbon: tabs of captioned groups of command buttons and
// the application menu. Buttons wrap their captions onto up to three lines so
// the widest tab fits the window's narrowest width; Alt plus a caption's
// underlined letter runs the command (the shown tab first, then the others),
// and Alt+F opens the application menu.
#pragma once

#include <QToolButton>
#include <QTabWidget>
#include <utility>
#include <vector>

class QAction;
class QLabel;
class QMenu;

namespace vorlo {

// A text-only ribbon command: shows its action's caption with the mnemonic
// underlined, on one line where there is room and word-wrapped onto up to
// three where the window is narrow, and follows the action's text, enabled
// state and visibility. A small one shares its place with others, one above
// the other.
class RibbonButton final : public QToolButton {
  Q_OBJECT

 public:
  RibbonButton(QAction* command, QWidget* parent, bool small = false);

  static constexpr int kPad = 4;  // between the button's edge and its caption

  QAction* Command() const { return command_; }
  // Another caption the command shows at times ("Stop" for the count): the
  // button is sized for the widest of it and the caption it has now, so
  // that neither it nor its neighbours move when the caption changes.
  void ReserveCaption(const QString& caption);
  // The caption with "&&" as "&" and the mnemonic marker removed.
  QString ShownCaption() const;
  // The mnemonic letter, upper case; null when the caption has none.
  QChar Mnemonic() const;
  // The text rectangle the caption needs at the button's width.
  QSize CaptionSize(int width) const;

  QSize sizeHint() const override;
  QSize minimumSizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* e) override;

 private:
  void Follow();
  QSize TextSize(const QString& caption, int width) const;
  int WrapWidth(const QString& caption, int lines) const;
  // The shown caption, then the reserved ones.
  QStringList Captions() const;

  QAction* command_;
  QStringList reserved_;
  bool small_;
};

struct RibbonGroup {
  QString caption;
  std::vector<QAction*> commands;
  // Smaller commands after those, one above the other in a column of their
  // own, where a group would be too wide for the narrowest window.
  std::vector<QAction*> stacked = {};
};

class Ribbon final : public QTabWidget {
  Q_OBJECT

 public:
  explicit Ribbon(QWidget* parent);

  void AddTab(const QString& title, const std::vector<RibbonGroup>& groups);
  // The application menu's button, opened by Alt+F.
  QToolButton* AppMenuButton() const { return appMenu_; }
  QMenu* AppMenu() const;
  // Installs Alt+letter for every mnemonic of the buttons added so far, and
  // Alt+F, as shortcuts of `window`.
  void InstallKeys(QWidget* window);
  // Runs the command whose caption has mnemonic `letter`: one on the shown
  // tab first, else the first on another tab, which is then shown. False
  // when no visible, enabled button has it.
  bool RunMnemonic(QChar letter);
  std::vector<RibbonButton*> Buttons() const;
  // Sizes the buttons of `command` for `caption` as well (see RibbonButton).
  void ReserveCaption(QAction* command, const QString& caption);
  // The key tip "F" on the application menu's button, shown while Alt is
  // held in the ribbon's window.
  QLabel* AppMenuKeyTip() const { return appKeyTip_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolButton* appMenu_;
  QLabel* appKeyTip_;
};

}  // namespace vorlo
