// Vorlo: starts the main window with the junk list loaded from the data
// folder, or the default table at the first start.
#include <QApplication>
#include <QMessageBox>

#include "app/window/junk_list_model.h"
#include "app/window/main_window.h"
#include "core/data_files.h"
#include "core/default_types.h"
#include "platform/environment.h"
#include "platform/file_ops.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vorlo"));

  const std::string dataFolder = vorlo::DataFolder();
  if (const int err = vorlo::CreateFolderTree(dataFolder); err != 0)
    QMessageBox::critical(nullptr, QStringLiteral("Vorlo"),
                          QStringLiteral("Cannot create the data folder %1: %2")
                              .arg(vorlo::DisplayText(dataFolder), vorlo::DisplayText(vorlo::ErrorText(err))));

  vorlo::StartupList list = vorlo::LoadStartupList(dataFolder, [](std::vector<vorlo::TJunkFileObj>& types) {
    vorlo::AddAllDefaults(types, false, vorlo::SystemDefaultFolders());
  });
  vorlo::JunkListModel model;
  model.SetTypes(std::move(list.types));
  vorlo::TMainForm window(model);
  window.show();
  if (list.error) QMessageBox::critical(&window, QStringLiteral("Vorlo"), vorlo::DisplayText(*list.error));
  return QApplication::exec();
}
