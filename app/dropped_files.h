#pragma once
// Files dropped on the window, and opening a mesh by name. A mesh is known
// by its name (any of XXX_d.3d, XXX_a.3d, XXX_k.3d, XXX.3d), a Quake 2 MD2
// model by its magic "IDP2", a skin image by its ending (.pcx, .bmp or .tga,
// any case; the reader then checks the content).

#include <string>
#include <vector>

#include "app/file_commands.h"
#include "core/application.h"

namespace mok {

enum class DroppedFileKind { Mesh, Md2, Image, Other };

DroppedFileKind ClassifyDroppedFile(const std::string& path);

// True when dropping these files would open one of them: the window accepts
// such a drag and refuses others.
bool AcceptsDroppedFiles(const std::vector<std::string>& paths);

// The loader for a file by name: the MD2 importer for a file that starts with
// the MD2 magic, the mesh loader with the package scripts' skins for
// everything else.
MeshLoader LoaderForFile(const Application& app, const std::string& path);

// Opens a mesh or MD2 file by name as File > Open opens a chosen one (the
// question about the mesh on screen first); MD2 models go through the
// importer.
void OpenMeshFile(Application& app, const std::string& path);

// A drop: the first mesh or MD2 among the files opens as above; without one
// the first image opens as a skin into the active channel (Skins > Open).
// Other files, and the ones behind the first, are left alone. The skin
// opened is one undo step.
inline constexpr const char* kOpenDroppedSkinStep = "Open";
void OpenDroppedFiles(Application& app, const std::vector<std::string>& paths);

}  // namespace mok
