#pragma once
// Where the bundled maps, sounds and sample live: always found from the
// program's own file, never from the working directory. An installed
// program keeps them in <prefix>/share/mok beside <prefix>/bin; the build
// tree links build/share/mok to the source's resources/ folder, so the same
// rule holds there.

#include <string>

namespace mok {

// The resource folder of the program whose executable is `executable` (an
// absolute path, symbolic links allowed); empty when there is none.
std::string FindResourceDir(const std::string& executable);

// The files and folders inside a resource folder (empty in, empty out).
std::string SampleMeshPath(const std::string& resourceDir);
std::string PhongMapFolder(const std::string& resourceDir);
std::string EnvMapFolder(const std::string& resourceDir);
std::string SoundFolder(const std::string& resourceDir);

}  // namespace mok
