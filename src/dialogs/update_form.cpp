#include "dialogs/update_form.h"
#include "gui/dialog_parts.h"

#include <QDesktopServices>
#include <QDir>
#include <QEventLoop>
#include <QMessageBox>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPushButton>
#include <QSaveFile>
#include <QStandardPaths>
#include <QUrl>
#include <memory>

namespace vorlo {
namespace {

const char* const DownloadError = "Error while downloading ";
const char* const DownloadDone = "Download succesful!";
// A stalled transfer ends after this long without data.
constexpr int StallTimeoutMs = 30000;

void PlainMessage(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Vorlo"), text, QMessageBox::Ok, parent);
  box.exec();
}

void OpenWithDesktop(const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); }

}  // namespace

bool DownloadFile(const QString& SourceFile, const QString& DestFile) {
  const QUrl url(SourceFile);
  if (!url.isValid()) return false;
  QSaveFile file(DestFile);
  if (!file.open(QIODevice::WriteOnly)) return false;

  QNetworkAccessManager manager;
  QNetworkRequest request(url);
  request.setTransferTimeout(StallTimeoutMs);
  const std::unique_ptr<QNetworkReply> reply(manager.get(request));
  bool writeFailed = false;
  const auto drain = [&] {
    const QByteArray data = reply->readAll();
    if (!writeFailed && !data.isEmpty() && file.write(data) != data.size()) {
      writeFailed = true;
      reply->abort();
    }
  };
  QEventLoop loop;
  QObject::connect(reply.get(), &QNetworkReply::readyRead, &loop, drain);
  QObject::connect(reply.get(), &QNetworkReply::finished, &loop, &QEventLoop::quit);
  // The window stays painted but takes no input until the download ends.
  if (!reply->isFinished()) loop.exec(QEventLoop::ExcludeUserInputEvents);
  drain();

  if (writeFailed || reply->error() != QNetworkReply::NoError) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

QString DefaultDownloadPath() {
  QString folder = QStandardPaths::writableLocation(QStandardPaths::DownloadLocation);
  if (folder.isEmpty() || !QDir(folder).exists()) folder = QDir::tempPath();
  return QDir(folder).filePath(QString::fromLatin1(UpdateFileName));
}

TFormUpdate::TFormUpdate(QWidget* parent, UpdateServices services) : QDialog(parent), services_(std::move(services)) {
  if (!services_.showMessage) services_.showMessage = PlainMessage;
  if (!services_.openFile) services_.openFile = OpenWithDesktop;
  setObjectName(QStringLiteral("FormUpdate"));
  setWindowTitle(QStringLiteral("FormUpdate"));
  SetWindowFont(*this, "Segoe UI", 12);
  resize(624, 441);
  setSizeGripEnabled(true);

  Button1 = new QPushButton(QStringLiteral("Button1"), this);
  Button1->setObjectName(QStringLiteral("Button1"));
  Button1->setGeometry(493, 242, 75, 25);
  Button1->setAutoDefault(false);
  connect(Button1, &QPushButton::clicked, this, &TFormUpdate::Button1Click);
}

void TFormUpdate::Button1Click() {
  Button1->setEnabled(false);
  const bool ok = DownloadFile(services_.address, services_.destination);
  Button1->setEnabled(true);
  if (!ok) {
    services_.showMessage(this, QString::fromLatin1(DownloadError) + services_.address);
    return;
  }
  services_.showMessage(this, QString::fromLatin1(DownloadDone));
  services_.openFile(services_.destination);
}

}  // namespace vorlo
