#pragma once
// The real main window on the sample mesh, shown at 900 x 640 with every
// refresh and list request of the bus connected, as the program starts it.

#include <QApplication>

#include <memory>
#include <string>

#include "core/application.h"
#include "core/changes.h"
#include "core/mesh_files.h"
#include "core/settings.h"
#include "shell/main_frame.h"
#include "shell/refresh_bus.h"
#include "tests/support/scripted_prompter.h"

namespace mok::shell {

class SampleWindow {
 public:
  // settingsBefore runs before the settings are read, so a test can seed them.
  template <class SeedSettings>
  explicit SampleWindow(SeedSettings settingsBefore) : app(settings, prompter, prompter, bus) {
    prompter.unscriptedAnswer = Answer::Yes;
    settingsBefore(settings);
    app.ReadStartupSettings();
    app.currentFile = std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler/Models/Sampler_d.3d";
    loaded = LoadMesh(app.doc(), app.currentFile, prompter).ok();
    frame = std::make_unique<MainFrame>(app);
    QObject::connect(&bus, &RefreshBus::listsStale, frame.get(), &MainFrame::FillSideLists);
    QObject::connect(&bus, &RefreshBus::refreshRequested, frame.get(), &MainFrame::HandleRefresh);
    frame->resize(900, 640);
    frame->show();
    Notify(app, Change::Mesh);
    QApplication::processEvents();
  }
  SampleWindow() : SampleWindow([](MemorySettings&) {}) {}

  ShellWindow& shell() { return frame->shell(); }

  MemorySettings settings;
  mok::test::ScriptedPrompter prompter;
  RefreshBus bus;
  Application app;
  std::unique_ptr<MainFrame> frame;
  bool loaded = false;
};

}  // namespace mok::shell
