#include "app/window/main_window.h"

#include <QListView>

#include "app/window/junk_list_model.h"

namespace vorlo {

TMainForm::TMainForm(JunkListModel& model, QWidget* parent) : QMainWindow(parent) {
  setWindowTitle(QStringLiteral("Vorlo"));
  auto* lvJunk = new QListView(this);
  lvJunk->setObjectName(QStringLiteral("lvJunk"));
  lvJunk->setModel(&model);
  setCentralWidget(lvJunk);
  resize(522, 480);
}

}  // namespace vorlo
