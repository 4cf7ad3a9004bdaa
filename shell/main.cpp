// mok: the program. Builds the application object, chooses the first mesh
// and shows the main window; without a mesh it quits.
#include <QApplication>
#include <QFile>
#include <QIcon>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "core/application.h"
#include "core/changes.h"
#include "app/command_line.h"
#include "app/resource_paths.h"
#include "app/startup.h"
#include "shell/file_drops.h"
#include "shell/main_frame.h"
#include "shell/intro_window.h"
#include "render/render_state.h"
#include "shell/qt_dialog_host.h"
#include "app/klink.h"
#include "shell/klink_transport.h"
#include "shell/script_driver.h"
#include "shell/qt_prompter.h"
#include "shell/qt_settings.h"
#include "shell/refresh_bus.h"
#include "app/map_lists.h"
#include "render/render_state.h"

namespace {

std::vector<std::string> ArgumentsOf(int argc, char** argv) { return {argv + std::min(argc, 1), argv + argc}; }

// --help and --version answer before any window system is needed; false
// when the program should go on.
bool AnswersAtOnce(const mok::ProgramArguments& parsed) {
  if (parsed.action == mok::ProgramAction::ShowHelp) std::fputs(mok::ProgramUsage().c_str(), stdout);
  if (parsed.action == mok::ProgramAction::ShowVersion) std::fputs(mok::VersionText("mok").c_str(), stdout);
  return parsed.action == mok::ProgramAction::ShowHelp || parsed.action == mok::ProgramAction::ShowVersion;
}

// The icon of the windows: the installed theme's, or in the build tree the
// PNGs of resources/icons.
QIcon ProgramIcon(const std::string& resourceDir) {
  QIcon icon = QIcon::fromTheme("mok");
  if (!icon.isNull() || resourceDir.empty()) return icon;
  for (int size : {16, 32, 48, 64, 128, 256})
    icon.addFile(QString::fromStdString(resourceDir + "/icons/mok-" + std::to_string(size) + ".png"));
  return icon;
}

// The 3D view sends and takes the camera through the link, the menus reach
// it, the watcher answers requests, and a watch change retitles the window.
void ConnectKLink(mok::KLink& link, mok::shell::QtLinkTransport& transport, mok::shell::MainFrame& window) {
  mok::shell::IsoViewWidget& isoBox = window.shell().isoBox();
  link.AttachView(&isoBox.view());
  isoBox.setCameraLink(&link);
  window.commandTable().context().klink = &link;
  link.showTitle = [&window](const std::string& title) { window.setWindowTitle(QString::fromStdString(title)); };
  transport.receive = [&link](std::span<const std::uint8_t> section) { return link.Receive(section); };
  transport.report = [&link](const mok::KLinkReceipt& receipt) { link.Report(receipt); };
}

}  // namespace

int main(int argc, char** argv) {
  if (AnswersAtOnce(mok::ParseProgramArguments(ArgumentsOf(argc, argv)))) return 0;
  QApplication qtApp(argc, argv);  // takes Qt's own options out of argv
  mok::ProgramArguments parsed = mok::ParseProgramArguments(ArgumentsOf(argc, argv));
  if (parsed.action == mok::ProgramAction::Refuse) {
    std::fputs(mok::RefusalText("mok", parsed.error).c_str(), stderr);
    return 2;
  }
  QApplication::setOrganizationName("Korvane");
  QApplication::setApplicationName("MOK");
  QGuiApplication::setDesktopFileName("mok");

  mok::shell::QtSettingsStore settings;
  mok::shell::QtPrompter qtPrompter;
  mok::shell::LinePrompter linePrompter;
  const bool scripted = mok::shell::ScriptRequested();
  mok::Prompter& prompter = scripted ? static_cast<mok::Prompter&>(linePrompter) : qtPrompter;
  mok::shell::QtDialogHost dialogs(prompter);
  mok::shell::RefreshBus refresh;
  mok::Application app(settings, prompter, dialogs, refresh);
  app.resourceDir = mok::FindResourceDir(QFile::encodeName(QCoreApplication::applicationFilePath()).toStdString());
  QApplication::setWindowIcon(ProgramIcon(app.resourceDir));
  app.ReadStartupSettings();

  mok::shell::MainFrame window(app);
  mok::shell::AcceptFileDrops(app, window);
  qtPrompter.setParent(&window);
  dialogs.setParent(&window);
  QObject::connect(&refresh, &mok::shell::RefreshBus::listsStale, &window, &mok::shell::MainFrame::FillSideLists);
  QObject::connect(&refresh, &mok::shell::RefreshBus::refreshRequested, &window, &mok::shell::MainFrame::HandleRefresh);

  bool ctrlHeld = QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
  // A scripted run (the two-copy tests) has no one to watch the intro.
  if (!scripted) mok::shell::ShowIntro(mok::RenderStateOf(app).raster, settings, ctrlHeld);
  if (!mok::LoadFirstMesh(app, {parsed.files, ctrlHeld})) return 0;
  mok::ScanStartupMapFolders(app);
  window.show();
  mok::Notify(app, mok::Change::Mesh);

  mok::shell::QtLinkTransport linkTransport;
  mok::KLink link(app, linkTransport);
  ConnectKLink(link, linkTransport, window);
  std::unique_ptr<mok::shell::ScriptDriver> script;
  if (scripted) script = std::make_unique<mok::shell::ScriptDriver>(app, link, window, window.shell().isoBox());
  return qtApp.exec();
}
