#pragma once
// The main window's rules that need no window: its title, its minimum size
// and what happens when the user closes it.

#include <string>

#include "core/application.h"

namespace mok {

inline constexpr const char* kProgramTitle = "MOK v0.9b3";
inline constexpr const char* kQuitQuestion = "All Unsaved data will be lost...\nAre you sure you want to quit?";
inline constexpr int kMinFrameWidth = 516;
inline constexpr int kMinFrameHeight = 360;

// "MOK v0.9b3 - Sampler_d.3d": the program and the file name of the mesh on
// screen; the program alone while there is none.
std::string WindowTitle(const std::string& currentFile, bool modified = false);

// The close request: "Splitter" and the eight user colours are written
// first (they stay written whatever the answer), then the window closes at
// once with "Quick Exit" 1, or else only when the user answers Yes to the
// quit question. Returns whether to close.
bool ConfirmClose(Application& app, double splitFraction);

}  // namespace mok
