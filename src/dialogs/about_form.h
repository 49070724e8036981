// The about box: the program's name with its version (red for a
// pre-release), when it was built, the makers' details, two credit lines
// and a link to the web site.
#pragma once

#include <QDialog>
#include <QString>

#include "core/version_info.h"

class QLabel;
class QPushButton;

namespace vorlo {

// The build line in the user's short date and long time format.
QString BuildLineText(int64_t buildTime);

class TAboutForm final : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutForm(QWidget* parent = nullptr, const BuildInfo& info = CompiledBuildInfo());

 private:
  QLabel* img1 = nullptr;
  QLabel* lblVersion = nullptr;
  QLabel* lbldate = nullptr;
  QLabel* Label2 = nullptr;  // credit: Qt
  QLabel* Label3 = nullptr;  // credit: the C++ standard library and GoogleTest
  QLabel* LinkLabel2 = nullptr;
  QLabel* Image1 = nullptr;  // the support picture; a click opens the web site
  QPushButton* btnAboutOK = nullptr;
};

}  // namespace vorlo
