// What a save writes, a load reads back as the same document: for random
// documents made from real meshes, MD2 imports, damaged-but-accepted files
// and random edits (with coordinates far outside their skins), and for the
// mapping file's export and import.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>

#include "core/channels.h"
#include "core/face_edits.h"
#include "core/mapping_file.h"
#include "core/md2_import.h"
#include "core/mesh_files.h"
#include "core/settings.h"
#include "tests/core/mesh_test_support.h"
#include "tests/support/document_invariants.h"
#include "tests/support/shared_testdata.h"

namespace mok {
namespace {

namespace fs = std::filesystem;

bool LoadSource(MeshDocument& doc, const fs::path& path, Prompter& prompter) {
  if (path.extension() == ".md2") return ImportMd2(doc, path.string()).ok();
  return LoadMesh(doc, path.string(), prompter).ok();
}

// Random edits a user can make: selections, channel moves, flips, deleted
// faces, cleared and moved corners (some far beyond any skin), type bytes.
void EditAtRandom(Application& app, std::mt19937& random) {
  MeshDocument& doc = app.doc();
  for (int step = 0; step < 6; ++step) {
    for (int i = 0; i < doc.triangleCount; ++i) doc.triangles[i].state = random() % 4 == 0 ? kFaceSelected : 0;
    switch (random() % 6) {
      case 0: AssignChannelToSelected(doc, static_cast<int>(random() % 20)); break;
      case 1: FlipSelectedFaces(app); break;
      case 2: DeleteSelectedFaces(app); break;
      case 3: ClearSelectedMapping(app); break;
      case 4: {
        const float scale = random() % 3 == 0 ? 1e9f : 40.0f;
        for (int i = 0; i < doc.uvVertexCount; ++i)
          if (random() % 5 == 0) doc.uvVertices[i].u += scale * (static_cast<float>(random() % 200) / 100 - 1);
        doc.RebuildUvVertices(true);
        break;
      }
      default:
        for (int i = 0; i < doc.triangleCount; ++i)
          if (doc.triangles[i].selected()) doc.triangles[i].type = static_cast<std::uint8_t>(random());
    }
    ASSERT_EQ(test::DocumentInvariantViolation(doc), "");
  }
}

// Saves doc, loads the bytes into reloaded and checks that the document came
// back: faces, channel-unit coordinates (as clamped on saving), strings,
// frames; saving the reloaded document gives the same bytes.
void ExpectRoundTrip(const MeshDocument& doc, MeshDocument& reloaded, Prompter& prompter) {
  Result<MeshFileContents> saved = BuildMeshFiles(doc);
  ASSERT_TRUE(saved);
  auto loaded = LoadMeshFromBytes(reloaded, {saved->geometry, saved->animation, saved->info}, prompter);
  ASSERT_TRUE(loaded) << loaded.error().message;
  ASSERT_EQ(test::DocumentInvariantViolation(reloaded), "");
  ASSERT_EQ(reloaded.triangleCount, doc.triangleCount);
  ASSERT_EQ(reloaded.frames.size(), doc.frames.size());
  EXPECT_EQ(reloaded.fileInfo.comments, doc.fileInfo.comments);
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& a = doc.triangles[i];
    const MeshTriangle& b = reloaded.triangles[i];
    ASSERT_TRUE(a.type == b.type && a.flags == b.flags && a.color == b.color && a.textureNum == b.textureNum) << i;
    for (int k = 0; k < 3; ++k) {
      ASSERT_EQ(a.vertex[k], b.vertex[k]);
      UvPair want = ClampToChannelUnits(doc.InChannelUnits(a.textureNum, doc.uvVertices[a.uvIndex[k]]), nullptr);
      UvPair got = reloaded.InChannelUnits(b.textureNum, reloaded.uvVertices[b.uvIndex[k]]);
      ASSERT_NEAR(got.u, want.u, std::abs(want.u) * 1e-6f + 1e-3f) << "face " << i << " corner " << k;
      ASSERT_NEAR(got.v, want.v, std::abs(want.v) * 1e-6f + 1e-3f) << "face " << i << " corner " << k;
    }
  }
  Result<MeshFileContents> again = BuildMeshFiles(reloaded);
  ASSERT_TRUE(again);
  EXPECT_TRUE(again->geometry == saved->geometry && again->animation == saved->animation && again->info == saved->info);
}

// The face edits run as commands of an application without a window.
struct EditingApp {
  MemorySettings settings;
  test::ScriptedPrompter prompter;
  test::RefreshRecorder refresh;
  Application app{settings, prompter, prompter, refresh};
};

TEST(RoundTrip, EditedRealMeshesAndMd2ImportsLoadBackAsSaved) {
  EditingApp editing;
  test::ScriptedPrompter& prompter = editing.prompter;
  prompter.answers.assign(1000, Answer::Yes);
  MeshDocument* doc = &editing.app.doc();
  auto reloaded = std::make_unique<MeshDocument>();
  std::mt19937 random(7);
  for (const fs::path& source : test::SampleAndRealMeshFiles()) {
    SCOPED_TRACE(source.string());
    ASSERT_TRUE(LoadSource(*doc, source, prompter));
    doc->fileInfo.comments = source.filename().string();
    ExpectRoundTrip(*doc, *reloaded, prompter);
    EditAtRandom(editing.app, random);
    ExpectRoundTrip(*doc, *reloaded, prompter);
  }
}

// Unedited real meshes save to the animation bytes they were loaded from,
// written frame group by frame group (a 1498-frame mesh, Deus Ex frames);
// a file one vertex short gains that vertex as the word for 0.
TEST(RoundTrip, RealMeshesSaveTheirOwnAnimationBytes) {
  test::ScriptedPrompter prompter;
  prompter.answers.assign(1000, Answer::Yes);
  auto doc = std::make_unique<MeshDocument>();
  const fs::path folder = fs::temp_directory_path() / "mok-real-resave";
  fs::create_directories(folder);
  for (const fs::path& source : test::SampleAndRealMeshFiles()) {
    if (source.extension() != ".3d") continue;
    SCOPED_TRACE(source.string());
    ASSERT_TRUE(LoadMesh(*doc, source.string(), prompter));
    ASSERT_TRUE(SaveMesh(*doc, (folder / "Resaved_d.3d").string()));
    std::string name = source.string();
    std::vector<std::uint8_t> loaded = test::ReadBytes(name.replace(name.size() - 4, 1, "a"));
    std::vector<std::uint8_t> saved = test::ReadBytes((folder / "Resaved_a.3d").string());
    ASSERT_GE(saved.size(), loaded.size());
    EXPECT_TRUE(std::equal(loaded.begin(), loaded.end(), saved.begin()));
    EXPECT_EQ(std::count(saved.begin() + static_cast<long>(loaded.size()), saved.end(), 0),
              static_cast<long>(saved.size() - loaded.size()));
  }
  fs::remove_all(folder);
}

// Damaged copies of the sample that still load: they too save and load back.
TEST(RoundTrip, DamagedButAcceptedFilesLoadBackAsSaved) {
  const fs::path samples = fs::path(MOK_SOURCE_DIR) / "resources" / "samples" / "Sampler" / "Models";
  const auto geometry = test::ReadBytes((samples / "Sampler_d.3d").string());
  const auto animation = test::ReadBytes((samples / "Sampler_a.3d").string());
  test::ScriptedPrompter prompter;
  auto doc = std::make_unique<MeshDocument>();
  auto reloaded = std::make_unique<MeshDocument>();
  std::mt19937 random(11);
  int accepted = 0;
  for (int round = 0; round < 300; ++round) {
    auto d = geometry, a = animation;
    for (int flip = 0; flip < 6; ++flip) d[4 + random() % (d.size() - 4)] = static_cast<std::uint8_t>(random());
    a.resize(a.size() - random() % 600);
    if (!LoadMeshFromBytes(*doc, {d, a, std::nullopt}, prompter)) continue;
    ++accepted;
    ExpectRoundTrip(*doc, *reloaded, prompter);
  }
  EXPECT_GT(accepted, 50);
}

// Corners far beyond the skin that the save's clamp brings within the merge
// distance of each other come back as one UV vertex; the save writes them as
// the load will read them, so saving again gives the same bytes.
TEST(RoundTrip, CornersTheClampBringsTogetherSaveAsTheyLoad) {
  EditingApp editing;
  MeshDocument& doc = editing.app.doc();
  const fs::path sample = fs::path(MOK_SOURCE_DIR) / "resources" / "samples" / "Sampler" / "Models" / "Sampler_d.3d";
  ASSERT_TRUE(LoadMesh(doc, sample.string(), editing.prompter));
  doc.triangles[0].uv[0] = {1e9f, 10.0f};
  doc.triangles[1].uv[0] = {2e9f, 10.0f + 1.0f / 65536};
  doc.triangles[1].textureNum = doc.triangles[0].textureNum;
  doc.RebuildUvVertices(false);
  ASSERT_NE(doc.triangles[0].uvIndex[0], doc.triangles[1].uvIndex[0]);
  auto reloaded = std::make_unique<MeshDocument>();
  ExpectRoundTrip(doc, *reloaded, editing.prompter);
}

// A mapping exported and imported onto the same mesh with its corners moved
// away puts every corner back.
TEST(RoundTrip, MappingExportThenImportRestoresEveryCorner) {
  EditingApp editing;
  test::ScriptedPrompter& prompter = editing.prompter;
  MeshDocument* doc = &editing.app.doc();
  std::mt19937 random(3);
  for (const fs::path& source : test::SampleAndRealMeshFiles()) {
    SCOPED_TRACE(source.string());
    ASSERT_TRUE(LoadSource(*doc, source, prompter));
    EditAtRandom(editing.app, random);
    std::vector<std::uint8_t> file = BuildMappingFile(*doc);
    auto corners = [&] {
      std::vector<UvPair> units;
      for (int i = 0; i < doc->triangleCount; ++i)
        for (const UvPair& uv : doc->triangles[i].uv)
          units.push_back(ClampToChannelUnits(doc->InChannelUnits(doc->triangles[i].textureNum, uv), nullptr));
      return units;
    };
    const std::vector<UvPair> before = corners();
    for (int i = 0; i < doc->triangleCount; ++i) doc->triangles[i].state = kFaceSelected;
    ClearSelectedMapping(editing.app);
    ASSERT_TRUE(ApplyMappingFile(*doc, file, MkmpImportOptions{}));
    const std::vector<UvPair> after = corners();
    for (std::size_t c = 0; c < before.size(); ++c) {
      ASSERT_NEAR(after[c].u, before[c].u, std::abs(before[c].u) * 1e-6f + 1e-3f) << c;
      ASSERT_NEAR(after[c].v, before[c].v, std::abs(before[c].v) * 1e-6f + 1e-3f) << c;
    }
  }
}

}  // namespace
}  // namespace mok
