#include "core/md2_import.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

#include "core/byte_reader.h"
#include "core/file_io.h"
#include "core/package_scripts.h"
#include "core/mesh_files.h"

namespace mok {
namespace {

// Far above any model the document can hold (4096 vertices, a few thousand
// frames); larger files are not read into memory.
constexpr std::uint64_t kMaxMd2FileBytes = 256ull << 20;

struct Md2Header {
  std::int32_t skinWidth, skinHeight, skinCount, vertexCount, texCoordCount, triangleCount, frameCount;
  std::int32_t skinOffset, texCoordOffset, triangleOffset, frameOffset;
};

Md2Header ReadHeader(ByteReader header) {
  auto field = [&](std::size_t offset) {
    header.seek(offset);
    return header.i32();
  };
  using namespace md2_layout;
  return {field(kSkinWidth),      field(kSkinHeight),     field(kSkinCount),   field(kVertexCount),
          field(kTexCoordCount),  field(kTriangleCount),  field(kFrameCount),  field(kSkinOffset),
          field(kTexCoordOffset), field(kTriangleOffset), field(kFrameOffset)};
}

std::optional<Error> CheckCounts(const Md2Header& h) {
  if (h.vertexCount < 0 || h.texCoordCount < 0 || h.triangleCount < 0 || h.frameCount < 0)
    return Error{md2_text::kBadCounts, "MD2 header"};
  if (h.triangleCount > kMaxTriangles) return Error{md2_text::kTooManyTriangles, "MD2 header"};
  if (h.vertexCount > kMaxVertices) return Error{md2_text::kTooManyVertices, "MD2 header"};
  if (h.texCoordCount > kMaxUvVertices) return Error{md2_text::kTooManyTexCoords, "MD2 header"};
  if (h.skinWidth <= 0 || h.skinHeight <= 0) return Error{md2_text::kNoSkinSize, "MD2 header"};
  const std::uint64_t frameBytes = std::uint64_t(h.frameCount) * std::uint64_t(h.vertexCount) * sizeof(Vec3);
  if (std::uint64_t(h.frameCount) > kMaxAnimationFrames || frameBytes > kMaxAnimationBytes)
    return Error{md2_text::kTooManyFrames, "MD2 header"};
  return std::nullopt;
}

// A reader over a table of count records at offset, or nothing when the table
// does not lie inside the file. Counts are below 2^31 and records below 2^15
// bytes, so the 64-bit size cannot overflow.
std::optional<ByteReader> Table(const ByteReader& file, std::int32_t offset, std::uint64_t count,
                                std::uint64_t recordSize) {
  if (offset < 0) return std::nullopt;
  std::uint64_t size = count * recordSize;
  if (size > file.size()) return std::nullopt;
  return file.sub(static_cast<std::size_t>(offset), static_cast<std::size_t>(size));
}

std::vector<UvPair> ReadTexCoords(ByteReader in, int count) {
  std::vector<UvPair> coords(static_cast<std::size_t>(count));
  for (UvPair& uv : coords) {
    uv.u = in.i16();
    uv.v = in.i16();
  }
  return coords;
}

Result<std::vector<Md2Triangle>> ReadTriangles(ByteReader in, const Md2Header& h) {
  std::vector<Md2Triangle> triangles(static_cast<std::size_t>(h.triangleCount));
  for (Md2Triangle& t : triangles) {
    for (std::int16_t& v : t.vertex) v = in.i16();
    for (std::int16_t& c : t.texCoord) c = in.i16();
    for (int k = 0; k < 3; ++k) {
      if (t.vertex[k] < 0 || t.vertex[k] >= h.vertexCount || t.texCoord[k] < 0 || t.texCoord[k] >= h.texCoordCount)
        return Error{md2_text::kBadIndex, "MD2 triangles"};
    }
  }
  return triangles;
}

Result<Md2Frame> ReadFrame(ByteReader& in, int vertexCount) {
  float scale[3], translate[3];
  for (float& s : scale) s = in.f32();
  for (float& t : translate) t = in.f32();
  for (int k = 0; k < 3; ++k)
    if (!std::isfinite(scale[k]) || !std::isfinite(translate[k])) return Error{md2_text::kBadFrame, "MD2 frames"};
  Md2Frame frame;
  // A name that fills all 16 characters has no terminator.
  frame.name = in.fixedString(md2_layout::kFrameNameSize, md2_layout::kFrameNameSize);
  frame.positions.resize(static_cast<std::size_t>(vertexCount));
  for (Vec3& p : frame.positions) {
    std::uint8_t x = in.u8(), y = in.u8(), z = in.u8();
    in.u8();  // light normal index, not used
    p = {x * scale[0] + translate[0], y * scale[1] + translate[1], z * scale[2] + translate[2]};
    // Finite factors can still overflow to infinity.
    if (!std::isfinite(p.x) || !std::isfinite(p.y) || !std::isfinite(p.z))
      return Error{md2_text::kBadFrame, "MD2 frames"};
  }
  return frame;
}

// The skin names, at most kMaxSkinNames; none when the table lies outside
// the file (the names only help to find a skin).
std::vector<std::string> ReadSkinNames(const ByteReader& file, const Md2Header& h) {
  std::vector<std::string> names;
  std::int32_t count = std::clamp(h.skinCount, 0, md2_layout::kMaxSkinNames);
  auto table = Table(file, h.skinOffset, std::uint64_t(count), md2_layout::kSkinNameSize);
  if (!table) return names;
  for (std::int32_t i = 0; i < count; ++i) {
    std::string name = table->fixedString(md2_layout::kSkinNameSize, md2_layout::kSkinNameSize);
    if (!name.empty()) names.push_back(std::move(name));
  }
  return names;
}

void AddIfFound(std::vector<std::string>& files, const std::filesystem::path& folder,
                const std::vector<std::string>& parts) {
  auto found = FindFileNoCase(folder, parts);
  if (found && std::find(files.begin(), files.end(), found->string()) == files.end()) files.push_back(found->string());
}

// MD2 skin texels to channel units (4096 = whole skin), held to what a mesh
// can save. A tiny skin size can put coordinates hundreds of skins away; a
// save would clamp them, and corners clamped together would then share one UV
// vertex on the next load, so the document takes the held values at once.
void HoldInChannelUnits(MeshDocument& doc, int skinWidth, int skinHeight) {
  for (int i = 0; i < doc.uvVertexCount; ++i) {
    UvPair& uv = doc.uvVertices[static_cast<std::size_t>(i)];
    uv = ClampToChannelUnits({uv.u * 4096 / static_cast<float>(skinWidth), uv.v * 4096 / static_cast<float>(skinHeight)},
                             nullptr);
  }
}

Result<std::vector<Md2Frame>> ReadFrames(ByteReader in, const Md2Header& h) {
  std::vector<Md2Frame> frames;
  frames.reserve(static_cast<std::size_t>(h.frameCount));
  for (int f = 0; f < h.frameCount; ++f) {
    auto frame = ReadFrame(in, h.vertexCount);
    if (!frame) return frame.error();
    frames.push_back(std::move(*frame));
  }
  return frames;
}

}  // namespace

Result<Md2Model> ReadMd2(std::span<const std::uint8_t> bytes) {
  ByteReader file(bytes);
  char magic[4];
  if (!file.bytes(magic, sizeof magic) || std::memcmp(magic, md2_layout::kMagic, sizeof magic) != 0)
    return Error{md2_text::kNotMd2, "MD2 header"};
  auto headerBytes = file.sub(0, md2_layout::kHeaderSize);
  if (!headerBytes) return Error{md2_text::kTruncated, "MD2 header"};
  Md2Header h = ReadHeader(*headerBytes);
  if (auto error = CheckCounts(h)) return *error;

  std::uint64_t frameSize = md2_layout::kFrameHeaderSize + md2_layout::kPackedVertexSize * std::uint64_t(h.vertexCount);
  auto texCoords = Table(file, h.texCoordOffset, std::uint64_t(h.texCoordCount), md2_layout::kTexCoordSize);
  auto triangles = Table(file, h.triangleOffset, std::uint64_t(h.triangleCount), md2_layout::kTriangleSize);
  auto frames = Table(file, h.frameOffset, std::uint64_t(h.frameCount), frameSize);
  if (!texCoords || !triangles || !frames) return Error{md2_text::kTruncated, "MD2 tables"};

  Md2Model model;
  model.skinWidth = h.skinWidth;
  model.skinHeight = h.skinHeight;
  model.vertexCount = h.vertexCount;
  model.texCoords = ReadTexCoords(*texCoords, h.texCoordCount);
  auto readTriangles = ReadTriangles(*triangles, h);
  if (!readTriangles) return readTriangles.error();
  model.triangles = std::move(*readTriangles);
  auto readFrames = ReadFrames(*frames, h);
  if (!readFrames) return readFrames.error();
  model.frames = std::move(*readFrames);
  model.skinNames = ReadSkinNames(file, h);
  return model;
}

Result<Md2Model> ReadMd2File(const std::string& path) {
  FileReadResult file = ReadWholeFile(path, kMaxMd2FileBytes);
  if (file.notRegularFile) return Error{md2_text::kNotRegular, path};
  if (!file.ok()) return Error{md2_text::kCannotOpen, path};
  auto model = ReadMd2(file.bytes);
  if (!model) return Error{model.error().message, path};
  return model;
}

std::vector<std::string> FindMd2SkinFiles(const std::string& modelPath, const std::vector<std::string>& skinNames) {
  std::vector<std::string> files;
  std::filesystem::path modelFolder = AbsolutePath(modelPath).parent_path();
  for (const std::string& name : skinNames) {
    auto parts = PackageRelativeParts(name);
    if (!parts || parts->empty()) continue;
    std::filesystem::path folder = modelFolder;
    for (int level = 0; level < kMaxSkinSearchLevels; ++level, folder = folder.parent_path()) {
      AddIfFound(files, folder, *parts);
      if (!folder.has_relative_path()) break;
    }
    AddIfFound(files, modelFolder, {parts->back()});
  }
  return files;
}

void InstallMd2(MeshDocument& doc, Md2Model model, SkinSlot* skin) {
  doc.triangleCount = static_cast<std::int16_t>(model.triangles.size());
  doc.vertexCount = static_cast<std::int16_t>(model.vertexCount);
  doc.uvVertexCount = static_cast<std::int16_t>(model.texCoords.size());
  for (std::size_t i = 0; i < model.texCoords.size(); ++i) {
    doc.uvVertices[i] = model.texCoords[i];
    doc.uvVertexChannel[i] = 0;
  }
  for (std::size_t i = 0; i < model.triangles.size(); ++i) {
    MeshTriangle& face = doc.triangles[i];
    face = MeshTriangle{};
    for (int k = 0; k < 3; ++k) {
      face.vertex[k] = model.triangles[i].vertex[k];
      face.uvIndex[k] = model.triangles[i].texCoord[k];
    }
  }
  doc.StoreMapping();  // the snapshot holds MD2 skin texels

  doc.frames.clear();
  for (Md2Frame& source : model.frames) {
    auto frame = std::make_unique<AnimFrame>();
    frame->name = std::move(source.name);
    frame->positions = std::move(source.positions);
    doc.frames.push_back(std::move(frame));
  }
  doc.currentFrame = 0;
  doc.currentVertices = doc.frames.empty() ? nullptr : doc.frames[0]->positions.data();
  doc.meshLoaded = 1;
  doc.fileInfo = FileInfo{};
  doc.vertexLayout = VertexLayout::Packed;
  doc.ResetSkinSlots();
  if (skin) *doc.skinSlots[0] = std::move(*skin);

  doc.RebuildUvVertices(true);
  HoldInChannelUnits(doc, model.skinWidth, model.skinHeight);
  doc.FromChannelUnits();
  doc.RebuildUvVertices(true);
  doc.ComputeFaceNormals();
}

Status ImportMd2(MeshDocument& doc, const std::string& path) {
  auto model = ReadMd2File(path);
  if (!model) return model.error();
  InstallMd2(doc, std::move(*model));
  return Status::Ok();
}

}  // namespace mok
