#pragma once
// Choosing the first mesh at start-up: the files of the command line, else
// the last file ("CurFile"), else, on the very first start, the bundled
// sample, else an Open dialog that cannot be skipped. The program never runs
// without a mesh: when this returns false, it quits.

#include <string>
#include <vector>

#include "core/application.h"

namespace mok {

inline constexpr const char* kCommandLineMeshError = "There was an error loading from the command line!";
inline constexpr const char* kCommandLineSkinError = "Error loading skin from the command line!";

struct StartupRequest {
  // From the command line (ParseProgramArguments): a mesh or MD2 model, then
  // skin images. Relative names are taken from the folder the program was
  // started in, before start-up enters the "LoadDir" folder.
  std::vector<std::string> files;
  bool ctrlHeld = false;  // skips the command line, the last file and the sample
};

// Runs the loading steps of start-up; true when a mesh is loaded. Ends with
// a mesh change notice when it succeeds.
bool LoadFirstMesh(Application& app, const StartupRequest& request);

// Reads an image into a new skin slot behind the existing ones and makes it
// the active channel; false (document unchanged) when it cannot be read, in
// which case the reason has been shown.
bool AppendSkinFromFile(Application& app, const std::string& path);

}  // namespace mok
