#pragma once
// The program's command line: options, then a mesh file and optional skin
// images. The old switch "-3d" in front of the files is still understood.

#include <string>
#include <vector>

namespace mok {

enum class ProgramAction { Run, ShowHelp, ShowVersion, Refuse };

struct ProgramArguments {
  ProgramAction action = ProgramAction::Run;
  std::vector<std::string> files;  // a mesh first, then skins; empty for none
  std::string error;               // why the line was refused
};

// Reads the arguments after the program name. "-h"/"--help" and "--version"
// win over everything else on the line; "-3d" is skipped; "--" makes every
// later argument a file name; any other argument starting with '-' is
// refused.
ProgramArguments ParseProgramArguments(const std::vector<std::string>& arguments);

// The text of "mok --help".
std::string ProgramUsage();

// "<program> <version>" and a line feed, the text of "--version".
std::string VersionText(const std::string& program);

// What a refused line prints: the error and a hint at --help.
std::string RefusalText(const std::string& program, const std::string& error);

}  // namespace mok
