// mokcli skins and script on the shared mod folders, checked against their
// expected.json by tests/tools/script_skins_check.py.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "tests/core/mesh_test_support.h"
#include "tests/tools/cli_run.h"

namespace mok {
namespace {

std::filesystem::path ModFolders() { return std::filesystem::path(MOK_SHARED_TESTDATA) / "real" / "modfolders"; }

TEST(MokcliScripts, EveryMeshOfTheModFoldersAgreesWithExpectedAndReadsBackItsWrittenLines) {
  if (!std::filesystem::exists(ModFolders() / "expected.json")) GTEST_SKIP() << "no " << ModFolders();
  test::TempDir scratch;
  std::string command = std::string(MOK_SYSTEM_PYTHON) + " " + MOK_SOURCE_DIR + "/tests/tools/script_skins_check.py " +
                        MOK_CLI_PATH + " " + ModFolders().string() + " " + scratch.path().string() + " > " +
                        (scratch / "report.txt");
  int status = std::system(command.c_str());
  auto report = test::ReadBytes(scratch / "report.txt");
  EXPECT_EQ(status, 0) << std::string(report.begin(), report.end());
  EXPECT_EQ(std::string(report.begin(), report.end()), "15 meshes agree\n");
}

TEST(MokcliScripts, AMeshOutsideAnyPackageGivesNullsAndNoSkins) {
  test::TempDir scratch;
  test::CliRun run = test::RunCli("skins " + (scratch / "lone_d.3d"), scratch);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "{\"package\": null, \"uc\": null, \"meshName\": null, \"skins\": [], \"missing\": []}\n");
}

}  // namespace
}  // namespace mok
