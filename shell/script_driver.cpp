#include "shell/script_driver.h"

#include <QCoreApplication>
#include <QWidget>

#include <unistd.h>

#include <cstdio>
#include <sstream>

#include "core/changes.h"
#include "core/mesh_files.h"
#include "shell/iso_view_widget.h"

namespace mok::shell {
namespace {

void Say(const std::string& line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

std::string Floats(const float* values, std::size_t count) {
  std::ostringstream out;
  out.precision(9);
  for (std::size_t i = 0; i < count; ++i) out << (i ? " " : "") << values[i];
  return out.str();
}

}  // namespace

bool ScriptRequested() { return qEnvironmentVariable("MOK_TEST_SCRIPT") == "stdin"; }

void LinePrompter::Message(const std::string& text, MessageIcon) { Say("message: " + text); }

Answer LinePrompter::Ask(const std::string& text, Buttons buttons, MessageIcon) {
  Say("question: " + text);
  return buttons == Buttons::Ok || buttons == Buttons::OkCancel ? Answer::Ok : Answer::Yes;
}

ScriptDriver::ScriptDriver(Application& app, KLink& link, QWidget& window, IsoViewWidget& isoView)
    : app_(app), link_(link), window_(window), isoView_(isoView), notifier_(STDIN_FILENO, QSocketNotifier::Read) {
  connect(&notifier_, &QSocketNotifier::activated, this, &ScriptDriver::ReadInput);
  Say("ready");
}

void ScriptDriver::ReadInput() {
  char buffer[4096];
  const ssize_t count = ::read(STDIN_FILENO, buffer, sizeof buffer);
  if (count <= 0) {  // the test went away
    notifier_.setEnabled(false);
    QCoreApplication::exit(0);
    return;
  }
  pending_.append(buffer, static_cast<std::size_t>(count));
  for (std::size_t end; (end = pending_.find('\n')) != std::string::npos;) {
    const std::string line = pending_.substr(0, end);
    pending_.erase(0, end + 1);
    Run(line);
  }
}

void ScriptDriver::Run(const std::string& line) {
  std::istringstream in(line);
  std::string command;
  in >> command;
  MeshDocument& doc = app_.doc();
  if (command == "watch") link_.ToggleWatch();
  if (command == "transfer") link_.TransferMapping();
  if (command == "sync") link_.ToggleSyncCameras();
  if (command == "select") {
    for (int i = 0; i < doc.triangleCount; ++i) doc.triangles[i].state &= ~kFaceSelected;
    for (int face; in >> face;)
      if (face >= 0 && face < doc.triangleCount) doc.triangles[face].state |= kFaceSelected;
    Notify(app_, Change::Selection);
  }
  if (command == "drag") {
    int dx = 0, dy = 0;
    in >> dx >> dy;
    Drag(dx, dy);
  }
  if (command == "camera?") Say("camera " + Floats(GetCameraState(isoView_.view().camera()).values.data(), 13));
  if (command == "uv?") {
    int face = -1;
    in >> face;
    if (face >= 0 && face < doc.triangleCount) {
      const UvPair* uv = doc.triangles[face].uv;
      const float values[] = {uv[0].u, uv[0].v, uv[1].u, uv[1].v, uv[2].u, uv[2].v};
      Say("uv " + Floats(values, 6));
    }
  }
  if (command == "title?") Say("title " + window_.windowTitle().toStdString());
  if (command == "flags?") Say("flags " + std::to_string(app_.flags.watching) + " " + std::to_string(app_.flags.syncCameras));
  if (command == "save") {
    std::string name;
    in >> name;
    Result<MeshFileReport> saved = SaveMesh(doc, name);
    if (!saved) Say("message: " + saved.error().message);
  }
  Say("done " + command);
  if (command == "quit") QCoreApplication::exit(0);
}

// Camera mode on for the drag, as Space would, and back afterwards.
void ScriptDriver::Drag(int dx, int dy) {
  const int cameraWas = app_.flags.cameraActive;
  app_.flags.cameraActive = 1;
  IsoView& view = isoView_.view();
  const int x = view.clientWidth() / 2, y = view.clientHeight() / 2;
  view.HandleEvent(MouseEvent(PaneEventType::Press, PaneButton::Right, x, y, kHeldRight));
  view.HandleEvent(MouseEvent(PaneEventType::Move, PaneButton::None, x + dx, y + dy, kHeldRight));
  view.HandleEvent(MouseEvent(PaneEventType::Release, PaneButton::Right, x + dx, y + dy, 0));
  app_.flags.cameraActive = cameraWas;
}

}  // namespace mok::shell
