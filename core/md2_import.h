#pragma once
// Quake 2 MD2 models (magic "IDP2"), read only: triangles, texture
// coordinates, every animation frame with its name, and the skin names of the
// header. GL commands and vertex normals of the file are not used.
//
// The whole file is read and checked before the document changes: counts
// beyond the document's capacities, more frames than a mesh can save or hold
// (checked from the header, before anything is allocated for them), a skin
// size of 0, indices out of range, tables outside the file and frames whose
// positions are not finite are refused with a message.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "core/mesh_document.h"
#include "core/result.h"

namespace mok {

namespace md2_layout {
inline constexpr char kMagic[4] = {'I', 'D', 'P', '2'};
inline constexpr std::size_t kHeaderSize = 68;
inline constexpr std::size_t kSkinWidth = 8, kSkinHeight = 12, kSkinCount = 20, kVertexCount = 24,
                             kTexCoordCount = 28, kTriangleCount = 32, kFrameCount = 40, kSkinOffset = 44,
                             kTexCoordOffset = 48, kTriangleOffset = 52, kFrameOffset = 56;
inline constexpr std::size_t kSkinNameSize = 64;  // char name[64], game-relative path
inline constexpr std::int32_t kMaxSkinNames = 32;  // more are not looked at
inline constexpr std::size_t kTexCoordSize = 4;   // int16 s, t
inline constexpr std::size_t kTriangleSize = 12;  // int16 vertex[3], texCoord[3]
inline constexpr std::size_t kFrameHeaderSize = 40;  // float scale[3], translate[3], char name[16]
inline constexpr std::size_t kFrameNameSize = 16;
inline constexpr std::size_t kPackedVertexSize = 4;  // uint8 x, y, z, normal index
}  // namespace md2_layout

namespace md2_text {
inline constexpr const char* kFilter = "Quake2 MD2 (*.md2)|*.md2|All Files (*.*)|*.*||";
inline constexpr const char* kInitialName = "*.md2";
inline constexpr const char* kExtension = ".md2";
inline constexpr const char* kCannotOpen = "There was an error importing the MD2!";
inline constexpr const char* kNotMd2 = "This is not an MD2!";
inline constexpr const char* kTruncated = "This MD2 is damaged: its data lies outside the file!";
inline constexpr const char* kTooManyTriangles = "This MD2 has more than 4096 triangles!";
inline constexpr const char* kTooManyVertices = "This MD2 has more than 4096 vertices!";
inline constexpr const char* kTooManyTexCoords = "This MD2 has more than 12288 texture coordinates!";
inline constexpr const char* kTooManyFrames =
    "This MD2 has more frames than a mesh can save (65535) or this program can hold in memory!";
inline constexpr const char* kBadCounts = "This MD2 is damaged: it announces a negative count!";
inline constexpr const char* kNoSkinSize = "This MD2 has no skin size!";
inline constexpr const char* kBadIndex = "This MD2 is damaged: a triangle uses an index out of range!";
inline constexpr const char* kBadFrame = "This MD2 is damaged: a frame's scale or origin is not a number!";
inline constexpr const char* kNotRegular = "This MD2 name is not a regular file!";
}  // namespace md2_text

struct Md2Triangle {
  std::int16_t vertex[3];
  std::int16_t texCoord[3];
};

struct Md2Frame {
  std::string name;
  FramePositions positions;  // byte x scale + translate, per axis
};

// An MD2 model as read from its file, checked and ready to install.
struct Md2Model {
  int skinWidth = 0;
  int skinHeight = 0;
  int vertexCount = 0;
  std::vector<UvPair> texCoords;  // MD2 skin texels
  std::vector<Md2Triangle> triangles;
  std::vector<Md2Frame> frames;
  // The header's skin names; a skin table outside the file gives none.
  std::vector<std::string> skinNames;
};

// Parses and checks a whole MD2 file.
Result<Md2Model> ReadMd2(std::span<const std::uint8_t> bytes);

// Reads and checks a whole MD2 file; the error carries the message for the
// user.
Result<Md2Model> ReadMd2File(const std::string& path);

// Replaces the document's mesh with the model: faces on channel 0, normal
// one-sided, nothing selected; placeholder skins, with skin (when given) in
// channel 0; coordinates rescaled from the MD2 skin size to the slot's and
// held to kMaxChannelUnits, so a save writes them as shown.
void InstallMd2(MeshDocument& doc, Md2Model model, SkinSlot* skin = nullptr);

// Reads the file and installs it with placeholder skins; a name that is not
// a regular file is refused before it is opened. On failure the error
// carries the message for the user and the document is unchanged.
Status ImportMd2(MeshDocument& doc, const std::string& path);

// The files the header's skin names may be, in the order to try: for each
// name, the game-relative path below the model's folder and each folder above
// it (at most kMaxSkinSearchLevels), then its file name in the model's folder;
// every part found without regard to case. Absolute names and names that
// climb upwards are not followed.
inline constexpr int kMaxSkinSearchLevels = 8;
std::vector<std::string> FindMd2SkinFiles(const std::string& modelPath, const std::vector<std::string>& skinNames);

}  // namespace mok
