#include "dialogs/update_form.h"

#include <gtest/gtest.h>

#include <QPushButton>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>

#include "support/temp_dir.h"

namespace vorlo {
namespace {

using testing::ReadFile;
using testing::TempDir;

QString Q(const std::string& s) { return QString::fromStdString(s); }
QString FileUrl(const std::string& path) { return QUrl::fromLocalFile(Q(path)).toString(); }

// A one-answer HTTP server on the loopback address.
class LoopbackServer {
 public:
  explicit LoopbackServer(QByteArray response) : response_(std::move(response)) {
    server_.listen(QHostAddress::LocalHost);
    QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
      QTcpSocket* socket = server_.nextPendingConnection();
      QObject::connect(socket, &QTcpSocket::readyRead, socket, [this, socket] {
        request_ += socket->readAll();
        if (!request_.contains("\r\n\r\n")) return;
        socket->write(response_);
        socket->disconnectFromHost();
      });
    });
  }
  QString Url(const char* path) const {
    return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(QLatin1String(path));
  }

 private:
  QTcpServer server_;
  QByteArray response_;
  QByteArray request_;
};

QByteArray HttpResponse(const char* status, const QByteArray& body) {
  return QByteArray("HTTP/1.1 ") + status + "\r\nContent-Length: " + QByteArray::number(body.size()) +
         "\r\nConnection: close\r\n\r\n" + body;
}

TEST(UpdateDownload, ReplacesTheFileOnlyWhenTheDownloadArrived) {
  const TempDir dir;
  const std::string source = dir.Write("src/setup.bin", std::string("MZ\0\x01payload", 10));
  const std::string dest = dir.Write("rirevizoda.exe", "old");
  EXPECT_FALSE(DownloadFile(FileUrl(dir / "src/missing.bin"), Q(dest)));
  EXPECT_EQ(ReadFile(dest), "old");
  EXPECT_TRUE(DownloadFile(FileUrl(source), Q(dest)));
  EXPECT_EQ(ReadFile(dest), std::string("MZ\0\x01payload", 10));
  EXPECT_FALSE(DownloadFile(FileUrl(source), Q(dir / "no/such/folder/x.exe")));
  EXPECT_FALSE(DownloadFile(QStringLiteral("not a url"), Q(dest)));
}

TEST(UpdateDownload, OverHttpOnLoopback) {
  const TempDir dir;
  const std::string dest = dir.Write("rirevizoda.exe", "old");
  const QByteArray body(100000, 'x');
  LoopbackServer ok(HttpResponse("200 OK", body));
  EXPECT_TRUE(DownloadFile(ok.Url("/downloads/rirevizoda.exe"), Q(dest)));
  EXPECT_EQ(ReadFile(dest), body.toStdString());

  LoopbackServer missing(HttpResponse("404 Not Found", "gone"));
  EXPECT_FALSE(DownloadFile(missing.Url("/downloads/rirevizoda.exe"), Q(dest)));
  EXPECT_EQ(ReadFile(dest), body.toStdString());

  // Nothing listens there any more: connection refused.
  QString closed;
  {
    LoopbackServer gone(HttpResponse("200 OK", "x"));
    closed = gone.Url("/x");
  }
  EXPECT_FALSE(DownloadFile(closed, Q(dest)));
}

QPushButton* Button1(const TFormUpdate& form) { return form.findChild<QPushButton*>(QStringLiteral("Button1")); }

struct Recorded {
  std::vector<QString> messages;
  std::vector<QString> opened;
};

UpdateServices Services(Recorded& r, QString address, const std::string& dest) {
  UpdateServices s;
  s.address = std::move(address);
  s.destination = Q(dest);
  s.showMessage = [&r](QWidget*, const QString& text) { r.messages.push_back(text); };
  s.openFile = [&r](const QString& path) {
    EXPECT_EQ(r.messages.size(), 1u);  // only after the message was closed
    r.opened.push_back(path);
  };
  return s;
}

TEST(UpdateForm, SuccessfulDownloadIsReportedThenOpened) {
  const TempDir dir;
  const std::string source = dir.Write("setup.bin", "new setup");
  const std::string dest = dir / "rirevizoda.exe";
  Recorded r;
  TFormUpdate form(nullptr, Services(r, FileUrl(source), dest));
  EXPECT_EQ(form.windowTitle(), QStringLiteral("FormUpdate"));
  EXPECT_EQ(Button1(form)->geometry(), QRect(493, 242, 75, 25));
  form.show();
  Button1(form)->click();
  EXPECT_EQ(r.messages, std::vector<QString>{QStringLiteral("Download succesful!")});
  EXPECT_EQ(r.opened, std::vector<QString>{Q(dest)});
  EXPECT_EQ(ReadFile(dest), "new setup");
  EXPECT_TRUE(form.isVisible());
  EXPECT_TRUE(Button1(form)->isEnabled());
}

TEST(UpdateForm, FailedDownloadNamesTheAddressAndStartsNothing) {
  const TempDir dir;
  const QString address = FileUrl(dir / "missing.bin");
  Recorded r;
  TFormUpdate form(nullptr, Services(r, address, dir / "rirevizoda.exe"));
  Button1(form)->click();
  EXPECT_EQ(r.messages, std::vector<QString>{QStringLiteral("Error while downloading ") + address});
  EXPECT_TRUE(r.opened.empty());
}

}  // namespace
}  // namespace vorlo
