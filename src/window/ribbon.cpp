#include "window/ribbon.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QShortcut>
#include <QStyleOptionToolButton>
#include <QStylePainter>
#include <QVBoxLayout>
#include <set>

namespace vorlo {

namespace {

constexpr int kMinHeight = 60;       // the large ribbon buttons
constexpr int kSmallMinHeight = 24;  // the small ones, stacked
constexpr int kTextFlags = Qt::AlignCenter | Qt::TextWordWrap | Qt::TextShowMnemonic;

// A caption with "&&" as "&" and the mnemonic marker removed.
QString WithoutMarker(const QString& text) {
  QString out;
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&' && i + 1 < text.size()) ++i;
    out += text[i];
  }
  return out;
}

}  // namespace

RibbonButton::RibbonButton(QAction* command, QWidget* parent, bool small)
    : QToolButton(parent), command_(command), small_(small) {
  setObjectName(command->objectName());
  setDefaultAction(command);
  setToolButtonStyle(Qt::ToolButtonTextOnly);
  setAutoRaise(true);
  setFocusPolicy(Qt::TabFocus);
  setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Preferred);
  connect(command, &QAction::changed, this, &RibbonButton::Follow);
  Follow();
}

void RibbonButton::Follow() {
  // The tool button takes the action's text, enabling and hint itself, but
  // not its visibility: a hidden command must leave its group empty.
  setVisible(command_->isVisible());
  setStatusTip(command_->statusTip());
  updateGeometry();
  update();
}

QString RibbonButton::ShownCaption() const { return WithoutMarker(command_->text()); }

QChar RibbonButton::Mnemonic() const {
  const QString text = command_->text();
  for (qsizetype i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] != u'&') return text[i + 1].toUpper();
    ++i;
  }
  return {};
}

QSize RibbonButton::CaptionSize(int width) const { return TextSize(command_->text(), width); }

void RibbonButton::ReserveCaption(const QString& caption) {
  if (reserved_.isEmpty()) reserved_.append(command_->text());  // the caption it comes back to
  reserved_.append(caption);
  updateGeometry();
}

QStringList RibbonButton::Captions() const { return QStringList{command_->text()} + reserved_; }

QSize RibbonButton::TextSize(const QString& caption, int width) const {
  return fontMetrics().boundingRect(QRect(0, 0, width, 1000), kTextFlags, caption).size();
}

// The narrowest width at which the caption needs no more than `lines`
// lines and no word is broken.
int RibbonButton::WrapWidth(const QString& caption, int lines) const {
  const QFontMetrics fm = fontMetrics();
  const int limit = fm.boundingRect(QRect(0, 0, 1000, 1000), kTextFlags, QStringLiteral("X\nX\nX").left(2 * lines - 1))
                        .height();
  const int full = fm.boundingRect(QRect(0, 0, 10000, 1000), kTextFlags, caption).width();
  int widest = 0;
  for (const QString& word : WithoutMarker(caption).split(u' ', Qt::SkipEmptyParts))
    widest = std::max(widest, fm.horizontalAdvance(word));
  for (int w = widest; w < full; ++w)
    if (const QSize needed = TextSize(caption, w); needed.height() <= limit && needed.width() <= w) return w;
  return full;
}

// One line where there is room, up to three where the window is narrow;
// wide enough for every caption the command takes.
QSize RibbonButton::sizeHint() const {
  int w = 0;
  for (const QString& caption : Captions()) w = std::max(w, WrapWidth(caption, 1));
  return {w + 2 * kPad, minimumSizeHint().height()};
}

QSize RibbonButton::minimumSizeHint() const {
  int w = 0;
  for (const QString& caption : Captions()) w = std::max(w, WrapWidth(caption, 3));
  int h = 0;
  for (const QString& caption : Captions()) h = std::max(h, TextSize(caption, w).height());
  return {w + 2 * kPad, std::max(small_ ? kSmallMinHeight : kMinHeight, h + 2 * kPad)};
}

void RibbonButton::paintEvent(QPaintEvent*) {
  QStylePainter p(this);
  QStyleOptionToolButton opt;
  initStyleOption(&opt);
  opt.text.clear();
  p.drawComplexControl(QStyle::CC_ToolButton, opt);
  p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
  p.drawText(rect().adjusted(kPad, kPad, -kPad, -kPad), kTextFlags, command_->text());
}

Ribbon::Ribbon(QWidget* parent) : QTabWidget(parent) {
  setObjectName(QStringLiteral("Ribbon1"));
  setDocumentMode(true);
  appMenu_ = new QToolButton(this);
  appMenu_->setObjectName(QStringLiteral("appMenu"));
  appMenu_->setText(QStringLiteral("Vorlo"));
  appMenu_->setToolTip(QStringLiteral("Alt+F"));
  appMenu_->setPopupMode(QToolButton::InstantPopup);
  auto* menu = new QMenu(appMenu_);
  menu->setObjectName(QStringLiteral("appMenuPopup"));
  appMenu_->setMenu(menu);
  setCornerWidget(appMenu_, Qt::TopLeftCorner);

  appKeyTip_ = new QLabel(QStringLiteral("F"), appMenu_);
  appKeyTip_->setObjectName(QStringLiteral("appMenuKeyTip"));
  appKeyTip_->setAlignment(Qt::AlignCenter);
  appKeyTip_->setStyleSheet(QStringLiteral("background: #fffbe6; color: black; border: 1px solid #6b6b6b;"));
  appKeyTip_->setFixedSize(14, 14);
  appKeyTip_->hide();
  qApp->installEventFilter(this);
}

// Alt held down in the ribbon's window shows the application menu's key
// tip; letting it go, or leaving the window, hides it again.
bool Ribbon::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* widget = qobject_cast<QWidget*>(watched);
    if (key->key() == Qt::Key_Alt && widget != nullptr && widget->window() == window()) {
      appKeyTip_->move(appMenu_->width() - appKeyTip_->width() - 1, appMenu_->height() - appKeyTip_->height() - 1);
      appKeyTip_->setVisible(type == QEvent::KeyPress);
      if (type == QEvent::KeyPress) appKeyTip_->raise();
    }
  } else if (type == QEvent::WindowDeactivate && watched == window()) {
    appKeyTip_->hide();
  }
  return QTabWidget::eventFilter(watched, event);
}

QMenu* Ribbon::AppMenu() const { return appMenu_->menu(); }

void Ribbon::AddTab(const QString& title, const std::vector<RibbonGroup>& groups) {
  auto* page = new QWidget(this);
  auto* row = new QHBoxLayout(page);
  row->setContentsMargins(2, 2, 2, 0);
  row->setSpacing(0);
  bool first = true;
  for (const RibbonGroup& g : groups) {
    if (!first) {
      auto* line = new QFrame(page);
      line->setFrameShape(QFrame::VLine);
      line->setFrameShadow(QFrame::Sunken);
      row->addWidget(line);
    }
    first = false;
    auto* group = new QWidget(page);
    group->setObjectName(QStringLiteral("group ") + g.caption);
    auto* column = new QVBoxLayout(group);
    column->setContentsMargins(3, 0, 3, 0);
    column->setSpacing(0);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(1);
    for (QAction* command : g.commands) buttons->addWidget(new RibbonButton(command, group));
    if (!g.stacked.empty()) {
      auto* stack = new QVBoxLayout;
      stack->setSpacing(1);
      for (QAction* command : g.stacked) stack->addWidget(new RibbonButton(command, group, true));
      buttons->addLayout(stack);
    }
    buttons->addStretch(1);
    column->addLayout(buttons, 1);
    // An enabled label: captions are read, not greyed.
    auto* label = new QLabel(g.caption, group);
    label->setObjectName(QStringLiteral("caption ") + g.caption);
    label->setAlignment(Qt::AlignHCenter);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);  // a group left empty by hidden commands needs no more width than its caption's words
    column->addWidget(label);
    row->addWidget(group);
  }
  row->addStretch(1);
  addTab(page, title);
}

void Ribbon::ReserveCaption(QAction* command, const QString& caption) {
  for (RibbonButton* b : Buttons())
    if (b->Command() == command) b->ReserveCaption(caption);
}

std::vector<RibbonButton*> Ribbon::Buttons() const {
  std::vector<RibbonButton*> out;
  for (int i = 0; i < count(); ++i)
    for (RibbonButton* b : widget(i)->findChildren<RibbonButton*>()) out.push_back(b);
  return out;
}

bool Ribbon::RunMnemonic(QChar letter) {
  letter = letter.toUpper();
  std::vector<int> order{currentIndex()};
  for (int i = 0; i < count(); ++i)
    if (i != currentIndex()) order.push_back(i);
  for (int i : order) {
    for (RibbonButton* b : widget(i)->findChildren<RibbonButton*>()) {
      if (b->Mnemonic() != letter || !b->Command()->isVisible()) continue;
      // The tab on show keeps its letters while their commands are disabled:
      // the key never runs another tab's command instead.
      if (!b->Command()->isEnabled()) {
        if (i == currentIndex()) return false;
        continue;
      }
      setCurrentIndex(i);
      b->setFocus(Qt::ShortcutFocusReason);
      b->Command()->trigger();
      return true;
    }
  }
  return false;
}

void Ribbon::InstallKeys(QWidget* window) {
  std::set<char16_t> letters;
  for (RibbonButton* b : Buttons())
    if (!b->Mnemonic().isNull()) letters.insert(b->Mnemonic().unicode());
  for (char16_t letter : letters) {
    auto* key = new QShortcut(QKeySequence(QStringLiteral("Alt+") + QChar(letter)), window);
    key->setContext(Qt::WindowShortcut);
    connect(key, &QShortcut::activated, this, [this, letter] { RunMnemonic(QChar(letter)); });
  }
  auto* appKey = new QShortcut(QKeySequence(QStringLiteral("Alt+F")), window);
  appKey->setContext(Qt::WindowShortcut);
  connect(appKey, &QShortcut::activated, this,
          [this] { AppMenu()->popup(appMenu_->mapToGlobal(QPoint(0, appMenu_->height()))); });
}

}  // namespace vorlo
