#include "app/command_line.h"

#include <gtest/gtest.h>

namespace mok {
namespace {

TEST(MeshCommandLine, WithoutSwitchNothingIsLoadedEvenIfFilesAreNamed) {
  MeshCommandLine parsed = ParseMeshCommandLine("mok ship_d.3d skin.pcx");
  EXPECT_FALSE(parsed.present);
  EXPECT_TRUE(parsed.files.empty());
}

TEST(MeshCommandLine, SplitsAtSpacesOutsideQuotesAndKeepsTheFirstCharacter) {
  MeshCommandLine parsed = ParseMeshCommandLine("mok -3d ship_d.3d  \"my skins/a b.pcx\"   c.tga");
  ASSERT_TRUE(parsed.present);
  ASSERT_EQ(parsed.files.size(), 3u);
  EXPECT_EQ(parsed.files[0], "ship_d.3d");
  EXPECT_EQ(parsed.files[1], "my skins/a b.pcx");
  EXPECT_EQ(parsed.files[2], "c.tga");
}

TEST(MeshCommandLine, QuotedFirstNameLosesItsQuotes) {
  MeshCommandLine parsed = ParseMeshCommandLine("mok -3d \"C:\\My Models\\ship.3d\"");
  ASSERT_EQ(parsed.files.size(), 1u);
  EXPECT_EQ(parsed.files[0], "C:\\My Models\\ship.3d");
}

TEST(MeshCommandLine, SwitchAtTheEndGivesAnEmptyList) {
  MeshCommandLine parsed = ParseMeshCommandLine("mok -3d");
  EXPECT_TRUE(parsed.present);
  EXPECT_TRUE(parsed.files.empty());
  EXPECT_TRUE(ParseMeshCommandLine("mok -3d   \"\"  ").files.empty());
}

TEST(MeshCommandLine, JoinQuotesArgumentsWithSpacesSoTheyRoundTrip) {
  std::string line = JoinCommandLine({"mok", "-3d", "/tmp/a b/ship_d.3d", "skin.pcx"});
  EXPECT_EQ(line, "mok -3d \"/tmp/a b/ship_d.3d\" skin.pcx");
  MeshCommandLine parsed = ParseMeshCommandLine(line);
  ASSERT_EQ(parsed.files.size(), 2u);
  EXPECT_EQ(parsed.files[0], "/tmp/a b/ship_d.3d");
}

}  // namespace
}  // namespace mok
