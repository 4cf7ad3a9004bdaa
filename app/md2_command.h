#pragma once
// File > Import > "Quake2 MD2": the mesh Open flow with the MD2 filter and
// importer. On success the MD2 file becomes currentFile, so a later Save,
// which needs a ".3d" name, turns into Save As.

#include <string>

#include "core/application.h"
#include "core/mesh_files.h"

namespace mok {

// ImportMd2 in the shape of the Open flow's loaders.
Result<MeshFileReport> LoadMd2(MeshDocument& doc, const std::string& path, Prompter& prompter);

void ImportQuake2Md2(Application& app);

}  // namespace mok
