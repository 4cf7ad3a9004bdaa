// Every real mesh pair loads and saves back to the same bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/mesh_files.h"
#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

using test::ReadBytes;

std::filesystem::path RealMeshFolder() { return std::filesystem::path(MOK_SHARED_TESTDATA) / "real" / "unreal"; }

std::vector<std::string> RealMeshBases() {
  std::vector<std::string> bases;
  if (!std::filesystem::is_directory(RealMeshFolder())) return bases;
  for (const auto& entry : std::filesystem::directory_iterator(RealMeshFolder())) {
    std::string name = entry.path().filename().string();
    if (name.size() > 5 && name.ends_with("_d.3d")) bases.push_back(name.substr(0, name.size() - 5));
  }
  std::sort(bases.begin(), bases.end());
  return bases;
}

std::uint16_t U16(const std::vector<std::uint8_t>& b, std::size_t at) {
  return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8));
}

void ExpectSameGeometry(const std::vector<std::uint8_t>& original, const std::vector<std::uint8_t>& saved) {
  ASSERT_EQ(saved.size(), 48 + 16 * std::size_t{U16(original, 0)});
  EXPECT_TRUE(std::equal(saved.begin(), saved.begin() + 4, original.begin()));
  EXPECT_TRUE(std::all_of(saved.begin() + 4, saved.begin() + 48, [](std::uint8_t b) { return b == 0; }));
  EXPECT_TRUE(std::equal(saved.begin() + 48, saved.end(), original.begin() + 48));
}

// Compares the vertices of every frame: the bytes the original holds of the
// first vertex-count entries of each frame block.
void ExpectSameFrames(const std::vector<std::uint8_t>& original, const std::vector<std::uint8_t>& saved,
                      std::size_t vertexCount) {
  std::size_t frames = U16(original, 0), frameSize = U16(original, 2);
  std::size_t vertexBytes = frameSize == 8 * vertexCount ? 8 : 4;
  std::size_t savedFrameSize = vertexBytes * vertexCount;
  ASSERT_EQ(U16(saved, 0), frames);
  ASSERT_EQ(U16(saved, 2), savedFrameSize);
  ASSERT_EQ(saved.size(), 4 + frames * savedFrameSize);
  for (std::size_t f = 0; f < frames; ++f) {
    std::size_t from = 4 + f * frameSize;
    std::size_t present = std::min(savedFrameSize, original.size() - from) / vertexBytes * vertexBytes;
    auto ours = saved.begin() + static_cast<std::ptrdiff_t>(4 + f * savedFrameSize);
    ASSERT_TRUE(std::equal(ours, ours + static_cast<std::ptrdiff_t>(present), original.begin() + static_cast<std::ptrdiff_t>(from)))
        << "frame " << f;
  }
}

TEST(RealMeshRoundTrip, EveryPairSavesBackItsFacesAndFrames) {
  std::vector<std::string> bases = RealMeshBases();
  if (bases.empty()) GTEST_SKIP() << "no real meshes at " << RealMeshFolder();
  test::TempDir out;
  test::ScriptedPrompter prompter;
  for (const std::string& base : bases) {
    SCOPED_TRACE(base);
    auto doc = std::make_unique<MeshDocument>();
    std::string source = (RealMeshFolder() / (base + "_d.3d")).string();
    auto loaded = LoadMesh(*doc, source, prompter);
    ASSERT_TRUE(loaded) << loaded.error().message;
    auto saved = SaveMesh(*doc, out / (base + ".3d"));
    ASSERT_TRUE(saved) << saved.error().message;
    EXPECT_TRUE(saved->warnings.empty());
    auto originalGeometry = ReadBytes(source);
    ExpectSameGeometry(originalGeometry, ReadBytes(out / (base + "_d.3d")));
    ExpectSameFrames(ReadBytes((RealMeshFolder() / (base + "_a.3d")).string()), ReadBytes(out / (base + "_a.3d")),
                     U16(originalGeometry, 2));
  }
  EXPECT_TRUE(prompter.questions.empty());
}

TEST(RealMeshRoundTrip, DeusExMeshesLoadAsPositionsNotNoise) {
  auto folder = RealMeshFolder();
  if (!std::filesystem::exists(folder / "redbull_d.3d")) GTEST_SKIP();
  auto doc = std::make_unique<MeshDocument>();
  test::ScriptedPrompter prompter;
  ASSERT_TRUE(LoadMesh(*doc, (folder / "redbull_d.3d").string(), prompter));
  EXPECT_EQ(doc->vertexLayout, VertexLayout::DeusEx);
  // The can's first vertex, read straight from the file's int16 triple.
  auto bytes = ReadBytes((folder / "redbull_a.3d").string());
  auto s16 = [&](std::size_t at) { return static_cast<std::int16_t>(U16(bytes, at)); };
  EXPECT_EQ(doc->currentVertices[0].x, s16(4) / 128.0f);
  EXPECT_EQ(doc->currentVertices[0].y, -s16(6) / 128.0f);
  EXPECT_EQ(doc->currentVertices[0].z, s16(8) / 128.0f);
}

TEST(RealMeshRoundTrip, ShortAnimationFileLoadsWithOneWarningAndZeroForTheMissingVertex) {
  auto folder = RealMeshFolder();
  if (!std::filesystem::exists(folder / "sg_GLAmmo_d.3d")) GTEST_SKIP();
  auto doc = std::make_unique<MeshDocument>();
  test::ScriptedPrompter prompter;
  auto loaded = LoadMesh(*doc, (folder / "sg_GLAmmo_a.3d").string(), prompter);
  ASSERT_TRUE(loaded);
  ASSERT_EQ(loaded->warnings.size(), 1u);
  EXPECT_EQ(loaded->warnings[0],
            "The Animation data's last frame is 4 bytes short; the missing vertex positions read as 0.");
  EXPECT_EQ(doc->vertexCount, 46);
  EXPECT_EQ(doc->currentVertices[45].x, 0.0f);
  EXPECT_EQ(doc->currentVertices[45].y, 0.0f);
  EXPECT_EQ(doc->currentVertices[45].z, 0.0f);
}

}  // namespace
}  // namespace mok
