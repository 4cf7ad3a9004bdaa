#include "app/command_line.h"

#include <gtest/gtest.h>

#include <regex>

namespace mok {
namespace {

using Files = std::vector<std::string>;

TEST(ProgramArguments, FilesComeWithOrWithoutTheOldSwitch) {
  EXPECT_EQ(ParseProgramArguments({"ship_d.3d", "my skins/a b.pcx"}).files, (Files{"ship_d.3d", "my skins/a b.pcx"}));
  ProgramArguments old = ParseProgramArguments({"-3d", "ship_d.3d", "c.tga"});
  EXPECT_EQ(old.action, ProgramAction::Run);
  EXPECT_EQ(old.files, (Files{"ship_d.3d", "c.tga"}));
  // A name that merely holds the switch's letters is a plain name.
  EXPECT_EQ(ParseProgramArguments({"my-3d-ship_d.3d"}).files, Files{"my-3d-ship_d.3d"});
  EXPECT_TRUE(ParseProgramArguments({"-3d"}).files.empty());
  EXPECT_EQ(ParseProgramArguments({"--", "-3d", "--help", "-"}).files, (Files{"-3d", "--help", "-"}));
}

TEST(ProgramArguments, HelpAndVersionWinOverEverythingElseAndUnknownOptionsAreRefused) {
  EXPECT_EQ(ParseProgramArguments({"ship_d.3d", "--bogus", "-h"}).action, ProgramAction::ShowHelp);
  EXPECT_EQ(ParseProgramArguments({"--help"}).action, ProgramAction::ShowHelp);
  EXPECT_EQ(ParseProgramArguments({"--version", "ship_d.3d"}).action, ProgramAction::ShowVersion);
  ProgramArguments refused = ParseProgramArguments({"ship_d.3d", "--bogus", "-x"});
  EXPECT_EQ(refused.action, ProgramAction::Refuse);
  EXPECT_TRUE(refused.files.empty());
  EXPECT_EQ(RefusalText("mok", refused.error),
            "mok: unrecognized option '--bogus'\nTry 'mok --help' for more information.\n");
}

TEST(ProgramArguments, UsageAndVersionTextsHaveTheUsualForm) {
  EXPECT_EQ(ProgramUsage().rfind("Usage: mok [OPTION]... [MESH [SKIN]...]\n", 0), 0u);
  for (const char* option : {"-h, --help", "--version", "-3d"}) EXPECT_NE(ProgramUsage().find(option), std::string::npos);
  EXPECT_TRUE(std::regex_match(VersionText("mokcli"), std::regex("mokcli [0-9]+\\.[0-9]+(\\.[0-9]+)*\n")));
}

}  // namespace
}  // namespace mok
