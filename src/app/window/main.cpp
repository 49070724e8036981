// Vorlo: the main window over the junk list of the user's data folder.
#include <QApplication>

#include "app/junk_list.h"
#include "app/system_services.h"
#include "app/window/close_on_signal.h"
#include "app/window/main_window.h"
#include "dialogs/program_icon.h"
#include "platform/file_ops.h"
#include "platform/locale_info.h"
#include "platform/priority.h"

int main(int argc, char** argv) {
  vorlo::SetOwnPriority(vorlo::PriorityClass::AboveNormal);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vorlo"));
  QApplication::setWindowIcon(vorlo::ProgramIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral("vorlo"));

  vorlo::SystemServices services;
  vorlo::CreateFolderTree(services.DataFolder());
  vorlo::JunkList list;
  vorlo::TMainForm window(
      list, vorlo::WindowServices{
                .bins = services.Bins(),
                .files = {services.DataFolder()},
                .defaultFolders = vorlo::SystemDefaultFolders(),
                .description =
                    [&services] {
                      return vorlo::DescriptionContext{services.Drives().NameForAll(), vorlo::UserDateSeparator()};
                    },
                .runSetup =
                    [&services](vorlo::UserPort& port, vorlo::JunkList& l, vorlo::MainThreadExecutor& mainThread) {
                      return services.MakeRunSetup(port, l, mainThread);
                    },
                .wizard = nullptr,
            });
  vorlo::CloseOnSignal closeOnSignal(window);
  window.FormCreate();
  window.show();
  return QApplication::exec();
}
