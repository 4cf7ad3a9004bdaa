#pragma once
// The state of the "Snapshots" dialog as plain values: the snapshot command
// (render/picture_commands.h) fills it in, the dialog host shows it and
// writes the user's choices back.

namespace mok {

enum class SnapshotRendering { Normal, Filtered, Raytraced };

// The "Snapshots" dialog's fields.
struct SnapshotDialog {
  int width = 0;   // "Width" (1007), 16 .. 2048
  int height = 0;  // "Height" (1008), 16 .. 2048
  SnapshotRendering rendering = SnapshotRendering::Normal;  // radio buttons 1042, 1043, 1044
};

inline constexpr int kSnapshotMinSide = 16;
inline constexpr int kSnapshotMaxSide = 2048;
inline constexpr const char* kSnapshotSizeMessage = "Please enter an integer between 16 and 2048.";

}  // namespace mok
