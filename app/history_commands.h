#pragma once
// Edit > Undo and Edit > Redo.

#include <string>

#include "core/application.h"

namespace mok {

// Undoes or redoes one step and redraws everything; nothing when there is
// no step.
void UndoLastStep(Application& app);
void RedoNextStep(Application& app);

// "Undo <name>" / "Redo <name>", or the bare word when there is no step.
std::string UndoMenuText(const Application& app);
std::string RedoMenuText(const Application& app);

}  // namespace mok
