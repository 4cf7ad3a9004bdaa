#pragma once
// The "-3d" command line: a mesh file and optional skin images.

#include <string>
#include <vector>

namespace mok {

struct MeshCommandLine {
  bool present = false;            // "-3d" occurs in the command line
  std::vector<std::string> files;  // mesh first, then skins; quotes removed
};

// Searches the whole command line for "-3d". The text after it is split at
// spaces outside double quotes (a quote toggles the quoted state); runs of
// spaces give no empty arguments and the quote characters are dropped, so
// the loaders get plain file names.
MeshCommandLine ParseMeshCommandLine(const std::string& commandLine);

// Joins program arguments into one command line, quoting those that contain
// spaces, so that ParseMeshCommandLine sees what a user typed.
std::string JoinCommandLine(const std::vector<std::string>& arguments);

}  // namespace mok
