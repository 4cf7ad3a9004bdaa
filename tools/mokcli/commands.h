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
// render MESH --out FILE.bmp [options]: a snapshot of the mesh.
int RunRender(const Arguments& args);
// bench MESH [options]: times 100 quick frames of a render mode.
int RunBench(const Arguments& args);

}  // namespace mokcli
