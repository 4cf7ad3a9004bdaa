#pragma once
// Topology edits on the selection: delete, flip, edge turn and clearing the
// mapping of faces. Here a face counts as selected only while it is visible.
// None of them touches vertex positions or animation frames. Messages go
// through the prompter; a command that changes the model ends with a change
// notice. Each returns true when it changed the model.

#include "core/application.h"

namespace mok {

namespace face_edit_text {
inline constexpr const char* kNoSelection = "There are no selected triangles!";
inline constexpr const char* kCannotDeleteAll = "You can no delete all existing triangles!";
inline constexpr const char* kTurnNeedsTwo = "You must select only 2 triangles when turning an edge!";
inline constexpr const char* kTurnNotConnected = "The selected triangles are not connected!";
inline constexpr const char* kTurnSeam = "The selected triangles are not connected in their mapping!";
}  // namespace face_edit_text

// Removes the visible selected faces, keeping the others in order.
bool DeleteSelectedFaces(Application& app);
// Reverses the corner order of the visible selected faces (corners 1 and 2 swap).
void FlipSelectedFaces(Application& app);
// Turns the edge shared by exactly two visible selected faces to the other
// diagonal of their quad.
bool TurnEdge(Application& app);
// Moves every corner of the visible selected faces to the origin of its skin.
void ClearSelectedMapping(Application& app);

}  // namespace mok
