#include "editor/restriction_panel.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QRadioButton>
#include <functional>

#include "editor/comparison_diagram.h"

namespace vorlo {
namespace {

using enum CleanupMethod;

constexpr double kToday = 45000;  // 15 March 2023
const QDate kTodayDate(2023, 3, 15);

class RestrictPanelTest : public ::testing::Test {
 protected:
  TRestrictPanel panel{kToday};

  template <typename T>
  T* C(const char* name) {
    T* child = panel.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
  }
  QCheckBox* ckRstDate() { return C<QCheckBox>("ckRstDate"); }
  QRadioButton* rbDate() { return C<QRadioButton>("rbDate"); }
  QRadioButton* rbAge() { return C<QRadioButton>("rbAge"); }
  QComboBox* cbDateType() { return C<QComboBox>("cbDateType"); }
  QComboBox* cbAgeDat1() { return C<QComboBox>("cbAgeDat1"); }
  QComboBox* cbAgeDat2() { return C<QComboBox>("cbAgeDat2"); }
  QDateEdit* dpDateDat1() { return C<QDateEdit>("dpDateDat1"); }
  QDateEdit* dpDateDat2() { return C<QDateEdit>("dpDateDat2"); }
  QCheckBox* ckRstSize() { return C<QCheckBox>("ckRstSize"); }
  QComboBox* cbSizeType() { return C<QComboBox>("cbSizeType"); }
  QComboBox* cbSizeUnits() { return C<QComboBox>("cbSizeUnits"); }
  QLineEdit* ebSizeDat1() { return C<QLineEdit>("ebSizeDat1"); }
  QLineEdit* ebSizeDat2() { return C<QLineEdit>("ebSizeDat2"); }

  // Which of the date controls are enabled, in table order:
  // rbDate rbAge cbDateType cbAgeDat1 dpDateDat1 cbAgeDat2 dpDateDat2 lblDateAnd.
  std::string DateEnabled() {
    std::string out;
    for (const char* name : {"rbDate", "rbAge", "cbDateType", "cbAgeDat1", "dpDateDat1", "cbAgeDat2", "dpDateDat2",
                             "lblDateAnd"})
      out += C<QWidget>(name)->isEnabled() ? '1' : '0';
    return out;
  }
  // cbSizeType ebSizeDat1 cbSizeUnits ebSizeDat2 lblSizeAnd.
  std::string SizeEnabled() {
    std::string out;
    for (const char* name : {"cbSizeType", "ebSizeDat1", "cbSizeUnits", "ebSizeDat2", "lblSizeAnd"})
      out += C<QWidget>(name)->isEnabled() ? '1' : '0';
    return out;
  }
  bool AgeListsInFront() { return !cbAgeDat1()->isHidden() && dpDateDat1()->isHidden() && !cbAgeDat2()->isHidden() && dpDateDat2()->isHidden(); }
  bool PickersInFront() { return cbAgeDat1()->isHidden() && !dpDateDat1()->isHidden() && cbAgeDat2()->isHidden() && !dpDateDat2()->isHidden(); }
};

TEST_F(RestrictPanelTest, StartsWithOnlyTheCheckBoxesEnabled) {
  EXPECT_TRUE(ckRstDate()->isEnabled());
  EXPECT_TRUE(ckRstSize()->isEnabled());
  EXPECT_FALSE(ckRstDate()->isChecked());
  EXPECT_FALSE(ckRstSize()->isChecked());
  EXPECT_EQ(DateEnabled(), "00000000");
  EXPECT_EQ(SizeEnabled(), "00000");
  for (QComboBox* box : {cbDateType(), cbAgeDat1(), cbAgeDat2(), cbSizeType(), cbSizeUnits()})
    EXPECT_EQ(box->currentIndex(), -1) << box->objectName().toStdString();
  EXPECT_TRUE(rbDate()->isChecked());
  EXPECT_TRUE(PickersInFront());
  EXPECT_EQ(dpDateDat1()->date(), kTodayDate);
  EXPECT_EQ(dpDateDat2()->text(), QStringLiteral("03/15/2023"));
  EXPECT_TRUE(panel.OkRestrictions());
}

TEST_F(RestrictPanelTest, DateControlsEnableInAChain) {
  ckRstDate()->setChecked(true);
  EXPECT_EQ(DateEnabled(), "11111000");
  cbDateType()->setCurrentIndex(3);
  EXPECT_EQ(DateEnabled(), "11111111");

  // Switching to ages clears the comparison but keeps the second value on.
  rbAge()->click();
  EXPECT_EQ(cbDateType()->currentIndex(), -1);
  EXPECT_EQ(cbDateType()->itemText(1), QStringLiteral("older than"));
  EXPECT_EQ(DateEnabled(), "11111111");
  EXPECT_TRUE(AgeListsInFront());
  EXPECT_FALSE(panel.OkRestrictions());

  cbDateType()->setCurrentIndex(3);
  cbAgeDat2()->setCurrentIndex(4);
  cbDateType()->setCurrentIndex(0);
  EXPECT_EQ(DateEnabled(), "11111000");
  EXPECT_EQ(cbAgeDat2()->currentIndex(), -1);

  rbDate()->click();
  EXPECT_EQ(cbDateType()->itemText(2), QStringLiteral("after"));
  EXPECT_TRUE(PickersInFront());
  ckRstDate()->setChecked(false);
  EXPECT_EQ(DateEnabled(), "00000000");
}

TEST_F(RestrictPanelTest, SizeControlsEnableInAChain) {
  ckRstSize()->setChecked(true);
  EXPECT_EQ(SizeEnabled(), "11100");
  cbSizeType()->setCurrentIndex(4);
  EXPECT_EQ(SizeEnabled(), "11111");
  ebSizeDat2()->setText(QStringLiteral("9"));
  cbSizeType()->setCurrentIndex(1);
  EXPECT_EQ(SizeEnabled(), "11100");
  EXPECT_EQ(ebSizeDat2()->text(), QString());
  ckRstSize()->setChecked(false);
  EXPECT_EQ(SizeEnabled(), "00000");
}

TEST_F(RestrictPanelTest, SizeEditsTakeDigitsOnly) {
  ckRstSize()->setChecked(true);  // a disabled edit takes no keys
  for (const QChar c : QStringLiteral("1a2 b-")) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(ebSizeDat1(), &press);
  }
  EXPECT_EQ(ebSizeDat1()->text(), QStringLiteral("12"));
  QKeyEvent backspace(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier, QStringLiteral("\b"));
  QApplication::sendEvent(ebSizeDat1(), &backspace);
  EXPECT_EQ(ebSizeDat1()->text(), QStringLiteral("1"));

  ebSizeDat2()->setText(QStringLiteral("1a2b"));  // as pasted
  EXPECT_EQ(ebSizeDat2()->text(), QStringLiteral("12"));
  EXPECT_EQ(ebSizeDat2()->cursorPosition(), 2);
}

TEST_F(RestrictPanelTest, OkRestrictionsChecksCompletenessAndConsistency) {
  const auto date = [this](int type, QDate d1, QDate d2) {
    ckRstDate()->setChecked(true);
    cbDateType()->setCurrentIndex(type);
    dpDateDat1()->setDate(d1);
    dpDateDat2()->setDate(d2);
  };
  const auto age = [this](int type, int a1, int a2) {
    ckRstDate()->setChecked(true);
    rbAge()->setChecked(true);
    cbDateType()->setCurrentIndex(type);
    cbAgeDat1()->setCurrentIndex(a1);
    cbAgeDat2()->setCurrentIndex(a2);
  };
  const auto size = [this](int type, const char* s1, const char* s2, int unit) {
    ckRstSize()->setChecked(true);
    cbSizeType()->setCurrentIndex(type);
    ebSizeDat1()->setText(QString::fromLatin1(s1));
    ebSizeDat2()->setText(QString::fromLatin1(s2));
    cbSizeUnits()->setCurrentIndex(unit);
  };
  const QDate d1(2020, 1, 1), d2(2021, 6, 30);
  const struct {
    const char* what;
    std::function<void()> set;
    bool ok;
  } cases[] = {
      {"date on, no comparison", [&] { date(-1, d1, d2); }, false},
      {"date exactly", [&] { date(0, d1, d1); }, true},
      {"date between equal dates", [&] { date(3, d1, d1); }, false},
      {"date not between equal dates", [&] { date(4, d2, d2); }, false},
      {"date between", [&] { date(3, d1, d2); }, true},
      {"date between reversed", [&] { date(3, d2, d1); }, true},
      {"age, no first age", [&] { age(1, -1, -1); }, false},
      {"age older than", [&] { age(1, 2, -1); }, true},
      {"age between, no second", [&] { age(3, 2, -1); }, false},
      {"age between equal ages", [&] { age(3, 2, 2); }, false},
      {"age not between", [&] { age(4, 5, 1); }, true},
      {"size, no comparison", [&] { size(-1, "5", "", 0); }, false},
      {"size, no unit", [&] { size(0, "5", "", -1); }, false},
      {"size empty", [&] { size(1, "", "", 0); }, false},
      {"size too large", [&] { size(2, "2147483648", "", 1); }, false},
      {"size largest", [&] { size(2, "2147483647", "", 2); }, true},
      {"size between, second empty", [&] { size(3, "5", "", 0); }, false},
      {"size between 5 and 5", [&] { size(3, "5", "5", 0); }, false},
      {"size between 05 and 5", [&] { size(3, "05", "5", 0); }, true},
      {"size between, second too large", [&] { size(4, "5", "99999999999", 0); }, false},
      {"size and date both complete", [&] { size(0, "0", "", 0); date(2, d1, d1); }, true},
      {"size complete, date incomplete", [&] { size(0, "0", "", 0); date(-1, d1, d1); }, false},
  };
  for (const auto& c : cases) {
    // Every case sets all the values it uses; only the boxes need clearing.
    ckRstDate()->setChecked(false);
    ckRstSize()->setChecked(false);
    rbDate()->setChecked(true);
    c.set();
    EXPECT_EQ(panel.OkRestrictions(), c.ok) << c.what;
  }
}

TEST_F(RestrictPanelTest, EveryChangeIsReported) {
  int count = 0;
  QObject::connect(&panel, &TRestrictPanel::changed, &panel, [&] { ++count; });
  const std::function<void()> changes[] = {
      [&] { ckRstDate()->setChecked(true); },  [&] { rbAge()->setChecked(true); },
      [&] { cbDateType()->setCurrentIndex(3); }, [&] { cbAgeDat1()->setCurrentIndex(1); },
      [&] { cbAgeDat2()->setCurrentIndex(2); }, [&] { dpDateDat1()->setDate(QDate(2000, 1, 1)); },
      [&] { dpDateDat2()->setDate(QDate(2001, 1, 1)); }, [&] { ckRstSize()->setChecked(true); },
      [&] { cbSizeType()->setCurrentIndex(0); }, [&] { ebSizeDat1()->setText(QStringLiteral("7")); },
      [&] { ebSizeDat2()->setText(QStringLiteral("8")); }, [&] { cbSizeUnits()->setCurrentIndex(2); },
  };
  for (size_t i = 0; i < std::size(changes); ++i) {
    const int before = count;
    changes[i]();
    EXPECT_GT(count, before) << "change " << i;
  }
}

RestrictionValues Nothing() {
  RestrictionValues v;
  v.date.type = v.age.type = -1;
  v.date.data1 = v.date.data2 = kToday;
  v.age.data1 = v.age.data2 = -1;
  v.size.type = v.size.unit = -1;
  return v;
}

TEST(RestrictPanelStore, LoadThenStoreGivesTheRestrictionsBack) {
  const struct {
    const char* what;
    TJunkFileObj in;
    std::function<void(RestrictionValues&)> expect;
  } cases[] = {
      {"no restrictions", TJunkFileObj(), [](RestrictionValues&) {}},
      {"dates between, given reversed",
       TJunkFileObj("t", true, cuRecycle, {}, {}, {}, DateRestriction{true, 3, 45010.7, 44990.2}, {}, {}),
       [](RestrictionValues& v) {
         v.date.on = true;
         v.date.type = v.age.type = 3;
         v.date.data1 = 44990;
         v.date.data2 = 45010;
       }},
      {"one-value age keeps the unused second age",
       TJunkFileObj("t", true, cuRecycle, {}, {}, {}, {}, AgeRestriction{true, 1, 3, -1}, {}),
       [](RestrictionValues& v) {
         v.age.on = true;
         v.date.type = v.age.type = 1;
         v.age.data1 = 3;
       }},
      {"ages not between", TJunkFileObj("t", true, cuRecycle, {}, {}, {}, {}, AgeRestriction{true, 4, 6, 2}, {}),
       [](RestrictionValues& v) {
         v.age.on = true;
         v.date.type = v.age.type = 4;
         v.age.data1 = 2;
         v.age.data2 = 6;
       }},
      {"sizes between, given reversed",
       TJunkFileObj("t", true, cuRecycle, {}, {}, {}, {}, {}, SizeRestriction{{true, 3, 500, 20}, 1}),
       [](RestrictionValues& v) {
         v.size.on = true;
         v.size.type = 3;
         v.size.data1 = 20;
         v.size.data2 = 500;
         v.size.unit = 1;
       }},
  };
  for (const auto& c : cases) {
    TRestrictPanel panel(kToday);
    panel.LoadFrom(c.in);
    RestrictionValues want = Nothing();
    c.expect(want);
    EXPECT_EQ(panel.Store(), want) << c.what;
    EXPECT_TRUE(panel.OkRestrictions()) << c.what;
  }
}

TEST(RestrictPanelStore, OneValueSizeShowsItsStoredSecondSize) {
  TRestrictPanel panel(kToday);
  panel.LoadFrom(TJunkFileObj("t", true, cuRecycle, {}, {}, {}, {}, {}, SizeRestriction{{true, 2, 500, 0}, 2}));
  auto* ebSizeDat2 = panel.findChild<QLineEdit*>(QStringLiteral("ebSizeDat2"));
  EXPECT_FALSE(ebSizeDat2->isEnabled());
  EXPECT_EQ(ebSizeDat2->text(), QStringLiteral("0"));
  const RestrictionValues v = panel.Store();
  EXPECT_EQ(v.size.data1, 500);
  EXPECT_EQ(v.size.data2, 0);
  EXPECT_EQ(v.size.type, 2);
  EXPECT_EQ(v.size.unit, 2);
}

TEST(RestrictPanelStore, LeadingZerosPassAndStoreAsTheSameNumber) {
  TRestrictPanel panel(kToday);
  panel.findChild<QCheckBox*>(QStringLiteral("ckRstSize"))->setChecked(true);
  panel.findChild<QComboBox*>(QStringLiteral("cbSizeType"))->setCurrentIndex(3);
  panel.findChild<QLineEdit*>(QStringLiteral("ebSizeDat1"))->setText(QStringLiteral("05"));
  panel.findChild<QLineEdit*>(QStringLiteral("ebSizeDat2"))->setText(QStringLiteral("5"));
  panel.findChild<QComboBox*>(QStringLiteral("cbSizeUnits"))->setCurrentIndex(0);
  ASSERT_TRUE(panel.OkRestrictions());
  const RestrictionValues v = panel.Store();
  EXPECT_EQ(v.size.data1, 5);
  EXPECT_EQ(v.size.data2, 5);
}

TEST(ComparisonDiagram, PartsFollowTheItemRectangle) {
  using P = DiagramPart;
  // L 0, R 100, B 18: centre box at 48, offset 25, boxes at 13, lines at 15.
  const ComparisonDiagram between = DiagramOf(3, 0, 0, 100, 18);
  EXPECT_EQ(between.yBox, 13);
  EXPECT_EQ(between.yLine, 15);
  EXPECT_EQ(between.parts, (std::vector<P>{{P::DottedLine, 0, 23}, {P::FilledBox, 23, 0}, {P::ThickLine, 27, 73},
                                           {P::OpenBox, 73, 0}, {P::DottedLine, 77, 100}}));
  EXPECT_EQ(DiagramOf(1, 10, 18, 107, 36).parts,
            (std::vector<P>{{P::ThickLine, 10, 56}, {P::OpenBox, 56, 0}, {P::DottedLine, 60, 107}}));
  EXPECT_TRUE(DiagramOf(5, 0, 0, 100, 18).parts.empty());
  EXPECT_TRUE(DiagramOf(-1, 0, 0, 100, 18).parts.empty());
}

TEST(ComparisonDiagram, IsDrawnInRedUnderTheText) {
  QImage image(100, 18, QImage::Format_RGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    DrawComparisonItem(painter, QRect(0, 0, 100, 18), 2, QStringLiteral("after"), false, QApplication::palette());
  }
  const QRgb red = qRgb(255, 0, 0);
  EXPECT_EQ(image.pixel(50, 13), red);  // filled centre box
  EXPECT_EQ(image.pixel(80, 15), red);  // thick right half
}

}  // namespace
}  // namespace vorlo
