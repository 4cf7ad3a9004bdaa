#pragma once
// File > Import > "Quake2 MD2": the mesh Open flow with the MD2 filter and
// importer (LoadMd2). On success the MD2 file becomes currentFile, so a later Save,
// which needs a ".3d" name, turns into Save As.

#include <string>

#include "app/file_commands.h"
#include "core/application.h"
#include "core/mesh_files.h"

namespace mok {

// The MD2 import of the Open flow: like ImportMd2, but the first skin of the
// header's names that is found near the model (FindMd2SkinFiles) and decodes
// goes into channel 0, with the coordinates scaled for its size; skins found
// but not decoded are reported as warnings.
Result<MeshFileReport> LoadMd2(MeshDocument& doc, const std::string& path, Prompter& prompter);

// The Open flow's options for MD2 files: their filter, "*.md2", ".md2" and LoadMd2.
OpenCommandOptions Md2OpenOptions();

void ImportQuake2Md2(Application& app);

}  // namespace mok
