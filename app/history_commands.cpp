#include "app/history_commands.h"

#include "core/changes.h"

namespace mok {
namespace {

std::string WithStepName(const char* verb, const std::optional<std::string>& name) {
  return name ? std::string(verb) + " " + *name : std::string(verb);
}

}  // namespace

void UndoLastStep(Application& app) {
  if (app.history.Undo(app.doc())) Notify(app, Change::Mesh);
}

void RedoNextStep(Application& app) {
  if (app.history.Redo(app.doc())) Notify(app, Change::Mesh);
}

std::string UndoMenuText(const Application& app) { return WithStepName("Undo", app.history.UndoName()); }

std::string RedoMenuText(const Application& app) { return WithStepName("Redo", app.history.RedoName()); }

}  // namespace mok
