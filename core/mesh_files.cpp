#include "core/mesh_files.h"

#include <algorithm>
#include <cmath>
#include <cerrno>

#include <unistd.h>

#include "core/byte_reader.h"
#include "core/byte_writer.h"
#include "core/file_io.h"
#include "core/info_file.h"
#include "core/little_endian.h"
#include "core/mesh_names.h"
#include "core/packed_vertex.h"

namespace mok {
namespace {

namespace layout {
constexpr std::size_t kGeometryHeader = 48;
constexpr std::size_t kGeometryReserved = 44;
constexpr std::size_t kFaceRecord = 16;
constexpr std::size_t kPackedVertex = 4;
constexpr std::size_t kDeusExVertex = 8;
}  // namespace layout

struct FaceRecord {
  std::uint16_t vertex[3] = {0, 0, 0};
  std::uint8_t type = 0;
  std::uint8_t color = 0;
  std::uint8_t uv[6] = {0, 0, 0, 0, 0, 0};
  std::uint8_t textureNum = 0;
  std::uint8_t flags = 0;
};

struct GeometryData {
  int vertexCount = 0;
  std::vector<FaceRecord> faces;
  int positionCount = 0;  // entries every frame needs: past the highest index used
  std::vector<std::string> warnings;
};

struct AnimationData {
  std::vector<std::unique_ptr<AnimFrame>> frames;
  VertexLayout layout = VertexLayout::Packed;
  std::vector<std::string> warnings;
};

FaceRecord ReadFaceRecord(ByteReader& reader) {
  FaceRecord face;
  for (std::uint16_t& index : face.vertex) index = reader.u16();
  face.type = reader.u8();
  face.color = reader.u8();
  reader.bytes(face.uv, sizeof face.uv);
  face.textureNum = reader.u8();
  face.flags = reader.u8();
  return face;
}

std::string FacesBeyondCountWarning(int faces, int vertexCount) {
  return std::to_string(faces) + " triangles use vertices beyond the vertex count of " + std::to_string(vertexCount) +
         "; their positions read as 0.";
}

Result<GeometryData> ParseGeometry(std::span<const std::uint8_t> bytes) {
  ByteReader reader(bytes);
  if (!reader.has(layout::kGeometryHeader)) return Error{kGeometryShortMessage, "XXX_d.3d"};
  int faceCount = reader.u16();
  GeometryData geometry;
  geometry.vertexCount = reader.u16();
  if (faceCount > kMaxTriangles) return Error{kTooManyTrianglesMessage, "XXX_d.3d"};
  if (geometry.vertexCount > kMaxVertices) return Error{kTooManyVerticesMessage, "XXX_d.3d"};
  reader.seek(layout::kGeometryHeader);
  if (!reader.has(static_cast<std::size_t>(faceCount) * layout::kFaceRecord))
    return Error{kGeometryShortMessage, "XXX_d.3d"};
  geometry.positionCount = geometry.vertexCount;
  int facesBeyondCount = 0;
  for (int i = 0; i < faceCount; ++i) {
    FaceRecord face = ReadFaceRecord(reader);
    int highest = std::max({face.vertex[0], face.vertex[1], face.vertex[2]});
    if (highest >= kMaxVertices) return Error{kVertexIndexMessage, "XXX_d.3d"};
    if (highest >= geometry.vertexCount) ++facesBeyondCount;
    geometry.positionCount = std::max(geometry.positionCount, highest + 1);
    geometry.faces.push_back(face);
  }
  if (facesBeyondCount > 0) geometry.warnings.push_back(FacesBeyondCountWarning(facesBeyondCount, geometry.vertexCount));
  return geometry;
}

std::string ShortLastFrameWarning(std::size_t missingBytes) {
  return "The Animation data's last frame is " + std::to_string(missingBytes) +
         " bytes short; the missing vertex positions read as 0.";
}

// Decodes the first vertexCount vertices of a frame block into every entry
// of positions; entries the block does not hold in full become 0.
void DecodeFrame(std::span<const std::uint8_t> block, VertexLayout vertexLayout, int vertexCount,
                 FramePositions& positions) {
  const bool deusEx = vertexLayout == VertexLayout::DeusEx;
  const std::size_t stride = deusEx ? layout::kDeusExVertex : layout::kPackedVertex;
  const std::size_t whole =
      std::min({static_cast<std::size_t>(std::max(vertexCount, 0)), block.size() / stride, positions.size()});
  const std::uint8_t* at = block.data();
  if (deusEx) {
    for (std::size_t i = 0; i < whole; ++i, at += stride)
      positions[i] = DecodeDeusExVertex({static_cast<std::int16_t>(LoadLittle16(at)),
                                         static_cast<std::int16_t>(LoadLittle16(at + 2)),
                                         static_cast<std::int16_t>(LoadLittle16(at + 4))});
  } else {
    UnpackFrame(at, whole, positions.data());
  }
  std::fill(positions.begin() + static_cast<std::ptrdiff_t>(whole), positions.end(), Vec3{});
}

Result<AnimationData> ParseAnimation(std::span<const std::uint8_t> bytes, const GeometryData& geometry) {
  ByteReader reader(bytes);
  std::size_t frameCount = reader.u16();
  std::size_t frameSize = reader.u16();
  if (reader.failed()) return Error{kAnimationShortMessage, "XXX_a.3d"};
  std::size_t vertexCount = static_cast<std::size_t>(geometry.vertexCount);
  if (frameSize < layout::kPackedVertex * vertexCount) return Error{kFrameSizeMessage, "XXX_a.3d"};

  AnimationData animation;
  std::size_t needed = frameCount * frameSize;
  if (reader.remaining() < needed) {
    std::size_t missing = needed - reader.remaining();
    if (missing >= frameSize) return Error{kAnimationShortMessage, "XXX_a.3d"};
    animation.warnings.push_back(ShortLastFrameWarning(missing));
  }
  std::size_t positionCount = static_cast<std::size_t>(geometry.positionCount);
  if (frameCount * positionCount * sizeof(Vec3) > kMaxAnimationBytes) return Error{kAnimationTooLargeMessage, "XXX_a.3d"};

  if (vertexCount > 0 && frameSize == layout::kDeusExVertex * vertexCount) animation.layout = VertexLayout::DeusEx;
  auto frames = reader.take(reader.remaining());
  animation.frames.reserve(frameCount);
  for (std::size_t f = 0; f < frameCount; ++f) {
    std::size_t start = f * frameSize;
    std::size_t length = std::min(frameSize, frames.size() - start);
    auto frame = std::make_unique<AnimFrame>();
    frame->name = std::to_string(f);
    ResizeUnwritten(frame->positions, positionCount);
    DecodeFrame(frames.subspan(start, length), animation.layout, geometry.vertexCount, frame->positions);
    animation.frames.push_back(std::move(frame));
  }
  return animation;
}

void CommitGeometry(MeshDocument& doc, const GeometryData& geometry) {
  doc.triangleCount = static_cast<std::int16_t>(geometry.faces.size());
  doc.vertexCount = static_cast<std::int16_t>(geometry.vertexCount);
  doc.uvVertexCount = 0;
  for (std::size_t i = 0; i < geometry.faces.size(); ++i) {
    const FaceRecord& record = geometry.faces[i];
    MeshTriangle& face = doc.triangles[i];
    face = MeshTriangle{};
    for (std::size_t k = 0; k < 3; ++k) {
      face.vertex[k] = static_cast<std::int16_t>(record.vertex[k]);
      face.uvIndex[k] = static_cast<std::int16_t>(3 * i + k);
      doc.uvVertices[3 * i + k] = {static_cast<float>(record.uv[2 * k]), static_cast<float>(record.uv[2 * k + 1])};
    }
    face.flags = record.flags;
    face.color = record.color;
    face.type = record.type;
    face.textureNum = record.textureNum;
  }
  doc.StoreMapping();
}

// Geometry-file bytes (256 = whole skin) to texels of each channel's slot;
// channels without a slot keep the byte values. The table of byte values is
// the one CommitGeometry's StoreMapping has just built.
void ConvertBytesToTexels(MeshDocument& doc) {
  for (int i = 0; i < doc.uvVertexCount; ++i) {
    const SkinSlot* slot = doc.slotFor(doc.uvVertexChannel[static_cast<std::size_t>(i)]);
    if (!slot) continue;
    UvPair& uv = doc.uvVertices[static_cast<std::size_t>(i)];
    uv.u = slot->width * uv.u * (1.0f / 256);
    uv.v = slot->height * uv.v * (1.0f / 256);
  }
  doc.RebuildUvVertices(true);
}

// The faces and their mapping as a load takes them: placeholder skins, and
// the info file's coordinates where they are used, else the geometry's bytes.
void CommitMapping(MeshDocument& doc, const GeometryData& geometry, const InfoFileData& info, const InfoFileUse& use) {
  CommitGeometry(doc, geometry);
  doc.fileInfo = FileInfo{};
  doc.ResetSkinSlots();
  if (!use.coordinates) ConvertBytesToTexels(doc);
  ApplyInfoFile(doc, info, use);
}

void CommitAnimation(MeshDocument& doc, AnimationData& animation) {
  doc.frames = std::move(animation.frames);
  doc.vertexLayout = animation.layout;
  doc.currentFrame = 0;
  doc.currentVertices = doc.frames.empty() ? nullptr : doc.frames.front()->positions.data();
}

// No mesh file comes near this; larger files are not read into memory.
constexpr std::uint64_t kMaxMeshFileBytes = std::uint64_t{1} << 30;

// A file of the mesh: its bytes, nothing when it cannot be read, or an error
// when the name is taken by something that is not a regular file.
Result<std::optional<FileReadResult>> ReadIfPresent(const std::string& path) {
  FileReadResult file = ReadWholeFile(path, kMaxMeshFileBytes);
  if (file.notRegularFile && file.cause == FileErrorCause::InvalidFile) return Error{kNotRegularFileMessage, path};
  if (!file.ok()) return std::optional<FileReadResult>{};
  return std::optional<FileReadResult>{std::move(file)};
}

}  // namespace

Result<MeshFileReport> LoadMesh(MeshDocument& doc, const std::string& name, Prompter& prompter) {
  std::optional<MeshFileNames> names = IdentifyMeshName(name);
  if (!names) return Error{kIdentifyMessage, name};
  const bool finished =
      FinishInterruptedCommit(CommitJournalFor(names->geometry), {names->geometry, names->animation, names->info});
  auto geometryFile = ReadIfPresent(names->geometry);
  if (geometryFile && !*geometryFile) geometryFile = ReadIfPresent(names->plainGeometry);
  if (!geometryFile) return geometryFile.error();
  if (!*geometryFile) return Error{kGeometryLoadError, names->geometry};
  auto animationFile = ReadIfPresent(names->animation);
  if (!animationFile) return animationFile.error();
  if (!*animationFile) return Error{kAnimationLoadError, names->animation};
  // The info file is optional: one that is not a regular file is left out.
  auto infoFile = ReadIfPresent(names->info);

  MeshFileBytes files{(*geometryFile)->bytes, (*animationFile)->bytes, std::nullopt};
  if (infoFile && *infoFile) files.info = (*infoFile)->bytes;
  Result<MeshFileReport> loaded = LoadMeshFromBytes(doc, files, prompter);
  if (loaded && !infoFile) loaded->warnings.push_back(kInfoNotRegularWarning);
  if (loaded && finished) loaded->warnings.push_back(kInterruptedSaveFinishedWarning);
  return loaded;
}

Result<MeshFileReport> LoadMeshFromBytes(MeshDocument& doc, const MeshFileBytes& files, Prompter& prompter) {
  Result<GeometryData> geometry = ParseGeometry(files.geometry);
  if (!geometry) return geometry.error();
  Result<AnimationData> animation = ParseAnimation(files.animation, *geometry);
  if (!animation) return animation.error();
  ParsedInfoFile info;
  if (files.info) {
    Result<ParsedInfoFile> parsed = ParseInfoFile(*files.info);
    if (!parsed) return parsed.error();
    info = std::move(*parsed);
  }

  MeshFileReport report;
  report.warnings = geometry->warnings;
  report.warnings.insert(report.warnings.end(), animation->warnings.begin(), animation->warnings.end());
  if (files.info && !info.hasMagic) report.warnings.push_back(kInfoInvalidMessage);
  InfoFileUse use = DecideInfoFileUse(info, static_cast<int>(geometry->faces.size()), prompter);

  CommitMapping(doc, *geometry, info.data, use);
  CommitAnimation(doc, *animation);
  doc.meshLoaded = 1;
  doc.ComputeFaceNormals();
  return report;
}

namespace {

// Every face's corners in channel units (4096 = whole skin), as the info file
// holds them and the geometry file's bytes derive from them; held within
// kMaxChannelUnits so the loader takes back what is written.
std::vector<FaceCoordinates> CornersInChannelUnits(const MeshDocument& doc, bool& clamped) {
  std::vector<FaceCoordinates> corners(static_cast<std::size_t>(std::max<int>(doc.triangleCount, 0)));
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const MeshTriangle& face = doc.triangles[i];
    for (std::size_t k = 0; k < 3; ++k) {
      const UvPair& texels = doc.uvVertices[static_cast<std::size_t>(face.uvIndex[k])];
      corners[i][k] = ClampToChannelUnits(doc.InChannelUnits(face.textureNum, texels), &clamped);
    }
  }
  return corners;
}

// A channel-unit coordinate as a geometry-file byte: 1/16, truncated toward
// zero and clamped to 0..255 (so the right edge of a skin is 255).
std::uint8_t CoordinateByte(float channelUnits) {
  float value = channelUnits * 0.0625f;
  if (!(value > 0)) return 0;  // also NaN
  if (value >= 255) return 255;
  return static_cast<std::uint8_t>(value);
}

std::vector<std::uint8_t> BuildGeometryFile(const MeshDocument& doc, const std::vector<FaceCoordinates>& corners) {
  ByteWriter out;
  out.bytes().reserve(layout::kGeometryHeader + corners.size() * layout::kFaceRecord);
  out.u16(static_cast<std::uint16_t>(doc.triangleCount));
  out.u16(static_cast<std::uint16_t>(doc.vertexCount));
  out.zeros(layout::kGeometryReserved);
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const MeshTriangle& face = doc.triangles[i];
    for (std::int16_t index : face.vertex) out.u16(static_cast<std::uint16_t>(index));
    out.u8(face.type);
    out.u8(face.color);
    for (const UvPair& corner : corners[i]) {
      out.u8(CoordinateByte(corner.u));
      out.u8(CoordinateByte(corner.v));
    }
    out.u8(face.textureNum);
    out.u8(face.flags);
  }
  return std::move(out.bytes());
}

// The corners a load reads back from what is written for these: corners that
// only the clamp brought within the merge distance come back as one. Saving
// those instead keeps save, load, save byte for byte.
std::vector<FaceCoordinates> CornersAsReadBack(const MeshDocument& doc, std::vector<FaceCoordinates> corners) {
  Result<GeometryData> geometry = ParseGeometry(BuildGeometryFile(doc, corners));
  if (!geometry) return corners;
  auto scratch = std::make_unique<MeshDocument>();
  scratch->placeholderSpec = doc.placeholderSpec;
  InfoFileData info{doc.fileInfo, doc.triangleCount, std::move(corners)};
  CommitMapping(*scratch, *geometry, info, InfoFileUse{true, true});
  bool clamped = false;
  return CornersInChannelUnits(*scratch, clamped);
}

// The animation file a piece at a time: the header with the first frames,
// then the following frames, packed into one reused buffer, so a save of a
// long animation neither holds the whole file in memory nor touches it twice.
class AnimationPieces {
 public:
  explicit AnimationPieces(const MeshDocument& doc)
      : doc_(doc),
        deusEx_(doc.vertexLayout == VertexLayout::DeusEx),
        vertexCount_(static_cast<std::size_t>(std::max<int>(doc.vertexCount, 0))),
        frameSize_(vertexCount_ * (deusEx_ ? layout::kDeusExVertex : layout::kPackedVertex)),
        framesPerPiece_(std::max<std::size_t>(1, kPieceBytes / std::max<std::size_t>(frameSize_, 1))) {}

  std::size_t fileSize() const { return 4 + doc_.frames.size() * frameSize_; }
  int clampedVertices() const { return clampedVertices_; }

  // The next piece of the file; empty after the last.
  std::span<const std::uint8_t> next() {
    const bool first = !headerDone_;
    const std::size_t frames = std::min(framesPerPiece_, doc_.frames.size() - nextFrame_);
    if (!first && frames == 0) return {};
    buffer_.resize((first ? 4 : 0) + frames * frameSize_);
    std::uint8_t* at = buffer_.data();
    if (first) {
      StoreLittle(at, static_cast<std::uint16_t>(doc_.frames.size()), 2);
      StoreLittle(at + 2, static_cast<std::uint16_t>(frameSize_), 2);
      at += 4;
      headerDone_ = true;
    }
    for (std::size_t f = nextFrame_; f < nextFrame_ + frames; ++f, at += frameSize_) PackInto(*doc_.frames[f], at);
    nextFrame_ += frames;
    return buffer_;
  }

 private:
  static constexpr std::size_t kPieceBytes = 128 * 1024;

  void PackInto(const AnimFrame& frame, std::uint8_t* at) {
    const std::size_t held = std::min(vertexCount_, frame.positions.size());
    if (!deusEx_) {
      clampedVertices_ += PackFrame(frame.positions.data(), held, at);
      // Entries a frame does not hold are 0, PackVertex's word for 0.
      std::fill(at + held * layout::kPackedVertex, at + frameSize_, std::uint8_t{0});
      return;
    }
    for (std::size_t i = 0; i < vertexCount_; ++i, at += layout::kDeusExVertex) {
      bool clamped = false;
      DeusExVertex stored = EncodeDeusExVertex(i < held ? frame.positions[i] : Vec3{}, &clamped);
      StoreLittle(at, static_cast<std::uint16_t>(stored.x), 2);
      StoreLittle(at + 2, static_cast<std::uint16_t>(stored.y), 2);
      StoreLittle(at + 4, static_cast<std::uint16_t>(stored.z), 2);
      StoreLittle(at + 6, 0, 2);
      if (clamped) ++clampedVertices_;
    }
  }

  const MeshDocument& doc_;
  const bool deusEx_;
  const std::size_t vertexCount_;
  const std::size_t frameSize_;
  const std::size_t framesPerPiece_;
  std::vector<std::uint8_t> buffer_;
  std::size_t nextFrame_ = 0;
  bool headerDone_ = false;
  int clampedVertices_ = 0;
};

std::string ClampedVerticesWarning(int count) {
  return std::to_string(count) +
         " vertex positions lay outside the range the Animation data can hold and were clamped to it.";
}

constexpr const char* kClampedCoordinatesWarning =
    "Some texture coordinates lay far outside their skin and were saved clamped.";

enum class StaleInfo { None, Removed, Stuck };

// An old info file that would survive a save without one is removed, so the
// next load does not put its coordinates on the new geometry. A directory in
// the way holds none and stays.
StaleInfo RemoveStaleInfoFile(const std::string& path) {
  if (::unlink(path.c_str()) == 0) return StaleInfo::Removed;
  return errno == ENOENT || errno == EISDIR ? StaleInfo::None : StaleInfo::Stuck;
}

// The geometry and info files with the warning about clamped coordinates;
// the animation file is the caller's, whole or in pieces.
Result<MeshFileContents> BuildMappingFiles(const MeshDocument& doc) {
  if (doc.frames.size() > kMaxAnimationFrames) return Error{kAnimationSaveError, "XXX_a.3d"};
  MeshFileContents files;
  bool clampedCoordinates = false;
  std::vector<FaceCoordinates> corners = CornersInChannelUnits(doc, clampedCoordinates);
  if (clampedCoordinates) corners = CornersAsReadBack(doc, std::move(corners));
  files.geometry = BuildGeometryFile(doc, corners);
  files.info = WriteInfoFile(doc.fileInfo, corners);
  if (clampedCoordinates) files.warnings.push_back(kClampedCoordinatesWarning);
  return files;
}

// The clamped vertices are told before the clamped coordinates.
void AddClampedVerticesWarning(std::vector<std::string>& warnings, int clampedVertices) {
  if (clampedVertices > 0) warnings.insert(warnings.begin(), ClampedVerticesWarning(clampedVertices));
}

}  // namespace

Result<MeshFileContents> BuildMeshFiles(const MeshDocument& doc) {
  Result<MeshFileContents> files = BuildMappingFiles(doc);
  if (!files) return files;
  AnimationPieces pieces(doc);
  files->animation.reserve(pieces.fileSize());
  for (auto piece = pieces.next(); !piece.empty(); piece = pieces.next())
    files->animation.insert(files->animation.end(), piece.begin(), piece.end());
  AddClampedVerticesWarning(files->warnings, pieces.clampedVertices());
  return files;
}

Result<MeshFileReport> SaveMesh(const MeshDocument& doc, const std::string& name, const FileWriter& writer) {
  std::optional<MeshFileNames> names = IdentifyMeshName(name);
  if (!names) return Error{kIdentifyMessage, name};
  Result<MeshFileContents> contents = BuildMappingFiles(doc);
  if (!contents) return Error{contents.error().message, names->animation};

  FileSet files(writer);
  if (files.stage(names->geometry, contents->geometry) != FileErrorCause::None)
    return Error{kGeometrySaveError, names->geometry};
  AnimationPieces animation(doc);
  if (files.stage(names->animation, [&animation] { return animation.next(); }) != FileErrorCause::None)
    return Error{kAnimationSaveError, names->animation};
  AddClampedVerticesWarning(contents->warnings, animation.clampedVertices());
  MeshFileReport report;
  if (files.stage(names->info, contents->info) != FileErrorCause::None) {
    report.warnings.push_back(kInfoSaveWarning);
    StaleInfo stale = RemoveStaleInfoFile(names->info);
    if (stale == StaleInfo::Stuck) return Error{kStaleInfoStuckMessage, names->info};
    if (stale == StaleInfo::Removed) report.warnings.push_back(kStaleInfoRemovedWarning);
  }
  if (files.commit(CommitJournalFor(names->geometry)) != FileErrorCause::None)
    return Error{kGeometrySaveError, names->geometry};
  report.warnings.insert(report.warnings.end(), contents->warnings.begin(), contents->warnings.end());
  return report;
}

}  // namespace mok
