// Vorlo: the main window over the junk list of the user's data folder.
#include <QApplication>

#include "app/junk_list.h"
#include "app/system_services.h"
#include "window/main_window.h"
#include "gui/placement.h"
#include "gui/program_icon.h"
#include "editor/type_wizard.h"
#include "platform/end_signals.h"
#include "platform/environment.h"
#include "platform/file_ops.h"
#include "platform/priority.h"

int main(int argc, char** argv) {
  vorlo::EndSignals::Hold();
  vorlo::SetOwnPriority(vorlo::PriorityClass::AboveNormal);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Vorlo"));
  QApplication::setWindowIcon(vorlo::ProgramIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral("vorlo"));

  vorlo::SystemServices services;
  const int folderError = vorlo::CreateFolderTree(services.Files().folder);
  vorlo::JunkList list;
  // Every window's position goes to the one settings file.
  vorlo::IniFileStore placements(services.Files().Ini());
  vorlo::TMainForm window(
      list, vorlo::WindowServices{
                .bins = services.Bins(),
                .files = services.Files(),
                .placements = placements,
                .defaultFolders = vorlo::SystemDefaultFolders(),
                .description = [&services] { return services.Description(); },
                .runSetup =
                    [&services](vorlo::UserPort& port, vorlo::JunkList& l, vorlo::MainThreadExecutor& mainThread) {
                      return services.MakeRunSetup(port, l, mainThread);
                    },
                .wizard =
                    [&services, &placements](QWidget* parent, const vorlo::TJunkFileObj& tj,
                                              bool recycleProb) -> std::optional<vorlo::TJunkFileObj> {
                      vorlo::TTypeWiz wizard(
                          vorlo::WizardSetup{
                              .drives = services.Drives(),
                              .placements = placements,
                              .files = services.Files(),
                              .clock = services.SystemTime(),
                              .description = services.Description(),
                              .separators = vorlo::UserNumberSeparators(),
                              .programFolder = vorlo::ProgramFolder(),
                              .skipFolders = services.SkipFolders(),
                              .runActive =
                                  [main = qobject_cast<vorlo::TMainForm*>(parent)] {
                                    return main && main->Runs().VeryBusy() == vorlo::RunState::Running;
                                  },
                          },
                          parent);
                      wizard.SetFromObj(tj, recycleProb);
                      if (wizard.exec() != QDialog::Accepted) return std::nullopt;
                      return wizard.GetFromObj();
                    },
                .dialogs = nullptr,
                .openFile = {},
                .separators = vorlo::UserNumberSeparators(),
            });
  if (!window.ClaimDataFolder()) return 1;
  // The session ending the program closes the window the normal way
  // (placement saved, recovery file promoted), on the window's thread.
  vorlo::EndSignals endSignals([&window](int) {
    QMetaObject::invokeMethod(&window, [&window] { window.close(); }, Qt::QueuedConnection);
  });
  if (!window.FormCreate()) return 1;
  window.show();
  // The program still runs without its data folder, but keeps nothing.
  if (folderError != 0)
    window.Ask({vorlo::MsgKind::Error,
                "Cannot create " + services.Files().folder + ": " + vorlo::ErrorText(folderError),
                {vorlo::MsgButton::Ok},
                0});
  return QApplication::exec();
}
