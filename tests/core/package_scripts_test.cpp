// The package-script reader: #exec lines, the skins of a mesh, and hostile
// scripts and paths.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "core/package_scripts.h"
#include "tests/core/mesh_test_support.h"

namespace mok {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Commands(const std::vector<ExecLine>& lines) {
  std::vector<std::string> out;
  for (const ExecLine& line : lines) out.push_back(line.command + "@" + std::to_string(line.line));
  return out;
}

TEST(ReadExecLines, KeepsOnlyLiveExecLinesOfTheUsedKinds) {
  std::vector<ExecLine> lines = ReadExecLines(
      "// #exec TEXTURE IMPORT NAME=Off FILE=a.pcx\n"
      "  #exec texture import file=\"My Skins\\a b.pcx\" name = Skin1 // trailing\n"
      "/* #exec MESH IMPORT MESH=hidden\n"
      "   #exec MESH IMPORT MESH=hidden2 */ #exec MESHMAP SETTEXTURE MESHMAP=m NUM=1 TEXTURE=Skin1\n"
      "#exec MESH SEQUENCE MESH=m SEQ=All\n"
      "exec function Fire()\n"
      "log('it''s'); #exec MESH IMPORT MESH=inCode\n"
      "#exec MESHMAP NEW MESHMAP=Bob's MESH=m // an apostrophe is no quote here\n");
  EXPECT_EQ(Commands(lines),
            (std::vector<std::string>{"TEXTURE IMPORT@2", "MESHMAP SETTEXTURE@4", "MESHMAP NEW@8"}));
  EXPECT_EQ(*lines[0].Param("FILE"), "My Skins\\a b.pcx");
  EXPECT_EQ(*lines[0].Param("NAME"), "Skin1");
  EXPECT_EQ(*lines[2].Param("MESHMAP"), "Bob's");
  EXPECT_EQ(*lines[2].Param("MESH"), "m");
}

TEST(ReadExecLines, UnterminatedQuotesAndCommentsEndQuietly) {
  EXPECT_EQ(*ReadExecLines("#exec TEXTURE IMPORT NAME=\"open FILE=x.pcx\n")[0].Param("NAME"), "open FILE=x.pcx");
  EXPECT_TRUE(ReadExecLines("/* never closed\n#exec MESH IMPORT MESH=m\n").empty());
}

TEST(ReadExecLines, HugeOrBinaryTextIsReadWithinItsLimits) {
  std::string line = "#exec MESHMAP SETTEXTURE MESHMAP=m NUM=1 TEXTURE=t\n";
  std::string text;
  while (text.size() < 3 * package_limits::kMaxScriptBytes) text += line;
  EXPECT_EQ(ReadExecLines(text).size(), package_limits::kMaxExecLines);
  std::string binary = "#exec MESH IMPORT MESH=a\n";  // within the cap: kept
  binary.resize(package_limits::kMaxScriptBytes);
  for (std::size_t i = 30; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 7919) >> 3);
  binary += "\n#exec MESH IMPORT MESH=beyond\n";  // past the cap: not read
  std::vector<ExecLine> lines = ReadExecLines(binary);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(*lines[0].Param("MESH"), "a");
  EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [](const ExecLine& exec) {
    const std::string* mesh = exec.Param("MESH");
    return mesh && *mesh == "beyond";
  }));
}

TEST(PackageRelativeParts, FollowsOnlyPathsThatStayInsideThePackage) {
  using Parts = std::vector<std::string>;
  EXPECT_EQ(PackageRelativeParts("MODELS\\x.PCX"), (Parts{"MODELS", "x.PCX"}));
  EXPECT_EQ(PackageRelativeParts(".\\a\\..\\b//c.pcx"), (Parts{"b", "c.pcx"}));
  for (const char* refused : {"..\\..\\x.pcx", "a\\..\\..\\x.pcx", "C:\\x.pcx", "\\x.pcx", "/etc/passwd", ""})
    EXPECT_FALSE(PackageRelativeParts(refused)) << refused;
}

// In-memory scripts with a locator that finds every declared file.
class ScriptSkinsInMemory : public ::testing::Test {
 protected:
  void AddScript(const std::string& name, const std::string& text) { scripts.push_back({name, ReadExecLines(text)}); }
  std::optional<ScriptSkins> Find() {
    auto locate = [this](const std::string& declared) {
      located.push_back(declared);
      return LocatedFile{"disk/" + declared, ""};
    };
    return FindSkinsInScripts(scripts, "MyPkg", {{"Models/gun_d.3d"}, {"Models/gun_a.3d"}}, locate);
  }
  std::vector<PackageScript> scripts;
  std::vector<std::string> located;
};

TEST_F(ScriptSkinsInMemory, FirstImportWinsAndOthersUnderAnotherNameAreNoted) {
  AddScript("A.uc",
            "#exec MESH IMPORT MESH=Gun ANIVFILE=models\\GUN_a.3d DATAFILE=Models\\Gun_d.3d\n"
            "#exec MESHMAP NEW MESHMAP=GunMap MESH=gun\n"
            "#exec MESH ORIGIN MESH=Gun X=1 YAW=64\n"
            "#exec MESHMAP SETTEXTURE MESHMAP=gunmap NUM=2 TEXTURE=MyPkg.Skins.Metal\n"
            "#exec MESHMAP SETTEXTURE MESHMAP=Gun NUM=0 TEXTURE=Wood\n"
            "#exec MESHMAP SETTEXTURE MESHMAP=Gun NUM=0 TEXTURE=Later\n"
            "#exec MESHMAP SETTEXTURE MESHMAP=Gun NUM=3 TEXTURE=Other.Skins.Stone\n"
            "#exec MESHMAP SETTEXTURE MESHMAP=Gun NUM=999 TEXTURE=Wood\n"
            "#exec MESHMAP SETTEXTURE MESHMAP=Gun NUM=4 TEXTURE=Gone\n");
  AddScript("B.uc",
            "#exec MESH IMPORT MESH=Rifle DATAFILE=Models\\gun_d.3d\n"
            "#exec MESH IMPORT MESH=Gun DATAFILE=Models\\gun_d.3d\n"
            "#exec MESHMAP SCALE MESHMAP=GunMap X=0.5\n"
            "#exec TEXTURE IMPORT FILE=Skins\\Wood.pcx\n"
            "#exec TEXTURE IMPORT NAME=Metal FILE=Skins\\metal.bmp\n"
            "#exec TEXTURE IMPORT NAME=metal FILE=Skins\\second.bmp\n");
  std::optional<ScriptSkins> found = Find();
  ASSERT_TRUE(found);
  EXPECT_EQ(found->uc, "A.uc");
  EXPECT_EQ(found->meshName, "Gun");
  EXPECT_EQ(found->notes, (std::vector<std::string>{"The same files are also imported as Rifle in B.uc (line 1)."}));
  EXPECT_EQ(found->origin, (ScriptParams{{"X", "1"}, {"YAW", "64"}}));
  EXPECT_EQ(found->scale, (ScriptParams{{"X", "0.5"}}));
  ASSERT_EQ(found->skins.size(), 4u);
  EXPECT_EQ(found->skins[0].texture, "Wood");
  EXPECT_EQ(found->skins[0].file, "disk/Skins\\Wood.pcx");
  EXPECT_EQ(found->skins[1].declaredFile, "Skins\\metal.bmp");
  EXPECT_EQ(found->skins[2].problem, "a texture of the package Other");
  EXPECT_EQ(found->skins[3].problem, "no TEXTURE IMPORT in this package");
  EXPECT_EQ(found->Missing(), (std::vector<std::string>{"Other.Skins.Stone", "Gone"}));
  EXPECT_EQ(located, (std::vector<std::string>{"Skins\\Wood.pcx", "Skins\\metal.bmp"}));
}

TEST_F(ScriptSkinsInMemory, NoImportOfTheMeshFindsNothing) {
  AddScript("A.uc", "#exec MESH IMPORT MESH=Gun DATAFILE=..\\Models\\gun_d.3d ANIVFILE=Other\\gun_a.3d\n");
  EXPECT_FALSE(Find());
}

// A package on disk: pkg/Classes/Gun.uc, pkg/Models/gun_{d,a}.3d, and a file
// beside the package that scripts must not reach.
class PackageOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(pkg / "Classes");
    fs::create_directories(pkg / "Models" / "Deep" / "Er");
    for (const char* file : {"Models/gun_d.3d", "Models/gun_a.3d", "Models/Skin.PCX", "secret.pcx"})
      test::WriteBytes((file[0] == 's' ? dir.path() : pkg) / file, {1});
  }
  void Script(const std::string& text) { test::WriteBytes(pkg / "Classes" / "Gun.uc", {text.begin(), text.end()}); }
  std::optional<ScriptSkins> Find(const fs::path& mesh) { return FindScriptSkins(mesh.string()); }

  test::TempDir dir;
  fs::path pkg = dir.path() / "pkg";
};

TEST_F(PackageOnDisk, FindsFilesWithoutRegardToCaseButNeverOutsideThePackage) {
  fs::create_symlink(dir.path() / "secret.pcx", pkg / "Models" / "link.pcx");
  Script("#exec MESH IMPORT MESH=Gun DATAFILE=MODELS\\GUN_D.3D\n"
         "#exec TEXTURE IMPORT NAME=A FILE=models\\skin.pcx\n"
         "#exec TEXTURE IMPORT NAME=B FILE=..\\secret.pcx\n"
         "#exec TEXTURE IMPORT NAME=C FILE=" + (dir.path() / "secret.pcx").string() + "\n"
         "#exec TEXTURE IMPORT NAME=D FILE=Models\\link.pcx\n"
         "#exec TEXTURE IMPORT NAME=E FILE=Models\\none.pcx\n" +
         std::string("#exec MESHMAP SETTEXTURE MESHMAP=Gun NUM=0 TEXTURE=A\n") +
         "#exec MESHMAP SETTEXTURE MESHMAP=Gun NUM=1 TEXTURE=B\n#exec MESHMAP SETTEXTURE MESHMAP=Gun NUM=2 TEXTURE=C\n"
         "#exec MESHMAP SETTEXTURE MESHMAP=Gun NUM=3 TEXTURE=D\n#exec MESHMAP SETTEXTURE MESHMAP=Gun NUM=4 TEXTURE=E\n");
  std::optional<ScriptSkins> found = Find(pkg / "Models" / "gun_a.3d");
  ASSERT_TRUE(found);
  EXPECT_EQ(found->package, pkg.string());
  ASSERT_EQ(found->skins.size(), 5u);
  EXPECT_EQ(found->skins[0].file, (pkg / "Models" / "Skin.PCX").string());
  EXPECT_EQ(found->skins[1].problem, "the path ..\\secret.pcx leaves the package");
  EXPECT_NE(found->skins[2].problem.find("leaves the package"), std::string::npos);
  EXPECT_EQ(found->skins[3].problem, "the file Models\\link.pcx is not in the package");
  EXPECT_FALSE(found->skins[4].file);
}

TEST_F(PackageOnDisk, ThePackageIsFoundAFewLevelsUpAtMost) {
  Script("#exec MESH IMPORT MESH=Deep DATAFILE=Models\\Deep\\Er\\x_d.3d\n");
  EXPECT_EQ(FindPackageFolder(pkg / "Models" / "Deep" / "Er" / "x_d.3d"), pkg);
  EXPECT_EQ(Find(pkg / "Models" / "Deep" / "Er" / "x_d.3d")->meshName, "Deep");
  fs::create_directories(pkg / "Models" / "Deep" / "Er" / "Est");
  EXPECT_FALSE(FindPackageFolder(pkg / "Models" / "Deep" / "Er" / "Est" / "x_d.3d"));
}

}  // namespace
}  // namespace mok
