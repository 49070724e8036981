#include "gui/message_box_port.h"

#include <QMessageBox>
#include <QPushButton>

#include "app/review_texts.h"
#include "gui/display_text.h"
#include "gui/help.h"

namespace vorlo {

MsgButton MessageBoxPort::Ask(const Message& m) {
  QMessageBox box(parent_);
  box.setWindowTitle(QStringLiteral("Vorlo"));
  box.setText(DisplayText(m.text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
  switch (m.kind) {
    case MsgKind::Question:
    case MsgKind::Confirmation: box.setIcon(QMessageBox::Question); break;
    case MsgKind::Error: box.setIcon(QMessageBox::Critical); break;
    case MsgKind::Information: box.setIcon(QMessageBox::Information); break;
    case MsgKind::Plain: box.setIcon(QMessageBox::NoIcon); break;
  }
  QPushButton* yes = nullptr;
  QPushButton* review = nullptr;
  for (MsgButton b : m.buttons) {
    switch (b) {
      case MsgButton::Ok: box.addButton(QMessageBox::Ok); break;
      case MsgButton::Yes: yes = box.addButton(QMessageBox::Yes); break;
      case MsgButton::No: box.addButton(QMessageBox::No); break;
      case MsgButton::Review:
        review = box.addButton(DisplayText(texts::kReviewButton), QMessageBox::ActionRole);
        review->setObjectName(QStringLiteral("review"));
        break;
      case MsgButton::Help: {
        // Help opens the topic and leaves the box open.
        QPushButton* help = box.addButton(QMessageBox::Help);
        help->disconnect();
        const int context = m.helpContext;
        QObject::connect(help, &QPushButton::clicked, &box, [context, &box] { ShowHelpTopic(context, &box); });
        break;
      }
    }
  }
  box.exec();
  if (box.clickedButton() == yes && yes != nullptr) return MsgButton::Yes;
  if (box.clickedButton() == review && review != nullptr) return MsgButton::Review;
  if (box.standardButton(box.clickedButton()) == QMessageBox::No) return MsgButton::No;
  return yes != nullptr ? MsgButton::No : MsgButton::Ok;
}

}  // namespace vorlo
