#include "app/resource_paths.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

namespace fs = std::filesystem;

TEST(ResourcePaths, FoundBesideTheProgramFolderAlsoThroughALinkButNeverFromARelativeName) {
  test::TempDir root;
  fs::create_directories(root.path() / "usr/bin");
  test::WriteBytes(root / "usr/bin/mok", {0});
  EXPECT_EQ(FindResourceDir(root / "usr/bin/mok"), "");
  fs::create_directories(root.path() / "usr/share/mok");
  std::string expected = fs::canonical(root.path() / "usr/share/mok").string();
  EXPECT_EQ(FindResourceDir(root / "usr/bin/mok"), expected);
  fs::create_directories(root.path() / "home/bin");
  fs::create_symlink(root.path() / "usr/bin/mok", root.path() / "home/bin/mok");
  EXPECT_EQ(FindResourceDir(root / "home/bin/mok"), expected);
  fs::path start = fs::current_path();
  fs::current_path(root.path());
  EXPECT_EQ(FindResourceDir("usr/bin/mok"), "");
  fs::current_path(start);
}

TEST(ResourcePaths, TheBuildTreeFindsTheSourceResources) {
  std::string found = FindResourceDir(MOK_CLI_PATH);
  ASSERT_EQ(found, fs::canonical(fs::path(MOK_SOURCE_DIR) / "resources").string());
  EXPECT_TRUE(fs::is_regular_file(SampleMeshPath(found)));
  EXPECT_TRUE(fs::is_directory(PhongMapFolder(found)));
  EXPECT_TRUE(fs::is_directory(EnvMapFolder(found)));
  EXPECT_EQ(SoundFolder(found), found + "/sounds");
  EXPECT_EQ(SampleMeshPath(""), "");
}

}  // namespace
}  // namespace mok
