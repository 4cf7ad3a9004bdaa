#pragma once
// Selection and visibility commands of the Selection and Mesh menus.
//
// Connectivity is connectivity in the texture mapping: two faces are
// neighbours when they share a UV vertex (an entry of uvVertices reached
// through uvIndex). The commands use the UV table as it stands and never
// rebuild it. Connected, Grow and Shrink skip hidden faces entirely; Select
// All and Invert change hidden faces too. Every command ends with a
// selection change notice.

#include "core/application.h"

namespace mok {

void SelectAll(Application& app);
void SelectNone(Application& app);
void InvertSelection(Application& app);
// Selects the whole mapping island of every visible selected face.
void SelectConnected(Application& app);
// Adds every visible face whose three corners all belong to visible faces
// touching the selection.
void GrowSelection(Application& app);
// Drops every selected face that shares a UV vertex with a visible unselected face.
void ShrinkSelection(Application& app);
// Selected faces become hidden and stay selected.
void HideSelectedFaces(Application& app);
// Hidden faces reappear and join the selection.
void UnhideAll(Application& app);

}  // namespace mok
