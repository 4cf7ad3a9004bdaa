#include "core/mapping_file.h"

#include <gtest/gtest.h>

#include <cstring>

#include <filesystem>
#include <random>

#include "core/byte_reader.h"
#include "core/file_io.h"
#include "tests/core/edit_test_support.h"

namespace mok {
namespace {

using edit_test::Hide;
using edit_test::MeshBuilder;
using edit_test::Select;

void LoadImageInto(MeshDocument& doc, int channel, int width, int height) {
  SkinSlot& slot = *doc.skinSlots[static_cast<std::size_t>(channel)];
  AllocateSkin(slot, width, height);
  slot.isEmpty = 0;
}

// Three faces on channels 0, 1 and 2 with distinct types and coordinates.
MeshDocument* Source(MeshBuilder& builder) {
  builder.AddFace(0, 1, 2, {1.5f, 2.25f}, {31, 0}, {16, 17}, 0);
  builder.AddFace(1, 2, 3, {100, 20}, {60.5f, 127}, {0, 64}, 1);
  builder.AddFace(2, 3, 4, {7, 8}, {9, 10}, {11, 12}, 2);
  auto doc = builder.Build();
  for (int i = 0; i < 3; ++i) {
    doc->triangles[i].type = static_cast<std::uint8_t>(0x10 + i);
    doc->triangles[i].flags = static_cast<std::uint8_t>(i + 1);
    doc->triangles[i].color = static_cast<std::uint8_t>(0x80 + i);
  }
  return doc;
}

// Three faces mapped at the skin's corner, all on one channel.
MeshDocument* Target(MeshBuilder& builder, std::uint8_t channel = 0) {
  for (int i = 0; i < 3; ++i) builder.AddFace(0, 1, 2, {4, 4}, {5, 5}, {6, 6}, channel);
  return builder.Build();
}

MkmpImportOptions Only(bool uvs, bool types, bool channels, bool selectedOnly = false) {
  return {uvs, types, channels, selectedOnly};
}

TEST(MappingFile, LayoutIsMagicCountAndChannelUnitRecords) {
  MeshBuilder builder;
  auto doc = Source(builder);
  LoadImageInto(*doc, 1, 128, 256);
  doc->RebuildUvVertices(false);
  std::vector<std::uint8_t> bytes = BuildMappingFile(*doc);
  ASSERT_EQ(bytes.size(), 6u + 28u * 3);
  EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 4), "UMAP");
  ByteReader in(bytes);
  in.skip(4);
  EXPECT_EQ(in.i16(), 3);
  EXPECT_FLOAT_EQ(in.f32(), 1.5f * 4096 / 32);
  EXPECT_FLOAT_EQ(in.f32(), 2.25f * 4096 / 32);
  in.seek(6 + 24);
  EXPECT_EQ(in.u8(), 1);     // flags
  EXPECT_EQ(in.u8(), 0x10);  // type
  EXPECT_EQ(in.u8(), 0x80);  // colour
  EXPECT_EQ(in.u8(), 0);     // channel
  in.seek(6 + 28 + 16);      // face 1, corner 2, on the 128 x 256 skin
  EXPECT_FLOAT_EQ(in.f32(), 0);
  EXPECT_FLOAT_EQ(in.f32(), 64 * 4096.0f / 256);
  // The export leaves the coordinates in texels.
  EXPECT_NEAR(doc->triangles[1].uv[1].v, 127, 1e-4);
}

TEST(MappingFile, RoundTripKeepsEveryCoordinateWithSkinsOfDifferentSizes) {
  MeshBuilder builder;
  auto doc = Source(builder);
  LoadImageInto(*doc, 1, 128, 256);
  LoadImageInto(*doc, 2, 1024, 16);
  doc->RebuildUvVertices(false);
  MeshTriangle before[3] = {doc->triangles[0], doc->triangles[1], doc->triangles[2]};
  std::vector<std::uint8_t> bytes = BuildMappingFile(*doc);
  ASSERT_TRUE(ApplyMappingFile(*doc, bytes, MkmpImportOptions{}));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(doc->triangles[i].textureNum, before[i].textureNum);
    EXPECT_EQ(doc->triangles[i].type, before[i].type);
    for (int k = 0; k < 3; ++k) {
      EXPECT_NEAR(doc->triangles[i].uv[k].u, before[i].uv[k].u, 1e-4);
      EXPECT_NEAR(doc->triangles[i].uv[k].v, before[i].uv[k].v, 1e-4);
    }
  }
}

TEST(MappingFile, ChannelsOnlyMoveFacesAndKeepTheirTexelCoordinates) {
  MeshBuilder source;
  auto from = Source(source);
  std::vector<std::uint8_t> bytes = BuildMappingFile(*from);
  MeshBuilder target;
  target.AddFace(0, 1, 2, {3, 4}, {5, 6}, {7, 8}, 5);
  target.AddFace(1, 2, 3, {3, 4}, {5, 6}, {7, 8}, 5);
  target.AddFace(2, 3, 4, {3, 4}, {5, 6}, {7, 8}, 5);
  auto doc = target.Build();
  LoadImageInto(*doc, 1, 256, 256);
  ASSERT_TRUE(ApplyMappingFile(*doc, bytes, Only(false, false, true)));
  EXPECT_EQ(doc->triangles[0].textureNum, 0);
  EXPECT_EQ(doc->triangles[1].textureNum, 1);
  EXPECT_EQ(doc->triangles[2].textureNum, 2);
  EXPECT_FLOAT_EQ(doc->triangles[1].uv[2].u, 7);
  EXPECT_EQ(doc->triangles[1].type, 0);  // type bytes not imported
}

TEST(MappingFile, ChannelsAndUvsConvertWithTheNewChannelsSkin) {
  MeshBuilder source;
  auto from = Source(source);
  std::vector<std::uint8_t> bytes = BuildMappingFile(*from);  // all skins 32 wide
  MeshBuilder target;
  auto doc = Target(target);
  LoadImageInto(*doc, 1, 512, 64);
  ASSERT_TRUE(ApplyMappingFile(*doc, bytes, Only(true, false, true)));
  EXPECT_FLOAT_EQ(doc->triangles[1].uv[0].u, 100 * 16);
  EXPECT_FLOAT_EQ(doc->triangles[1].uv[0].v, 20 * 2);
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[0].u, 1.5f);
}

TEST(MappingFile, A256WideMappingImportedOnA512WideSkinDoublesTexels) {
  MeshBuilder source;
  auto from = Source(source);
  LoadImageInto(*from, 0, 256, 256);
  from->RebuildUvVertices(false);
  std::vector<std::uint8_t> bytes = BuildMappingFile(*from);
  MeshBuilder target;
  auto doc = Target(target);
  LoadImageInto(*doc, 0, 512, 512);
  ASSERT_TRUE(ApplyMappingFile(*doc, bytes, MkmpImportOptions{}));
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[1].u, 62);
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[2].v, 34);
}

TEST(MappingFile, SelectedOnlyLeavesUnselectedFacesAndTakesHiddenSelectedOnes) {
  MeshBuilder source;
  auto from = Source(source);
  std::vector<std::uint8_t> bytes = BuildMappingFile(*from);
  MeshBuilder target;
  auto doc = Target(target, 3);
  Select(*doc, {0, 2});
  Hide(*doc, {2});
  ASSERT_TRUE(ApplyMappingFile(*doc, bytes, Only(true, true, true, true)));
  EXPECT_EQ(doc->triangles[0].type, 0x10);
  EXPECT_EQ(doc->triangles[2].type, 0x12);
  EXPECT_EQ(doc->triangles[2].textureNum, 2);
  EXPECT_FLOAT_EQ(doc->triangles[2].uv[0].u, 7);
  EXPECT_EQ(doc->triangles[1].type, 0);
  EXPECT_EQ(doc->triangles[1].textureNum, 3);
  EXPECT_EQ(doc->triangles[1].flags, 0);
  EXPECT_FLOAT_EQ(doc->triangles[1].uv[1].u, 5);
}

TEST(MappingFile, RevertAfterImportRestoresCoordinatesButNotTypesOrChannels) {
  MeshBuilder source;
  auto from = Source(source);
  std::vector<std::uint8_t> bytes = BuildMappingFile(*from);
  MeshBuilder target;
  auto doc = Target(target);
  doc->triangles[0].uv[0] = {9, 9};  // an edit after the load's snapshot
  doc->RebuildUvVertices(false);
  ASSERT_TRUE(ApplyMappingFile(*doc, bytes, Only(true, true, false)));
  doc->RevertMapping();
  EXPECT_FLOAT_EQ(doc->triangles[0].uv[0].u, 9);
  EXPECT_FLOAT_EQ(doc->triangles[2].uv[2].u, 6);
  EXPECT_EQ(doc->triangles[2].type, 0x12);
}

TEST(MappingFile, RefusedFilesChangeNeitherFacesNorTheStoredMapping) {
  MeshBuilder source;
  auto from = Source(source);
  std::vector<std::uint8_t> good = BuildMappingFile(*from);
  MeshBuilder target;
  auto doc = Target(target);
  doc->triangles[0].uv[0] = {9, 9};
  doc->RebuildUvVertices(false);

  auto refused = [&](std::vector<std::uint8_t> bytes) {
    Status status = ApplyMappingFile(*doc, bytes, MkmpImportOptions{});
    EXPECT_FLOAT_EQ(doc->triangles[0].uv[0].u, 9);
    EXPECT_EQ(doc->triangles[1].type, 0);
    doc->RevertMapping();  // the snapshot is still the load's
    EXPECT_FLOAT_EQ(doc->triangles[0].uv[0].u, 4);
    doc->triangles[0].uv[0] = {9, 9};
    doc->RebuildUvVertices(false);
    return status.ok() ? std::string("accepted") : status.error().message;
  };
  auto lowerMagic = good;
  lowerMagic[0] = 'u';
  EXPECT_EQ(refused(lowerMagic), "This isn't a valid UMAP file!");
  EXPECT_EQ(refused({'U', 'M'}), "This isn't a valid UMAP file!");
  EXPECT_EQ(refused({'U', 'M', 'A', 'P', 3}), "This UMAP file is shorter than its triangle count needs!");
  auto otherCount = good;
  otherCount[4] = 2;
  EXPECT_EQ(refused(otherCount), "This file doesn't have the same triangle count at the current geometry!");
  auto shortByOne = good;
  shortByOne.pop_back();
  EXPECT_EQ(refused(shortByOne), "This UMAP file is shorter than its triangle count needs!");
  auto notANumber = good;
  notANumber[6 + 28 + 3] = 0x7F;  // face 1's u0 becomes 0x7F...: NaN or infinity
  notANumber[6 + 28 + 2] = 0xC0;
  EXPECT_EQ(refused(notANumber), mapping_text::kBadCoordinate);
  auto huge = good;  // face 1's v2: 3e38, finite but no texel can hold it
  const float far = 3e38f;
  std::memcpy(huge.data() + 6 + 28 + 20, &far, 4);
  EXPECT_EQ(refused(huge), mapping_text::kBadCoordinate);
}

TEST(MappingFile, RandomDamageIsRefusedOrImportedWithoutHarm) {
  MeshBuilder builder;
  auto doc = Source(builder);
  const std::vector<std::uint8_t> good = BuildMappingFile(*doc);
  std::mt19937 random(99);
  for (int round = 0; round < 2000; ++round) {
    std::vector<std::uint8_t> bytes = good;
    bytes[random() % bytes.size()] = static_cast<std::uint8_t>(random());
    if (round % 5 == 0) bytes.resize(random() % bytes.size());
    if (!ApplyMappingFile(*doc, bytes, MkmpImportOptions{})) continue;
    for (int i = 0; i < doc->triangleCount; ++i)
      for (int k = 0; k < 3; ++k) ASSERT_LT(doc->triangles[i].uvIndex[k], doc->uvVertexCount);
  }
}

TEST(MappingFile, ExportAndImportThroughFilesReportCauseNumbers) {
  test::TempDir dir;
  MeshBuilder builder;
  auto doc = Source(builder);
  Status missingFolder = ExportMappingTo(*doc, dir / "no/such/folder/x.mkmp");
  ASSERT_FALSE(missingFolder);
  EXPECT_EQ(missingFolder.error().message, "Error Saving: 2");
  Status missingFile = ImportMappingFrom(*doc, dir / "absent.mkmp", MkmpImportOptions{});
  ASSERT_FALSE(missingFile);
  EXPECT_EQ(missingFile.error().message, "Error Loading: 2");
  Status folder = ImportMappingFrom(*doc, dir.path().string(), MkmpImportOptions{});
  EXPECT_EQ(folder.error().message, "Error Loading: 5");

  ASSERT_TRUE(ExportMappingTo(*doc, dir / "m.mkmp"));
  EXPECT_EQ(std::filesystem::file_size(dir / "m.mkmp"), 6u + 28 * 3);
  ASSERT_TRUE(ImportMappingFrom(*doc, dir / "m.mkmp", MkmpImportOptions{}));
}

}  // namespace
}  // namespace mok
