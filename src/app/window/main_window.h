// The main window: for now the junk list with names and check boxes.
#pragma once

#include <QMainWindow>

namespace vorlo {

class JunkListModel;

class TMainForm final : public QMainWindow {
  Q_OBJECT

 public:
  explicit TMainForm(JunkListModel& model, QWidget* parent = nullptr);
};

}  // namespace vorlo
