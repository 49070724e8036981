#include "dialogs/about_form.h"

#include "gui/dialog_parts.h"

#include <QDate>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <QFont>
#include <QLabel>
#include <QLocale>
#include <QPalette>
#include <QPushButton>
#include <QTime>

#include "gui/program_icon.h"

namespace vorlo {
namespace {

constexpr int ColumnX = 88;
constexpr int PictureWidth = 104;
const char* const MakerLines[] = {
    "Vorlo developers",
    "A junk-file cleaner for the Linux desktop",
    "Feedback and updates: see the web site below",
};
// The program uses no crash-reporting or memory-manager library; these
// lines credit the libraries it is built on instead.
const char* const QtCredit = "Window toolkit: Qt 6 (qt.io)";
const char* const QtAddress = "https://www.qt.io/";
const char* const TestCredit = "Built on the C++ standard library, tested with GoogleTest";
const char* const TestAddress = "https://github.com/google/googletest";
const char* const SiteAddress = "https://vorlo.invalid/";
const char* const SiteText = "vorlo.invalid";


// The locale's long time format names the time zone; the line adds " UTC"
// itself, so the zone letters are dropped (quoted text stays).
QString WithoutTimeZone(const QString& format) {
  QString out;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == QLatin1Char('\'')) quoted = !quoted;
    if (!quoted && c == QLatin1Char('t')) continue;
    out += c;
  }
  return out.trimmed();
}

QLabel* LinkLabel(QWidget* parent, const QString& text, const QString& address, const QFont& font) {
  auto* label = new QLabel(parent);
  label->setFont(font);
  label->setTextFormat(Qt::RichText);
  label->setText(QStringLiteral("<a href=\"%1\">%2</a>").arg(address, text.toHtmlEscaped()));
  label->setTextInteractionFlags(Qt::TextBrowserInteraction);
  label->setOpenExternalLinks(true);  // a failure to open is not reported
  label->setCursor(Qt::PointingHandCursor);
  return label;
}

// A picture that opens an address when clicked.
class PictureLink final : public QLabel {
 public:
  PictureLink(QWidget* parent, QString address) : QLabel(parent), address_(std::move(address)) {
    setCursor(Qt::PointingHandCursor);
  }

 protected:
  void mouseReleaseEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
      QDesktopServices::openUrl(QUrl(address_));
  }

 private:
  QString address_;
};

// The support picture: a heart on a rounded card with a short caption.
QPixmap SupportPicture(QSize size, const QFont& font) {
  QPixmap picture(size);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0x2b, 0x57, 0x9a), 1));
  p.setBrush(QColor(0xe8, 0xf0, 0xfb));
  p.drawRoundedRect(QRectF(picture.rect()).adjusted(0.5, 0.5, -0.5, -0.5), 8, 8);
  const double cx = size.width() / 2.0;
  const double top = 6;
  const double h = size.height() * 0.42;
  QPainterPath heart;
  heart.moveTo(cx, top + h);
  heart.cubicTo(cx - h * 1.1, top + h * 0.45, cx - h * 0.55, top - h * 0.25, cx, top + h * 0.25);
  heart.cubicTo(cx + h * 0.55, top - h * 0.25, cx + h * 1.1, top + h * 0.45, cx, top + h);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xd2, 0x3c, 0x4b));
  p.drawPath(heart);
  p.setPen(QColor(0x2b, 0x57, 0x9a));
  p.setFont(font);
  p.drawText(QRect(0, static_cast<int>(top + h) + 2, size.width(), size.height() - static_cast<int>(top + h) - 4),
             Qt::AlignCenter, QStringLiteral("Support Vorlo"));
  return picture;
}

}  // namespace

QString BuildLineText(int64_t buildTime) {
  const QLocale locale;
  const QString timeFormat = WithoutTimeZone(locale.timeFormat(QLocale::LongFormat));
  const std::string line = BuildLine(
      buildTime,
      [&](const CivilTime& t) {
        return locale.toString(QDate(t.year, t.month, t.day), QLocale::ShortFormat).toStdString();
      },
      [&](const CivilTime& t) {
        return locale.toString(QTime(t.hour, t.minute, t.second), timeFormat).toStdString();
      });
  return QString::fromStdString(line);
}

TAboutForm::TAboutForm(QWidget* parent, const BuildInfo& info) : QDialog(parent) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QString::fromUtf8(AppTitle.data(), static_cast<int>(AppTitle.size())));
  setFont(PixelFont("Tahoma", 16));
  setFixedSize(538, 320);

  img1 = new QLabel(this);
  img1->setObjectName(QStringLiteral("img1"));
  img1->setGeometry(24, 16, 33, 49);
  img1->setAlignment(Qt::AlignCenter);
  img1->setPixmap(ProgramIconPixmap(32));

  lblVersion = new QLabel(this);
  lblVersion->setObjectName(QStringLiteral("lblVersion"));
  lblVersion->setFont(PixelFont("Tahoma", 21));
  lblVersion->setText(QString::fromStdString(VersionLine(AppTitle, info.VerStr, info.PreRel)));
  if (info.PreRel) {
    QPalette palette = lblVersion->palette();
    palette.setColor(QPalette::WindowText, Qt::red);
    lblVersion->setPalette(palette);
  }
  lblVersion->setGeometry(ColumnX, 16, width() - ColumnX - 16, 28);

  lbldate = new QLabel(BuildLineText(info.buildTime), this);
  lbldate->setObjectName(QStringLiteral("lbldate"));
  lbldate->setFont(PixelFont("Arial", 16));
  lbldate->setGeometry(ColumnX, 52, width() - ColumnX - 16, 22);

  // The support picture at the right, between the credits and the OK button.
  const QRect pictureRect(width() - 16 - PictureWidth, 222, PictureWidth, 52);
  Image1 = new PictureLink(this, QString::fromUtf8(SiteAddress));
  Image1->setObjectName(QStringLiteral("Image1"));
  Image1->setGeometry(pictureRect);
  Image1->setPixmap(SupportPicture(pictureRect.size(), PixelFont("Tahoma", 12)));

  int y = 92;
  for (const char* text : MakerLines) {
    auto* line = new QLabel(QString::fromUtf8(text), this);
    line->setGeometry(ColumnX, y, width() - ColumnX - 16, 22);
    y += 24;
  }

  const QFont creditFont = PixelFont("Tahoma", 13, true);
  Label2 = LinkLabel(this, QString::fromUtf8(QtCredit), QString::fromUtf8(QtAddress), creditFont);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setGeometry(ColumnX, 176, width() - ColumnX - 16, 18);
  Label3 = LinkLabel(this, QString::fromUtf8(TestCredit), QString::fromUtf8(TestAddress), creditFont);
  Label3->setObjectName(QStringLiteral("Label3"));
  Label3->setGeometry(ColumnX, 198, width() - ColumnX - 16, 18);

  LinkLabel2 = LinkLabel(this, QString::fromUtf8(SiteText), QString::fromUtf8(SiteAddress), font());
  LinkLabel2->setObjectName(QStringLiteral("LinkLabel2"));
  LinkLabel2->setGeometry(16, 282, 180, 22);

  btnAboutOK = new QPushButton(QStringLiteral("&OK"), this);
  btnAboutOK->setObjectName(QStringLiteral("btnAboutOK"));
  btnAboutOK->setGeometry((width() - 80) / 2, 280, 80, 25);
  btnAboutOK->setDefault(true);
  // Escape closes a QDialog by itself, so the button is also the cancel button.
  connect(btnAboutOK, &QPushButton::clicked, this, &QDialog::accept);
}

}  // namespace vorlo
