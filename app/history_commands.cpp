#include "app/history_commands.h"

namespace mok {
namespace {

std::string WithStepName(const char* verb, const std::optional<std::string>& name) {
  return name ? std::string(verb) + " " + *name : std::string(verb);
}

}  // namespace

void UndoLastStep(Application& app) {
  if (app.history.Undo(app.doc())) app.doc().NotifyMeshChanged();
}

void RedoNextStep(Application& app) {
  if (app.history.Redo(app.doc())) app.doc().NotifyMeshChanged();
}

std::string UndoMenuText(const Application& app) { return WithStepName("Undo", app.history.UndoName()); }

std::string RedoMenuText(const Application& app) { return WithStepName("Redo", app.history.RedoName()); }

}  // namespace mok
