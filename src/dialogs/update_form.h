// The online update window: downloads the newest setup program into the
// user's download folder and opens it. The download blocks the window
// until it ends; certificates are verified as Qt does by default.
#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QPushButton;

namespace vorlo {

// Placeholder address: the ".invalid" host never resolves, so the update
// fails with its error message until a real download location exists.
inline constexpr char UpdateAddress[] = "https://vorlo.invalid/downloads/rirevizoda.exe";
inline constexpr char UpdateFileName[] = "rirevizoda.exe";

// Downloads `SourceFile` (a URL) into `DestFile`, replacing it only when the
// whole download arrived (written to a temporary file, then renamed).
// True on success; false on any error, with an existing file left as it was.
bool DownloadFile(const QString& SourceFile, const QString& DestFile);

// The user's download folder + the setup program's name; the temporary
// folder when there is no download folder.
QString DefaultDownloadPath();

struct UpdateServices {
  QString address = QString::fromLatin1(UpdateAddress);
  QString destination = DefaultDownloadPath();
  // A plain message box (no icon) by default.
  std::function<void(QWidget* parent, const QString& text)> showMessage;
  // Opens the downloaded file with its associated program by default.
  std::function<void(const QString& path)> openFile;
};

class TFormUpdate final : public QDialog {
  Q_OBJECT

 public:
  explicit TFormUpdate(QWidget* parent = nullptr, UpdateServices services = {});

  // Runs the update: download, message, then open the file on success.
  void Button1Click();

 private:
  UpdateServices services_;
  QPushButton* Button1 = nullptr;
};

}  // namespace vorlo
