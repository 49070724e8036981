// Vorlo: starts the main window with the junk list loaded from the data
// folder, or the default table at the first start.
#include <QApplication>
#include <QMessageBox>

#include "app/junk_list.h"
#include "app/system_services.h"
#include "app/window/junk_list_model.h"
#include "app/window/main_window.h"
#include "core/data_files.h"
#include "core/default_types.h"
#include "platform/file_ops.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vorlo"));

  vorlo::SystemServices services;
  const std::string& dataFolder = services.DataFolder();
  if (const int err = vorlo::CreateFolderTree(dataFolder); err != 0)
    QMessageBox::critical(nullptr, QStringLiteral("Vorlo"),
                          QStringLiteral("Cannot create the data folder %1: %2")
                              .arg(vorlo::DisplayText(dataFolder), vorlo::DisplayText(vorlo::ErrorText(err))));

  vorlo::StartupList stored = vorlo::LoadStartupList(dataFolder, [&](std::vector<vorlo::TJunkFileObj>& types) {
    vorlo::AddAllDefaults(types, services.Bins().RecycleBinProblem(), vorlo::SystemDefaultFolders());
  });
  vorlo::JunkList list;
  for (vorlo::TJunkFileObj& t : stored.types) list.Append(std::move(t));
  vorlo::JunkListModel model(list);
  vorlo::TMainForm window(model);
  window.show();
  if (stored.error) QMessageBox::critical(&window, QStringLiteral("Vorlo"), vorlo::DisplayText(*stored.error));
  return QApplication::exec();
}
