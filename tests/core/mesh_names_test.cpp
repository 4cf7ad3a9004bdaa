#include "core/mesh_names.h"

#include <gtest/gtest.h>

namespace mok {
namespace {

TEST(MeshNames, AnyOfTheFourEndingsNamesTheSameBaseWhateverTheCase) {
  EXPECT_EQ(MeshBaseName("dir/ship_A.3D"), "dir/ship");
  EXPECT_EQ(MeshBaseName("dir/ship_a.3d"), "dir/ship");
  EXPECT_EQ(MeshBaseName("dir/ship_d.3d"), "dir/ship");
  EXPECT_EQ(MeshBaseName("dir/ship_K.3d"), "dir/ship");
  EXPECT_EQ(MeshBaseName("dir/ship.3d"), "dir/ship");
  EXPECT_EQ(MeshBaseName("dir/ship.3D"), "dir/ship");
}

TEST(MeshNames, OtherEndingsAreNotMeshNames) {
  EXPECT_FALSE(MeshBaseName("ship.3ds"));
  EXPECT_FALSE(MeshBaseName("ship.md2"));
  EXPECT_FALSE(MeshBaseName("3d"));
  EXPECT_FALSE(MeshBaseName(""));
}

TEST(MeshNames, TheThreeFilesAndTheFallbackGeometryName) {
  auto names = IdentifyMeshName("/m/ship_k.3d");
  ASSERT_TRUE(names);
  EXPECT_EQ(names->geometry, "/m/ship_d.3d");
  EXPECT_EQ(names->plainGeometry, "/m/ship.3d");
  EXPECT_EQ(names->animation, "/m/ship_a.3d");
  EXPECT_EQ(names->info, "/m/ship_k.3d");
}

TEST(MeshNames, DefaultExtensionLooksOnlyAtTheFileNamePart) {
  EXPECT_EQ(WithDefaultExtension("/a/ship", ".3d"), "/a/ship.3d");
  EXPECT_EQ(WithDefaultExtension("/a.b/ship", ".3d"), "/a.b/ship.3d");
  EXPECT_EQ(WithDefaultExtension("C:\\a.b\\ship", ".3d"), "C:\\a.b\\ship.3d");
  EXPECT_EQ(WithDefaultExtension("/a/ship.x", ".3d"), "/a/ship.x");
}

}  // namespace
}  // namespace mok
