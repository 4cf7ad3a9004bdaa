#include "core/model_stats.h"

#include <gtest/gtest.h>

namespace mok {
namespace {

TEST(ModelStats, SkinAreaCountsLoadedSkinsOnlyAndFacesGiveChannelsAndTypes) {
  auto doc = std::make_unique<MeshDocument>();
  doc->triangleCount = 3;
  doc->vertexCount = 5;
  doc->ResetSkinSlots();
  for (int channel : {2, 7}) {
    SkinSlot& slot = *doc->skinSlots[static_cast<std::size_t>(channel)];
    AllocateSkin(slot, 256, 256);
    slot.isEmpty = 0;
  }
  doc->triangles[0].textureNum = 7;
  doc->triangles[1].type = 0x12;
  doc->triangles[2].type = 0x12;
  doc->frames.push_back(std::make_unique<AnimFrame>());
  doc->RebuildUvVertices(false);
  ModelStats stats = ComputeModelStats(*doc);
  EXPECT_EQ(stats.skinArea, 131072);
  EXPECT_EQ(stats.vertices, 5);
  EXPECT_EQ(stats.triangles, 3);
  EXPECT_EQ(stats.frames, 1);
  EXPECT_EQ(stats.uvVertices, 2);
  EXPECT_EQ(stats.channels, (std::set<int>{0, 7}));
  EXPECT_EQ(stats.types, (std::map<int, int>{{0, 1}, {0x12, 2}}));
  std::vector<std::pair<std::string, std::int32_t>> rows;
  for (const ModelStatsRow& row : ModelStatsRows(stats)) rows.emplace_back(row.name, row.value);
  EXPECT_EQ(rows, (std::vector<std::pair<std::string, std::int32_t>>{
                      {"Vertices", 5}, {"Mapping Verts", 2}, {"Triangles", 3}, {"Frames", 1}, {"Skin Area (Texels)", 131072}}));
}

TEST(ModelStats, PlaceholdersAddNothing) {
  auto doc = std::make_unique<MeshDocument>();
  doc->ResetSkinSlots();
  EXPECT_EQ(ComputeModelStats(*doc).skinArea, 0);
}

}  // namespace
}  // namespace mok
