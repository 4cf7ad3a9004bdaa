// mok: the program. Builds the application object, chooses the first mesh
// and shows the main window; without a mesh it quits.
#include <QApplication>
#include <QGuiApplication>

#include "core/application.h"
#include "app/command_line.h"
#include "app/startup.h"
#include "shell/main_window.h"
#include "shell/qt_dialog_host.h"
#include "shell/qt_prompter.h"
#include "shell/qt_settings.h"
#include "shell/refresh_bus.h"
#include "app/map_lists.h"

namespace {

std::string CommandLineOf(const QStringList& arguments) {
  std::vector<std::string> parts;
  for (const QString& argument : arguments) parts.push_back(argument.toStdString());
  return mok::JoinCommandLine(parts);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setOrganizationName("Korvane");
  QApplication::setApplicationName("MOK");

  mok::shell::QtSettingsStore settings;
  mok::shell::QtPrompter prompter;
  mok::shell::QtDialogHost dialogs(prompter);
  mok::shell::RefreshBus refresh;
  mok::Application app(settings, prompter, dialogs, refresh);
  app.ReadStartupSettings();

  mok::shell::MainWindow window(app);
  prompter.setParent(&window);
  dialogs.setParent(&window);
  QObject::connect(&refresh, &mok::shell::RefreshBus::listsStale, &window, &mok::shell::MainWindow::refillLists);
  QObject::connect(&refresh, &mok::shell::RefreshBus::refreshRequested, &window, &mok::shell::MainWindow::refresh);

  bool ctrlHeld = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
  if (!mok::LoadFirstMesh(app, {CommandLineOf(QApplication::arguments()), ctrlHeld})) return 0;
  mok::ScanStartupMapFolders(app);
  window.refillLists();
  window.show();
  return qtApp.exec();
}
