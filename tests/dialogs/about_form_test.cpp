#include "dialogs/about_form.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLocale>
#include <QPushButton>

namespace vorlo {
namespace {

template <class W = QLabel>
W* Part(const TAboutForm& form, const char* name) {
  W* w = form.findChild<W*>(QString::fromLatin1(name));
  EXPECT_NE(w, nullptr) << name;
  return w;
}

TEST(AboutForm, VersionLineIsRedForAPreRelease) {
  TAboutForm beta(nullptr, BuildInfo{"1.2.3.4", true, 0});
  EXPECT_EQ(Part(beta, "lblVersion")->text(), QStringLiteral("Vorlo - beta version 1.2.3.4"));
  EXPECT_EQ(Part(beta, "lblVersion")->palette().color(QPalette::WindowText), QColor(Qt::red));

  TAboutForm release(nullptr, BuildInfo{"0.0.0.0", false, 0});
  EXPECT_EQ(Part(release, "lblVersion")->text(), QStringLiteral("Vorlo - version 0.0.0.0"));
  EXPECT_EQ(Part(release, "lblVersion")->palette().color(QPalette::WindowText),
            release.palette().color(QPalette::WindowText));
}

TEST(AboutForm, Layout) {
  TAboutForm form;
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Vorlo"));
  EXPECT_EQ(form.size(), QSize(538, 320));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(Part(form, "lblVersion")->x(), 88);
  EXPECT_EQ(Part<QPushButton>(form, "btnAboutOK")->text(), QStringLiteral("&OK"));
  EXPECT_TRUE(Part<QPushButton>(form, "btnAboutOK")->isDefault());
  EXPECT_FALSE(Part(form, "img1")->pixmap().isNull());
  // The support picture: shown whole inside the box, a pointing hand over it,
  // clear of every other part.
  const QLabel* picture = Part(form, "Image1");
  EXPECT_FALSE(picture->pixmap().isNull());
  EXPECT_EQ(picture->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_TRUE(form.rect().contains(picture->geometry()));
  for (const QWidget* other : form.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    if (other != picture) {
      EXPECT_FALSE(other->geometry().intersects(picture->geometry())) << other->objectName().toStdString();
    }
  EXPECT_TRUE(Part(form, "Label2")->font().underline());
  Part<QPushButton>(form, "btnAboutOK")->click();
  EXPECT_EQ(form.result(), QDialog::Accepted);
}

TEST(AboutForm, BuildLineInTheUsersFormat) {
  const QLocale saved;
  QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
  // The locale's long time format ends in a zone name; the line says UTC once.
  // Newer locale data puts a narrow no-break space before "PM".
  const QString line = BuildLineText(0x2A425E19).replace(QChar(0x202F), QLatin1Char(' '));
  EXPECT_EQ(line.toStdString(), "Built on 6/19/92 10:22:17 PM UTC");
  EXPECT_EQ(BuildLineText(951782400), QStringLiteral("Built on 2/29/00 UTC"));
  TAboutForm form(nullptr, BuildInfo{"", false, 0});
  EXPECT_EQ(Part(form, "lbldate")->text(), QStringLiteral("Built on 1/1/70 UTC"));
  QLocale::setDefault(saved);
}

}  // namespace
}  // namespace vorlo
