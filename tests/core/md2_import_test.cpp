#include "core/md2_import.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <filesystem>
#include <set>

#include "core/byte_writer.h"
#include "core/file_io.h"
#include "core/mesh_files.h"
#include "tests/support/scripted_prompter.h"

namespace mok {
namespace {

struct TestFrame {
  std::string name;  // up to 16 characters; 16 leaves no terminator
  float scale[3];
  float translate[3];
  std::vector<std::array<std::uint8_t, 3>> vertices;
};

struct TestMd2 {
  int skinWidth = 256, skinHeight = 256;
  std::vector<std::array<std::int16_t, 2>> texCoords;
  std::vector<std::array<std::int16_t, 6>> triangles;  // vertex[3], texCoord[3]
  std::vector<TestFrame> frames;
  int vertexCount() const { return frames.empty() ? 3 : static_cast<int>(frames[0].vertices.size()); }
};

// Writes the published layout: header, texture coordinates, triangles, frames.
std::vector<std::uint8_t> Encode(const TestMd2& m) {
  int frameSize = 40 + 4 * m.vertexCount();
  int ofsSt = 68, ofsTris = ofsSt + 4 * int(m.texCoords.size());
  int ofsFrames = ofsTris + 12 * int(m.triangles.size());
  int ofsEnd = ofsFrames + frameSize * int(m.frames.size());
  ByteWriter w;
  w.text("IDP2");
  for (int v : {8, m.skinWidth, m.skinHeight, frameSize, 0, m.vertexCount(), int(m.texCoords.size()),
                int(m.triangles.size()), 0, int(m.frames.size()), ofsEnd, ofsSt, ofsTris, ofsFrames, ofsEnd, ofsEnd})
    w.i32(v);
  for (auto& st : m.texCoords) {
    w.i16(st[0]);
    w.i16(st[1]);
  }
  for (auto& t : m.triangles)
    for (std::int16_t v : t) w.i16(v);
  for (auto& f : m.frames) {
    for (float s : f.scale) w.f32(s);
    for (float t : f.translate) w.f32(t);
    char name[16] = {};
    std::memcpy(name, f.name.data(), std::min<std::size_t>(16, f.name.size()));
    w.raw(name, 16);
    for (auto& v : f.vertices) {
      w.raw(v.data(), 3);
      w.u8(0);
    }
  }
  return std::move(w.bytes());
}

// A quad of two triangles sharing texture coordinate 1; coordinates 0 and 3 are equal.
TestMd2 Quad() {
  TestMd2 m;
  m.texCoords = {{0, 0}, {128, 0}, {128, 128}, {0, 0}, {0, 128}};
  m.triangles = {{0, 1, 2, 0, 1, 2}, {0, 2, 3, 3, 2, 4}};
  m.frames.push_back({"stand01", {0.5f, 1, 2}, {-10, 0, 5}, {{0, 0, 0}, {20, 0, 0}, {20, 20, 0}, {0, 20, 255}}});
  m.frames.push_back({"stand02", {1, 1, 1}, {0, 0, 0}, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}}});
  return m;
}

TEST(ReadMd2, ImportsFramesWithNamesAndScaledPositions) {
  auto doc = std::make_unique<MeshDocument>();
  auto model = ReadMd2(Encode(Quad()));
  ASSERT_TRUE(model) << model.error().message;
  InstallMd2(*doc, std::move(*model));
  ASSERT_EQ(doc->frames.size(), 2u);
  EXPECT_EQ(doc->frames[0]->name, "stand01");
  EXPECT_EQ(doc->frames[1]->name, "stand02");
  EXPECT_EQ(doc->triangleCount, 2);
  EXPECT_EQ(doc->vertexCount, 4);
  EXPECT_EQ(doc->meshLoaded, 1);
  EXPECT_EQ(doc->currentVertices, doc->frames[0]->positions.data());
  const Vec3& p = doc->frames[0]->positions[3];
  EXPECT_FLOAT_EQ(p.x, -10);
  EXPECT_FLOAT_EQ(p.y, 20);
  EXPECT_FLOAT_EQ(p.z, 255 * 2 + 5);
  EXPECT_FLOAT_EQ(doc->frames[0]->positions[1].x, 0);
  EXPECT_FLOAT_EQ(doc->frames[1]->positions[2].z, 9);
  EXPECT_FLOAT_EQ(doc->triangles[0].normal.z, 1);
}

TEST(ReadMd2, RescalesCoordinatesToTheSlotAndMergesEqualOnes) {
  auto doc = std::make_unique<MeshDocument>();  // default skins are 32 x 32
  auto model = ReadMd2(Encode(Quad()));
  ASSERT_TRUE(model);
  InstallMd2(*doc, std::move(*model));
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[1].u, 16);
  EXPECT_FLOAT_EQ(doc->triangles[1].uv[2].v, 16);
  EXPECT_EQ(doc->uvVertexCount, 4);  // coordinates 0 and 3 are one vertex
  EXPECT_EQ(doc->triangles[0].uvIndex[0], doc->triangles[1].uvIndex[0]);
  EXPECT_EQ(doc->triangles[0].uvIndex[2], doc->triangles[1].uvIndex[1]);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(doc->triangles[i].type, 0);
    EXPECT_EQ(doc->triangles[i].textureNum, 0);
    EXPECT_EQ(doc->triangles[i].state, 0u);
  }
  EXPECT_EQ(doc->slotCount(), 16);
  EXPECT_EQ(doc->activeSkin, doc->skinSlots[0].get());
  // The snapshot holds MD2 skin texels.
  doc->RevertMapping();
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[1].u, 128);
}

// A skin size of a few texels puts int16 coordinates hundreds of skins away.
// The import holds them to what a save writes, so corners that only a clamp
// would bring together (u apart by less than the merge distance) are not
// merged by the next load: save, load and save again give the same bytes.
TEST(ReadMd2, CoordinatesBeyondWhatAMeshSavesAreHeldOnImport) {
  TestMd2 m = Quad();
  m.skinWidth = 2113929280;
  m.skinHeight = 32;
  m.frames.erase(m.frames.begin());  // positions the animation file holds unclamped
  m.texCoords = {{64, 8192}, {0, 16256}, {0, 16128}, {0, -32768}, {32, 16}};
  m.triangles = {{0, 1, 2, 0, 1, 4}, {0, 2, 3, 2, 3, 4}};
  auto doc = std::make_unique<MeshDocument>();
  auto model = ReadMd2(Encode(m));
  ASSERT_TRUE(model);
  InstallMd2(*doc, std::move(*model));
  EXPECT_FLOAT_EQ(doc->InChannelUnits(0, doc->triangles[0].uv[1]).v, kMaxChannelUnits);
  EXPECT_FLOAT_EQ(doc->InChannelUnits(0, doc->triangles[1].uv[1]).v, -kMaxChannelUnits);
  EXPECT_FLOAT_EQ(doc->InChannelUnits(0, doc->triangles[0].uv[2]).v, 4096.0f / 2);

  Result<MeshFileContents> saved = BuildMeshFiles(*doc);
  ASSERT_TRUE(saved);
  EXPECT_TRUE(saved->warnings.empty());
  auto reloaded = std::make_unique<MeshDocument>();
  test::ScriptedPrompter prompter;
  ASSERT_TRUE(LoadMeshFromBytes(*reloaded, {saved->geometry, saved->animation, saved->info}, prompter));
  Result<MeshFileContents> again = BuildMeshFiles(*reloaded);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->info, saved->info);
  EXPECT_EQ(again->geometry, saved->geometry);
}

TEST(ReadMd2, AFullSixteenCharacterNameHasNoTerminator) {
  TestMd2 m = Quad();
  m.frames[1].name = "abcdefghijklmnop";
  auto model = ReadMd2(Encode(m));
  ASSERT_TRUE(model);
  EXPECT_EQ(model->frames[1].name, "abcdefghijklmnop");
}

TEST(ReadMd2, RefusesDamagedFilesWithAMessage) {
  auto refusal = [](const std::vector<std::uint8_t>& bytes) {
    auto model = ReadMd2(bytes);
    return model ? std::string("accepted") : model.error().message;
  };
  auto good = Encode(Quad());
  auto patched = [&](std::size_t offset, std::int32_t value) {
    auto bytes = good;
    std::memcpy(bytes.data() + offset, &value, 4);
    return bytes;
  };
  EXPECT_EQ(refusal({'I', 'D', 'P'}), "This is not an MD2!");
  EXPECT_EQ(refusal(patched(0, 0x32504449 ^ 0x20)), "This is not an MD2!");  // "iDP2"
  EXPECT_EQ(refusal({good.begin(), good.begin() + 40}), "This MD2 is damaged: its data lies outside the file!");
  EXPECT_EQ(refusal({good.begin(), good.end() - 1}), "This MD2 is damaged: its data lies outside the file!");
  EXPECT_EQ(refusal(patched(8, 0)), "This MD2 has no skin size!");
  EXPECT_EQ(refusal(patched(12, -4)), "This MD2 has no skin size!");
  EXPECT_EQ(refusal(patched(32, 4097)), "This MD2 has more than 4096 triangles!");
  EXPECT_EQ(refusal(patched(24, 4097)), "This MD2 has more than 4096 vertices!");
  EXPECT_EQ(refusal(patched(28, 12289)), "This MD2 has more than 12288 texture coordinates!");
  EXPECT_EQ(refusal(patched(40, -1)), "This MD2 is damaged: it announces a negative count!");
  EXPECT_EQ(refusal(patched(40, 0x7FFFFFFF)), md2_text::kTooManyFrames);
  EXPECT_EQ(refusal(patched(40, 65535)), "This MD2 is damaged: its data lies outside the file!");
  EXPECT_EQ(refusal(patched(52, -12)), "This MD2 is damaged: its data lies outside the file!");
  EXPECT_EQ(refusal(patched(48, int(good.size()) - 8)), "This MD2 is damaged: its data lies outside the file!");
  EXPECT_EQ(refusal(patched(24, 3)), "This MD2 is damaged: a triangle uses an index out of range!");
  EXPECT_EQ(refusal(patched(28, 4)), "This MD2 is damaged: a triangle uses an index out of range!");
  TestMd2 negativeIndex = Quad();
  negativeIndex.triangles[1][1] = -1;
  EXPECT_EQ(refusal(Encode(negativeIndex)), "This MD2 is damaged: a triangle uses an index out of range!");
  TestMd2 infinite = Quad();
  infinite.frames[1].scale[2] = std::numeric_limits<float>::infinity();
  EXPECT_EQ(refusal(Encode(infinite)), "This MD2 is damaged: a frame's scale or origin is not a number!");
  TestMd2 overflowing = Quad();  // finite factors, infinite positions
  overflowing.frames[0].scale[0] = 3e38f;
  EXPECT_EQ(refusal(Encode(overflowing)), "This MD2 is damaged: a frame's scale or origin is not a number!");
}

// More frames than the animation file can count: refused from the header,
// before the frames are read (6.5 million frames announced by a short file
// would otherwise be allocated first).
TEST(ReadMd2, RefusesMoreFramesThanAMeshCanSave) {
  TestMd2 many = Quad();
  many.frames.resize(70000, many.frames[0]);
  auto model = ReadMd2(Encode(many));
  ASSERT_FALSE(model);
  EXPECT_EQ(model.error().message, md2_text::kTooManyFrames);
  auto announced = Encode(Quad());
  const std::int32_t frames = 6500000;
  std::memcpy(announced.data() + md2_layout::kFrameCount, &frames, 4);
  model = ReadMd2(announced);
  ASSERT_FALSE(model);
  EXPECT_EQ(model.error().message, md2_text::kTooManyFrames);
  many.frames.resize(65535);
  EXPECT_TRUE(ReadMd2(Encode(many)));
}

// Random damage anywhere in the file: every result is either a refusal or a
// model whose indices all lie inside its tables.
TEST(ReadMd2, DamagedBytesAreRefusedOrGiveAConsistentModel) {
  const std::vector<std::uint8_t> good = Encode(Quad());
  std::mt19937 random(1234);
  auto doc = std::make_unique<MeshDocument>();
  for (int round = 0; round < 3000; ++round) {
    std::vector<std::uint8_t> bytes = good;
    int changes = 1 + static_cast<int>(random() % 4);
    for (int c = 0; c < changes; ++c) bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    if (round % 7 == 0) bytes.resize(random() % bytes.size());
    auto model = ReadMd2(bytes);
    if (!model) continue;
    for (const Md2Triangle& t : model->triangles) {
      for (int k = 0; k < 3; ++k) {
        ASSERT_LT(t.vertex[k], model->vertexCount);
        ASSERT_LT(t.texCoord[k], static_cast<int>(model->texCoords.size()));
      }
    }
    InstallMd2(*doc, std::move(*model));
  }
}

TEST(ImportMd2, ARefusedFileLeavesTheDocumentAsItWas) {
  auto doc = std::make_unique<MeshDocument>();
  auto model = ReadMd2(Encode(Quad()));
  InstallMd2(*doc, std::move(*model));
  doc->triangles[0].state = kFaceSelected;
  auto dir = std::filesystem::temp_directory_path() / "mok-md2-refused";
  std::filesystem::create_directories(dir);
  TestMd2 damaged = Quad();
  damaged.triangles[0][0] = 9;
  auto bytes = Encode(damaged);
  ASSERT_EQ(WriteFileAtomically((dir / "bad.md2").string(), bytes), FileErrorCause::None);
  Status bad = ImportMd2(*doc, (dir / "bad.md2").string());
  ASSERT_FALSE(bad);
  EXPECT_EQ(bad.error().message, "This MD2 is damaged: a triangle uses an index out of range!");
  Status missing = ImportMd2(*doc, (dir / "missing.md2").string());
  ASSERT_FALSE(missing);
  EXPECT_EQ(missing.error().message, "There was an error importing the MD2!");
  EXPECT_EQ(doc->triangles[0].state, kFaceSelected);
  EXPECT_EQ(doc->frames.size(), 2u);
  std::filesystem::remove_all(dir);
}

// The header fields of a real file, read here independently of the importer.
struct RealHeader {
  std::int32_t skinWidth, skinHeight, vertices, texCoords, triangles, frames, ofsSt, ofsTris, ofsFrames;
};

RealHeader HeaderOf(const std::vector<std::uint8_t>& b) {
  auto at = [&](std::size_t o) {
    std::int32_t v;
    std::memcpy(&v, b.data() + o, 4);
    return v;
  };
  return {at(8), at(12), at(24), at(28), at(32), at(40), at(48), at(52), at(56)};
}

class RealMd2 : public ::testing::TestWithParam<const char*> {};

TEST_P(RealMd2, ImportsWhatItsHeaderAnnounces) {
  std::filesystem::path path = std::filesystem::path(MOK_SHARED_TESTDATA) / "real/md2" / GetParam();
  if (!std::filesystem::exists(path)) GTEST_SKIP() << "no shared test data";
  FileReadResult file = ReadWholeFile(path.string());
  ASSERT_TRUE(file.ok());
  const auto& b = file.bytes;
  RealHeader h = HeaderOf(b);
  auto doc = std::make_unique<MeshDocument>();
  Status imported = ImportMd2(*doc, path.string());
  ASSERT_TRUE(imported) << imported.error().message;
  ASSERT_EQ(doc->triangleCount, h.triangles);
  ASSERT_EQ(doc->vertexCount, h.vertices);
  ASSERT_EQ(static_cast<int>(doc->frames.size()), h.frames);

  // Every frame: its name and every vertex as scale x byte + translate.
  std::size_t frameSize = 40 + 4 * std::size_t(h.vertices);
  for (int f = 0; f < h.frames; ++f) {
    const std::uint8_t* frame = b.data() + h.ofsFrames + f * frameSize;
    float st[6];
    std::memcpy(st, frame, sizeof st);
    std::string name(reinterpret_cast<const char*>(frame + 24), strnlen(reinterpret_cast<const char*>(frame + 24), 16));
    ASSERT_EQ(doc->frames[f]->name, name);
    for (int v = 0; v < h.vertices; ++v) {
      const std::uint8_t* packed = frame + 40 + 4 * v;
      const Vec3& p = doc->frames[f]->positions[v];
      ASSERT_FLOAT_EQ(p.x, packed[0] * st[0] + st[3]);
      ASSERT_FLOAT_EQ(p.y, packed[1] * st[1] + st[4]);
      ASSERT_FLOAT_EQ(p.z, packed[2] * st[2] + st[5]);
    }
  }

  // The UV vertices are the distinct coordinates the triangles use, and each
  // corner lands where its MD2 coordinate lies on the 32 x 32 placeholder.
  std::set<std::pair<std::int16_t, std::int16_t>> used;
  for (int t = 0; t < h.triangles; ++t) {
    for (int k = 0; k < 3; ++k) {
      std::int16_t index, s, tt;
      std::memcpy(&index, b.data() + h.ofsTris + 12 * t + 6 + 2 * k, 2);
      std::memcpy(&s, b.data() + h.ofsSt + 4 * index, 2);
      std::memcpy(&tt, b.data() + h.ofsSt + 4 * index + 2, 2);
      used.insert({s, tt});
      EXPECT_NEAR(doc->triangles[t].uv[k].u, 32.0f * s / h.skinWidth, 1e-4);
      EXPECT_NEAR(doc->triangles[t].uv[k].v, 32.0f * tt / h.skinHeight, 1e-4);
    }
  }
  EXPECT_EQ(doc->uvVertexCount, static_cast<int>(used.size()));
}

INSTANTIATE_TEST_SUITE_P(SharedModels, RealMd2,
                         ::testing::Values("dq2_null/null.md2", "m64_crate/tris.md2", "dq2_bpool/bpool.md2",
                                           "dq2_ammo_m4/tris.md2", "m64_v_shotg/tris.md2",
                                           "dq2_v_pistol/tris.md2", "dq2_sydney/tris.md2"));

// Names as a separate script read them from the files.
TEST(RealMd2Names, FrameNamesOfTheSharedModels) {
  std::filesystem::path root = std::filesystem::path(MOK_SHARED_TESTDATA) / "real/md2";
  if (!std::filesystem::exists(root)) GTEST_SKIP() << "no shared test data";
  auto doc = std::make_unique<MeshDocument>();
  ASSERT_TRUE(ImportMd2(*doc, (root / "dq2_null/null.md2").string()));
  ASSERT_EQ(doc->frames.size(), 2u);
  EXPECT_EQ(doc->frames[0]->name, "flash1");
  EXPECT_EQ(doc->frames[1]->name, "flash2");
  ASSERT_TRUE(ImportMd2(*doc, (root / "dq2_sydney/tris.md2").string()));
  ASSERT_EQ(doc->frames.size(), 198u);
  EXPECT_EQ(doc->frames[0]->name, "stand001");
  EXPECT_EQ(doc->frames[197]->name, "death020");
  ASSERT_TRUE(ImportMd2(*doc, (root / "m64_crate/tris.md2").string()));
  ASSERT_EQ(doc->frames.size(), 1u);
  EXPECT_EQ(doc->frames[0]->name, "Frame000");
  EXPECT_EQ(doc->triangleCount, 12);
}

}  // namespace
}  // namespace mok
