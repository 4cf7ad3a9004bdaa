#include "app/command_line.h"

namespace mok {

MeshCommandLine ParseMeshCommandLine(const std::string& commandLine) {
  MeshCommandLine result;
  std::size_t at = commandLine.find("-3d");
  if (at == std::string::npos) return result;
  result.present = true;
  std::string current;
  bool quoted = false;
  bool inArgument = false;
  for (std::size_t i = at + 3; i < commandLine.size(); ++i) {
    char c = commandLine[i];
    if (c == '"') {
      quoted = !quoted;
      inArgument = true;
    } else if (c == ' ' && !quoted) {
      if (inArgument) result.files.push_back(current);
      current.clear();
      inArgument = false;
    } else {
      current += c;
      inArgument = true;
    }
  }
  if (inArgument) result.files.push_back(current);
  // A quoted empty argument ("") names no file.
  std::erase_if(result.files, [](const std::string& f) { return f.empty(); });
  return result;
}

std::string JoinCommandLine(const std::vector<std::string>& arguments) {
  std::string line;
  for (const std::string& argument : arguments) {
    if (!line.empty()) line += ' ';
    if (argument.find(' ') != std::string::npos) {
      line += '"' + argument + '"';
    } else {
      line += argument;
    }
  }
  return line;
}

}  // namespace mok
