// mok: the program. Builds the application object, chooses the first mesh
// and shows the main window; without a mesh it quits.
#include <QApplication>
#include <QGuiApplication>

#include "core/application.h"
#include "app/command_line.h"
#include "app/startup.h"
#include "app/klink.h"
#include "shell/klink_transport.h"
#include "shell/main_window.h"
#include "shell/script_driver.h"
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

// The 3D view sends and takes the camera through the link, the watcher
// answers requests, and a watch change retitles the window.
void ConnectKLink(mok::KLink& link, mok::shell::QtLinkTransport& transport, mok::shell::MainWindow& window) {
  link.AttachView(&window.isoView().view());
  window.isoView().setCameraLink(&link);
  link.showTitle = [&window](const std::string& title) { window.setWindowTitle(QString::fromStdString(title)); };
  transport.receive = [&link](std::span<const std::uint8_t> section) { return link.Receive(section); };
  transport.report = [&link](const mok::KLinkReceipt& receipt) { link.Report(receipt); };
}

}  // namespace

int main(int argc, char** argv) {
  QApplication qtApp(argc, argv);
  QApplication::setOrganizationName("Korvane");
  QApplication::setApplicationName("MOK");

  mok::shell::QtSettingsStore settings;
  mok::shell::QtPrompter qtPrompter;
  mok::shell::LinePrompter linePrompter;
  const bool scripted = mok::shell::ScriptRequested();
  mok::Prompter& prompter = scripted ? static_cast<mok::Prompter&>(linePrompter) : qtPrompter;
  mok::shell::RefreshBus refresh;
  mok::Application app(settings, prompter, refresh);
  app.ReadStartupSettings();

  mok::shell::MainWindow window(app);
  qtPrompter.setParent(&window);
  QObject::connect(&refresh, &mok::shell::RefreshBus::listsStale, &window, &mok::shell::MainWindow::refillLists);
  QObject::connect(&refresh, &mok::shell::RefreshBus::refreshRequested, &window, &mok::shell::MainWindow::refresh);

  bool ctrlHeld = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
  if (!mok::LoadFirstMesh(app, {CommandLineOf(QApplication::arguments()), ctrlHeld})) return 0;
  mok::ScanStartupMapFolders(app);
  window.refillLists();
  window.show();

  mok::shell::QtLinkTransport linkTransport;
  mok::KLink link(app, linkTransport);
  ConnectKLink(link, linkTransport, window);
  std::unique_ptr<mok::shell::ScriptDriver> script;
  if (scripted) script = std::make_unique<mok::shell::ScriptDriver>(app, link, window, window.isoView());
  return qtApp.exec();
}
