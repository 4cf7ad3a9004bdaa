#include "core/mesh_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "core/info_file.h"
#include "core/mesh_names.h"
#include "core/packed_vertex.h"
#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

using test::AnimationFile;
using test::GeometryFile;
using test::ReadBytes;
using test::TestFace;
using test::WriteBytes;

std::vector<TestFace> SquareFaces() {
  TestFace a;
  a.vertex[0] = 0, a.vertex[1] = 1, a.vertex[2] = 2;
  a.type = 0x12;
  a.color = 7;
  a.textureNum = 1;
  a.flags = 3;
  std::uint8_t uvA[6] = {0, 0, 128, 0, 128, 128};
  std::copy(uvA, uvA + 6, a.uv);
  TestFace b;
  b.vertex[0] = 0, b.vertex[1] = 2, b.vertex[2] = 3;
  std::uint8_t uvB[6] = {0, 0, 128, 128, 0, 255};
  std::copy(uvB, uvB + 6, b.uv);
  return {a, b};
}

std::vector<std::uint32_t> SquareFrame(float lift) {
  return {PackVertex({0, 0, lift}), PackVertex({1, 0, lift}), PackVertex({1, 1, lift}), PackVertex({0, 1, lift})};
}

// What a refused load must leave alone.
struct DocumentSnapshot {
  int triangleCount, vertexCount, meshLoaded;
  std::size_t frames;
  const Vec3* currentVertices;
  std::string author;
  UvPair firstCorner;

  explicit DocumentSnapshot(const MeshDocument& doc)
      : triangleCount(doc.triangleCount),
        vertexCount(doc.vertexCount),
        meshLoaded(doc.meshLoaded),
        frames(doc.frames.size()),
        currentVertices(doc.currentVertices),
        author(doc.fileInfo.authorName),
        firstCorner(doc.triangles[0].uv[0]) {}
  bool operator==(const DocumentSnapshot& o) const {
    return triangleCount == o.triangleCount && vertexCount == o.vertexCount && meshLoaded == o.meshLoaded &&
           frames == o.frames && currentVertices == o.currentVertices && author == o.author &&
           firstCorner.u == o.firstCorner.u && firstCorner.v == o.firstCorner.v;
  }
};

class MeshFiles : public ::testing::Test {
 protected:
  void WriteSquare(const std::string& base, int frames = 2) {
    WriteBytes(dir / (base + "_d.3d"), GeometryFile(2, 4, SquareFaces()));
    std::vector<std::uint32_t> words;
    for (int f = 0; f < frames; ++f) {
      auto frame = SquareFrame(static_cast<float>(f));
      words.insert(words.end(), frame.begin(), frame.end());
    }
    WriteBytes(dir / (base + "_a.3d"), AnimationFile(frames, 16, words));
  }
  Result<MeshFileReport> Load(const std::string& name) { return LoadMesh(*doc, dir / name, prompter); }

  // Loads a good mesh with an author, then expects the load of name to be
  // refused with message and the document to stay as it was.
  void ExpectRefused(const std::string& name, const std::string& message) {
    WriteSquare("good");
    ASSERT_TRUE(Load("good_d.3d"));
    doc->fileInfo.authorName = "kept";
    DocumentSnapshot before(*doc);
    auto result = Load(name);
    ASSERT_FALSE(result);
    EXPECT_EQ(result.error().message, message);
    EXPECT_TRUE(DocumentSnapshot(*doc) == before);
  }

  test::TempDir dir;
  test::ScriptedPrompter prompter;
  std::unique_ptr<MeshDocument> doc = std::make_unique<MeshDocument>();
};

TEST_F(MeshFiles, LoadFillsFacesFramesAndTexelCoordinates) {
  WriteSquare("ship");
  auto loaded = Load("ship_d.3d");
  ASSERT_TRUE(loaded) << loaded.error().message;
  EXPECT_TRUE(loaded->warnings.empty());
  EXPECT_EQ(doc->meshLoaded, 1);
  EXPECT_EQ(doc->triangleCount, 2);
  EXPECT_EQ(doc->vertexCount, 4);
  ASSERT_EQ(doc->frames.size(), 2u);
  EXPECT_EQ(doc->frames[1]->name, "1");
  EXPECT_EQ(doc->currentVertices, doc->frames[0]->positions.data());
  EXPECT_EQ(doc->frames[1]->positions[2].x, 1.0f);
  EXPECT_EQ(doc->frames[1]->positions[2].z, 1.0f);
  const MeshTriangle& a = doc->triangles[0];
  EXPECT_EQ(a.type, 0x12);
  EXPECT_EQ(a.color, 7);
  EXPECT_EQ(a.textureNum, 1);
  EXPECT_EQ(a.flags, 3);
  // 128 of 256 on a 32-texel placeholder is texel 16.
  EXPECT_EQ(a.uv[1].u, 16.0f);
  EXPECT_EQ(doc->triangles[1].uv[2].v, 255 * 32 / 256.0f);
  EXPECT_EQ(doc->slotCount(), 16);
  EXPECT_FLOAT_EQ(a.normal.z, 1.0f);
}

TEST_F(MeshFiles, AnyAcceptedNameLoadsThePair) {
  WriteSquare("ship");
  for (const char* name : {"ship_A.3D", "ship_a.3d", "ship.3d", "ship_k.3d"}) {
    SCOPED_TRACE(name);
    auto fresh = std::make_unique<MeshDocument>();
    EXPECT_TRUE(LoadMesh(*fresh, dir / name, prompter));
    EXPECT_EQ(fresh->triangleCount, 2);
  }
  auto refused = Load("ship.3ds");
  ASSERT_FALSE(refused);
  EXPECT_EQ(refused.error().message, kIdentifyMessage);
}

TEST_F(MeshFiles, PlainGeometryNameIsUsedWhenTheDFileIsMissing) {
  WriteSquare("ship");
  std::filesystem::rename(dir / "ship_d.3d", dir / "ship.3d");
  auto loaded = Load("ship_a.3d");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(doc->triangleCount, 2);
}

TEST_F(MeshFiles, MissingGeometryOrAnimationIsAnError) {
  WriteSquare("ship");
  std::filesystem::remove(dir / "ship_a.3d");
  auto noAnimation = Load("ship_d.3d");
  ASSERT_FALSE(noAnimation);
  EXPECT_EQ(noAnimation.error().message, kAnimationLoadError);
  auto noGeometry = Load("none_d.3d");
  ASSERT_FALSE(noGeometry);
  EXPECT_EQ(noGeometry.error().message, kGeometryLoadError);
}

TEST_F(MeshFiles, LargerFrameSizeUsesTheFirstVertexCountWords) {
  WriteBytes(dir / "ship_d.3d", GeometryFile(2, 4, SquareFaces()));
  auto frame = SquareFrame(2);
  frame.push_back(0xFFFFFFFF);  // one unused word per block
  WriteBytes(dir / "ship_a.3d", AnimationFile(1, 20, frame));
  ASSERT_TRUE(Load("ship_d.3d"));
  EXPECT_EQ(doc->vertexLayout, VertexLayout::Packed);
  EXPECT_EQ(doc->currentVertices[3].y, 1.0f);
  EXPECT_EQ(doc->currentVertices[3].z, 2.0f);
  ASSERT_TRUE(SaveMesh(*doc, dir / "out.3d"));
  auto saved = ReadBytes(dir / "out_a.3d");
  EXPECT_EQ(saved, AnimationFile(1, 16, SquareFrame(2)));
}

TEST_F(MeshFiles, FrameSizeOfEightBytesPerVertexIsTheDeusExLayoutAndSavesBackAsIt) {
  WriteBytes(dir / "ship_d.3d", GeometryFile(2, 4, SquareFaces()));
  ByteWriter frame;
  frame.u16(1);
  frame.u16(32);
  for (int v = 0; v < 4; ++v) {
    frame.i16(static_cast<std::int16_t>(128 * v));
    frame.i16(-64);
    frame.i16(static_cast<std::int16_t>(-300 * v));
    frame.i16(0);
  }
  WriteBytes(dir / "ship_a.3d", frame.bytes());
  ASSERT_TRUE(Load("ship_d.3d"));
  EXPECT_EQ(doc->vertexLayout, VertexLayout::DeusEx);
  EXPECT_EQ(doc->currentVertices[3].x, 3.0f);
  EXPECT_EQ(doc->currentVertices[3].y, 0.5f);
  EXPECT_EQ(doc->currentVertices[3].z, -900 / 128.0f);
  ASSERT_TRUE(SaveMesh(*doc, dir / "out.3d"));
  EXPECT_EQ(ReadBytes(dir / "out_a.3d"), frame.bytes());
}

TEST_F(MeshFiles, MeshWithoutFramesHasNoCurrentVerticesAndNoNormals) {
  WriteBytes(dir / "ship_d.3d", GeometryFile(2, 4, SquareFaces()));
  WriteBytes(dir / "ship_a.3d", AnimationFile(0, 16, {}));
  ASSERT_TRUE(Load("ship_d.3d"));
  EXPECT_EQ(doc->currentVertices, nullptr);
  EXPECT_EQ(doc->triangles[0].normal.z, 0.0f);
  ASSERT_TRUE(SaveMesh(*doc, dir / "out.3d"));
  EXPECT_EQ(ReadBytes(dir / "out_a.3d"), AnimationFile(0, 16, {}));
}

TEST_F(MeshFiles, SavingIntoAnInfoFileNameWritesAllThree) {
  WriteSquare("ship");
  ASSERT_TRUE(Load("ship_d.3d"));
  ASSERT_TRUE(SaveMesh(*doc, dir / "copy_K.3d"));
  EXPECT_EQ(ReadBytes(dir / "copy_d.3d"), ReadBytes(dir / "ship_d.3d"));
  EXPECT_EQ(ReadBytes(dir / "copy_a.3d"), ReadBytes(dir / "ship_a.3d"));
  EXPECT_EQ(ReadBytes(dir / "copy_k.3d").size(), 7606u + 2 * 24);
}

TEST_F(MeshFiles, CoordinatesAtTheSkinEdgeAreSavedAs255AndBelowZeroAs0) {
  WriteSquare("ship");
  ASSERT_TRUE(Load("ship_d.3d"));
  MeshTriangle& b = doc->triangles[1];
  doc->uvVertices[static_cast<std::size_t>(b.uvIndex[1])] = {32.0f, -3.0f};  // u = width of the 32-texel skin
  ASSERT_TRUE(SaveMesh(*doc, dir / "out.3d"));
  auto saved = ReadBytes(dir / "out_d.3d");
  EXPECT_EQ(saved[48 + 16 + 8 + 2], 255);
  EXPECT_EQ(saved[48 + 16 + 8 + 3], 0);
}

TEST_F(MeshFiles, FacesBeyondTheVertexCountLoadWithAWarningAndSaveBackUnchanged) {
  auto faces = SquareFaces();
  faces[1].vertex[2] = 4095;
  WriteBytes(dir / "ship_d.3d", GeometryFile(2, 4, faces));
  WriteBytes(dir / "ship_a.3d", AnimationFile(1, 16, SquareFrame(1)));
  auto loaded = Load("ship_d.3d");
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->warnings.size(), 1u);
  EXPECT_EQ(loaded->warnings[0], "1 triangles use vertices beyond the vertex count of 4; their positions read as 0.");
  ASSERT_EQ(doc->frames[0]->positions.size(), 4096u);
  EXPECT_EQ(doc->currentVertices[4095].z, 0.0f);
  ASSERT_TRUE(SaveMesh(*doc, dir / "out.3d"));
  EXPECT_EQ(ReadBytes(dir / "out_d.3d"), ReadBytes(dir / "ship_d.3d"));
  EXPECT_EQ(ReadBytes(dir / "out_a.3d"), ReadBytes(dir / "ship_a.3d"));
}

TEST_F(MeshFiles, IncompleteLastFrameLoadsWithOneWarning) {
  WriteBytes(dir / "ship_d.3d", GeometryFile(2, 4, SquareFaces()));
  auto words = SquareFrame(1);
  auto second = SquareFrame(2);
  words.insert(words.end(), second.begin(), second.end() - 2);
  WriteBytes(dir / "ship_a.3d", AnimationFile(2, 16, words));
  auto loaded = Load("ship_d.3d");
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->warnings.size(), 1u);
  EXPECT_EQ(loaded->warnings[0],
            "The Animation data's last frame is 8 bytes short; the missing vertex positions read as 0.");
  EXPECT_EQ(doc->frames[1]->positions[1].z, 2.0f);
  EXPECT_EQ(doc->frames[1]->positions[2].z, 0.0f);
}

TEST_F(MeshFiles, OutOfRangePositionsAreClampedOnSaveAndCounted) {
  WriteSquare("ship");
  ASSERT_TRUE(Load("ship_d.3d"));
  doc->frames[0]->positions[0].x = 500.0f;
  doc->frames[1]->positions[3].z = -500.0f;
  auto saved = SaveMesh(*doc, dir / "out.3d");
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->warnings.size(), 1u);
  EXPECT_EQ(saved->warnings[0],
            "2 vertex positions lay outside the range the Animation data can hold and were clamped to it.");
  auto fresh = std::make_unique<MeshDocument>();
  ASSERT_TRUE(LoadMesh(*fresh, dir / "out.3d", prompter));
  EXPECT_EQ(fresh->frames[0]->positions[0].x, 127.875f);
  EXPECT_EQ(fresh->frames[1]->positions[3].z, -128.0f);
}

TEST_F(MeshFiles, RefusesTooManyTriangles) {
  WriteBytes(dir / "bad_d.3d", GeometryFile(4097, 4, {}));
  WriteBytes(dir / "bad_a.3d", AnimationFile(1, 16, SquareFrame(0)));
  ExpectRefused("bad_d.3d", kTooManyTrianglesMessage);
}

TEST_F(MeshFiles, RefusesTooManyVertices) {
  WriteBytes(dir / "bad_d.3d", GeometryFile(2, 4097, SquareFaces()));
  WriteBytes(dir / "bad_a.3d", AnimationFile(0, 0, {}));
  ExpectRefused("bad_d.3d", kTooManyVerticesMessage);
}

TEST_F(MeshFiles, RefusesGeometryShorterThanItsFaceCount) {
  WriteBytes(dir / "bad_d.3d", GeometryFile(3, 4, SquareFaces()));
  WriteBytes(dir / "bad_a.3d", AnimationFile(1, 16, SquareFrame(0)));
  ExpectRefused("bad_d.3d", kGeometryShortMessage);
  WriteBytes(dir / "bad_d.3d", {2, 0, 4, 0});
  ExpectRefused("bad_d.3d", kGeometryShortMessage);
}

TEST_F(MeshFiles, RefusesAVertexIndexOf4096) {
  auto faces = SquareFaces();
  faces[0].vertex[1] = 4096;
  WriteBytes(dir / "bad_d.3d", GeometryFile(2, 4, faces));
  WriteBytes(dir / "bad_a.3d", AnimationFile(1, 16, SquareFrame(0)));
  ExpectRefused("bad_d.3d", kVertexIndexMessage);
}

TEST_F(MeshFiles, RefusesAFrameSizeBelowFourBytesPerVertex) {
  WriteBytes(dir / "bad_d.3d", GeometryFile(2, 4, SquareFaces()));
  WriteBytes(dir / "bad_a.3d", AnimationFile(1, 12, SquareFrame(0)));
  ExpectRefused("bad_d.3d", kFrameSizeMessage);
}

TEST_F(MeshFiles, RefusesAnAnimationFileMissingAWholeFrame) {
  WriteBytes(dir / "bad_d.3d", GeometryFile(2, 4, SquareFaces()));
  WriteBytes(dir / "bad_a.3d", AnimationFile(2, 16, SquareFrame(0)));
  ExpectRefused("bad_d.3d", kAnimationShortMessage);
  WriteBytes(dir / "bad_a.3d", {1, 0});
  ExpectRefused("bad_d.3d", kAnimationShortMessage);
}

TEST_F(MeshFiles, RefusesFramesThatWouldNeedAbsurdMemory) {
  // 65535 frames of nothing, but a face reaching vertex 4095: gigabytes of
  // positions from a few bytes.
  auto faces = SquareFaces();
  faces[0].vertex[2] = 4095;
  WriteBytes(dir / "bad_d.3d", GeometryFile(2, 0, faces));
  WriteBytes(dir / "bad_a.3d", AnimationFile(65535, 0, {}));
  ExpectRefused("bad_d.3d", kAnimationTooLargeMessage);
}

TEST_F(MeshFiles, RefusesAnInfoFileThatEndsEarly) {
  WriteSquare("bad");
  auto info = WriteInfoFile(FileInfo{}, std::vector<FaceCoordinates>(2));
  info.resize(info.size() - 1);
  WriteBytes(dir / "bad_k.3d", info);
  ExpectRefused("bad_d.3d", kInfoInvalidMessage);
}

TEST_F(MeshFiles, FailedAnimationWriteLeavesTheOldFilesAndNoTemporaries) {
  WriteSquare("ship");
  ASSERT_TRUE(Load("ship_d.3d"));
  WriteBytes(dir / "old_d.3d", {1, 2, 3});
  std::filesystem::create_directory(dir / "old_a.3d");
  auto saved = SaveMesh(*doc, dir / "old.3d");
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.error().message, kAnimationSaveError);
  EXPECT_EQ(ReadBytes(dir / "old_d.3d"), (std::vector<std::uint8_t>{1, 2, 3}));
  EXPECT_FALSE(std::filesystem::exists(dir / "old_k.3d"));
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 4);  // ship_d, ship_a, old_d, old_a, nothing else
}

TEST_F(MeshFiles, FailedGeometryWriteInAReadOnlyFolderLeavesTheOldFiles) {
  if (::geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  WriteSquare("ship");
  ASSERT_TRUE(Load("ship_d.3d"));
  doc->frames[0]->positions[0].x = 5;
  auto before = ReadBytes(dir / "ship_a.3d");
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  auto saved = SaveMesh(*doc, dir / "ship.3d");
  std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.error().message, kGeometrySaveError);
  EXPECT_EQ(ReadBytes(dir / "ship_a.3d"), before);
}

TEST_F(MeshFiles, DirectoryInTheWayOfTheGeometryFileFailsBeforeAnythingIsReplaced) {
  WriteSquare("ship");
  ASSERT_TRUE(Load("ship_d.3d"));
  WriteBytes(dir / "old_a.3d", {9, 9});
  std::filesystem::create_directory(dir / "old_d.3d");
  auto saved = SaveMesh(*doc, dir / "old_a.3d");
  ASSERT_FALSE(saved);
  EXPECT_EQ(saved.error().message, kGeometrySaveError);
  EXPECT_EQ(ReadBytes(dir / "old_a.3d"), (std::vector<std::uint8_t>{9, 9}));
}

TEST_F(MeshFiles, InfoFileThatCannotBeWrittenIsNotFatal) {
  WriteSquare("ship");
  ASSERT_TRUE(Load("ship_d.3d"));
  std::filesystem::create_directory(dir / "out_k.3d");
  auto saved = SaveMesh(*doc, dir / "out.3d");
  ASSERT_TRUE(saved);
  ASSERT_EQ(saved->warnings.size(), 1u);
  EXPECT_EQ(saved->warnings[0], kInfoSaveWarning);
  EXPECT_EQ(ReadBytes(dir / "out_d.3d"), ReadBytes(dir / "ship_d.3d"));
  EXPECT_EQ(ReadBytes(dir / "out_a.3d"), ReadBytes(dir / "ship_a.3d"));
}

// An info file too short to hold its magic is no info file: the mesh loads
// with the same warning as for a wrong magic.
TEST_F(MeshFiles, EmptyOrShortInfoFileWarnsAndTheMeshLoads) {
  WriteSquare("ship");
  for (std::vector<std::uint8_t> info : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{'K', '3', 'D'}}) {
    WriteBytes(dir / "ship_k.3d", info);
    auto loaded = Load("ship_d.3d");
    ASSERT_TRUE(loaded) << info.size();
    EXPECT_EQ(loaded->warnings, std::vector<std::string>{kInfoInvalidMessage});
    EXPECT_EQ(doc->triangleCount, 2);
  }
}

// Huge but finite coordinates in an info file are refused like non-finite
// ones; a document holding such coordinates saves them clamped, so what is
// saved loads again.
TEST_F(MeshFiles, CoordinatesBeyondWhatATexelCanHoldAreRefusedOnLoadAndClampedOnSave) {
  WriteSquare("bad");
  std::vector<FaceCoordinates> corners(2);
  corners[1][2] = {3e38f, 0};
  WriteBytes(dir / "bad_k.3d", WriteInfoFile(FileInfo{}, corners));
  ExpectRefused("bad_d.3d", kInfoInvalidMessage);

  ASSERT_TRUE(Load("good_d.3d"));
  doc->uvVertices[static_cast<std::size_t>(doc->triangles[1].uvIndex[2])] = {1e30f, -1e30f};
  auto saved = SaveMesh(*doc, dir / "out.3d");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->warnings.size(), 1u);
  ASSERT_TRUE(Load("out_d.3d"));
  UvPair reloaded = doc->InChannelUnits(0, doc->triangles[1].uv[2]);
  EXPECT_FLOAT_EQ(reloaded.u, kMaxChannelUnits);
  EXPECT_FLOAT_EQ(reloaded.v, -kMaxChannelUnits);
}

// A FIFO would block the open for ever; it is refused by its type first.
TEST_F(MeshFiles, AFifoInPlaceOfAMeshFileIsRefusedWithoutOpeningIt) {
  WriteSquare("pipe");
  ASSERT_EQ(::mkfifo((dir / "pipe_k.3d").c_str(), 0600), 0);
  auto loaded = Load("pipe_d.3d");
  ASSERT_TRUE(loaded);
  EXPECT_EQ(loaded->warnings, std::vector<std::string>{kInfoNotRegularWarning});
  std::filesystem::remove(dir / "pipe_a.3d");
  ASSERT_EQ(::mkfifo((dir / "pipe_a.3d").c_str(), 0600), 0);
  loaded = Load("pipe_d.3d");
  ASSERT_FALSE(loaded);
  EXPECT_EQ(loaded.error().message, kNotRegularFileMessage);
  EXPECT_EQ(ReadWholeFile(dir.path().string()).cause, FileErrorCause::AccessDenied);
}

// The info file cannot be written (disk full there): the old one, whose
// coordinates would override the new mapping on the next load, is removed.
TEST_F(MeshFiles, AnInfoFileThatCannotBeWrittenTakesTheOldOneAway) {
  WriteSquare("ship");
  ASSERT_TRUE(Load("ship_d.3d"));
  ASSERT_TRUE(SaveMesh(*doc, dir / "ship.3d"));
  const int channel = doc->triangles[0].textureNum;
  UvPair& moved = doc->uvVertices[static_cast<std::size_t>(doc->triangles[0].uvIndex[1])];
  moved = {moved.u * 0.5f + 0.3f, moved.v + 0.7f};
  const UvPair wanted = doc->InChannelUnits(channel, moved);
  int writes = 0;
  FileWriter fullAtTheInfoFile = [&](int fd, std::span<const std::uint8_t> bytes) {
    return ++writes == 3 ? FileErrorCause::DiskFull : WriteAllBytes(fd, bytes);
  };
  auto saved = SaveMesh(*doc, dir / "ship.3d", fullAtTheInfoFile);
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->warnings, (std::vector<std::string>{kInfoSaveWarning, kStaleInfoRemovedWarning}));
  EXPECT_FALSE(std::filesystem::exists(dir / "ship_k.3d"));
  ASSERT_TRUE(Load("ship_d.3d"));
  UvPair reloaded = doc->InChannelUnits(channel, doc->triangles[0].uv[1]);  // byte precision: 16 units
  EXPECT_NEAR(reloaded.u, wanted.u, 16);
  EXPECT_NEAR(reloaded.v, wanted.v, 16);
}

// Names up to the file system's limit save: the temporary name beside them
// is shortened to fit.
TEST_F(MeshFiles, ABaseNameAtTheNameLimitSavesAndLoads) {
  WriteSquare("ship");
  ASSERT_TRUE(Load("ship_d.3d"));
  std::string base(250, 'm');
  auto saved = SaveMesh(*doc, dir / (base + ".3d"));
  ASSERT_TRUE(saved) << saved.error().message;
  EXPECT_TRUE(Load(base + "_k.3d"));
  int entries = 0;
  for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir.path())) ++entries;
  EXPECT_EQ(entries, 5);  // ship_d, ship_a and the three new files
}

}  // namespace
}  // namespace mok

namespace mok {
namespace {

// Cut short or scrambled copies of a real mesh either load or are refused;
// none may crash or read outside its data (run under the sanitizers too).
TEST(MeshFilesHostile, TruncatedAndScrambledCopiesOfARealMeshNeverCrash) {
  auto folder = std::filesystem::path(MOK_SHARED_TESTDATA) / "real" / "unreal";
  if (!std::filesystem::exists(folder / "bottle_d.3d")) GTEST_SKIP();
  auto geometry = ReadBytes((folder / "bottle_d.3d").string());
  auto animation = ReadBytes((folder / "bottle_a.3d").string());
  test::TempDir dir;
  test::ScriptedPrompter prompter;
  auto doc = std::make_unique<MeshDocument>();
  int loads = 0;
  auto tryLoad = [&](const std::vector<std::uint8_t>& d, const std::vector<std::uint8_t>& a) {
    WriteBytes(dir / "m_d.3d", d);
    WriteBytes(dir / "m_a.3d", a);
    // Saving syncs to disk; a sample of the loaded meshes is enough.
    if (LoadMesh(*doc, dir / "m_d.3d", prompter) && ++loads % 25 == 0) {
      EXPECT_TRUE(SaveMesh(*doc, dir / "out.3d"));
    }
  };
  for (std::size_t n = 0; n < geometry.size(); n += 7) tryLoad({geometry.begin(), geometry.begin() + static_cast<std::ptrdiff_t>(n)}, animation);
  for (std::size_t n = 0; n < animation.size(); n += 3) tryLoad(geometry, {animation.begin(), animation.begin() + static_cast<std::ptrdiff_t>(n)});
  std::uint32_t seed = 12345;
  auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
  for (int round = 0; round < 300; ++round) {
    auto d = geometry;
    auto a = animation;
    for (int flips = 0; flips < 4; ++flips) {
      d[next() % d.size()] = static_cast<std::uint8_t>(next() >> 24);
      a[next() % std::min<std::size_t>(a.size(), 8)] = static_cast<std::uint8_t>(next() >> 24);
    }
    tryLoad(d, a);
  }
}

}  // namespace
}  // namespace mok
