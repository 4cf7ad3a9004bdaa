#pragma once
// The mokcli commands. Each takes the arguments after its name and returns
// the exit status (0 success, 1 failure; messages on stderr).

#include <string>
#include <vector>

namespace mokcli {

using Arguments = std::vector<std::string>;

// info MESH: the model statistics as one JSON object on stdout.
int RunInfo(const Arguments& args);
// convert IN OUT: reads IN and writes it under OUT.
int RunConvert(const Arguments& args);
// mapping export MESH OUT.mkmp | mapping import MESH IN.mkmp OUTMESH [--no-uvs]
// [--no-types] [--no-channels]: the mapping exchange file.
int RunMapping(const Arguments& args);

// convert with an MD2 model as IN (recognised by its magic): the model is
// imported and saved as the mesh files named by OUT.
bool IsMd2File(const std::string& path);
int ConvertMd2(const std::string& in, const std::string& out);
// render MESH --out FILE.bmp [options]: a snapshot of the mesh.
int RunRender(const Arguments& args);
// bench MESH [options]: times 100 quick frames of a render mode.
int RunBench(const Arguments& args);
// shortcuts: every key of the program as a Markdown table (the README's copy).
int RunShortcuts(const Arguments& args);
// skins MESH: what the mesh's package scripts say about its skins, as JSON.
int RunSkins(const Arguments& args);
// script MESH OUT.uc: writes the UnrealScript import lines of the mesh and
// the skins its scripts name.
int RunScript(const Arguments& args);

}  // namespace mokcli
