#include "core/triangle_flags.h"

#include <gtest/gtest.h>

#include "tests/core/edit_test_support.h"

namespace mok {
namespace {

using edit_test::Hide;
using edit_test::MeshBuilder;
using edit_test::ScriptedPrompter;
using edit_test::Select;
using edit_test::SelectedFaces;

MeshDocument* FacesOfTypes(MeshBuilder& builder, std::initializer_list<std::uint8_t> types) {
  for (std::size_t i = 0; i < types.size(); ++i) builder.AddFace(0, 1, 2, {float(i), 0}, {float(i), 1}, {float(i) + 1, 0});
  auto doc = builder.Build();
  int i = 0;
  for (std::uint8_t type : types) doc->triangles[i++].type = type;
  return doc;
}

std::vector<std::uint8_t> Types(const MeshDocument& doc) {
  std::vector<std::uint8_t> types;
  for (int i = 0; i < doc.triangleCount; ++i) types.push_back(doc.triangles[i].type);
  return types;
}

TEST(TypeFlagsDialog, CommonBaseWithMixedModifiersShowsTheBaseAndKeepsModifiers) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x12, 0x02, 0x44});
  Select(*doc, {0, 1});
  TriangleFlagsDialog dialog = InitialTypeFlagsDialog(*doc);
  EXPECT_EQ(dialog.baseChoice, 3);  // "Translucent - 2 Sided"
  EXPECT_TRUE(dialog.keepModifiers);
  EXPECT_EQ(dialog.fullbright, FlagBox::Mixed);  // only the first has 0x10
  EXPECT_EQ(dialog.environmentMapped, FlagBox::Clear);
}

TEST(TypeFlagsDialog, MixedModifiersCheckTheBitsEveryFaceHas) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x92, 0x82});
  Select(*doc, {0, 1});
  TriangleFlagsDialog dialog = InitialTypeFlagsDialog(*doc);
  EXPECT_TRUE(dialog.keepModifiers);
  EXPECT_EQ(dialog.fullbright, FlagBox::Mixed);
  EXPECT_EQ(dialog.noSmoothing, FlagBox::Checked);
  EXPECT_EQ(dialog.flat, FlagBox::Clear);
}

TEST(TypeFlagsDialog, MixedBaseWithCommonModifiersShowsTheModifierBoxes) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0xA1, 0xA3, 0x00});
  Select(*doc, {0, 1});
  Hide(*doc, {1});  // hidden faces with the selected bit count
  TriangleFlagsDialog dialog = InitialTypeFlagsDialog(*doc);
  EXPECT_EQ(dialog.baseChoice, 0);
  EXPECT_FALSE(dialog.keepModifiers);
  EXPECT_EQ(dialog.fullbright, FlagBox::Clear);
  EXPECT_EQ(dialog.flat, FlagBox::Checked);
  EXPECT_EQ(dialog.environmentMapped, FlagBox::Clear);
  EXPECT_EQ(dialog.noSmoothing, FlagBox::Checked);
}

TEST(TypeFlagsDialog, ABaseTypeWithoutRadioShowsNone) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x05, 0x08});
  Select(*doc, {0});
  EXPECT_EQ(InitialTypeFlagsDialog(*doc).baseChoice, -1);
  Select(*doc, {1});
  EXPECT_EQ(InitialTypeFlagsDialog(*doc).baseChoice, 6);  // "Placeholder For Weapon"
}

TEST(SetTypeFlags, OkWithUnchangedMixedModifiersKeepsEachFacesModifiers) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x12, 0x02, 0x44});
  Select(*doc, {0, 1});
  ScriptedPrompter& prompter = builder.prompter;
  prompter.triangleFlags.edit = [](TriangleFlagsDialog&) { return TriangleFlagsOutcome::Ok; };
  SetTypeFlags(builder.app);
  EXPECT_EQ(Types(*doc), (std::vector<std::uint8_t>{0x12, 0x02, 0x44}));
  EXPECT_EQ(builder.refresh.refreshes(), 1);
}

TEST(SetTypeFlags, MaskedWithModifiersUnchangedKeepsTheHighNibble) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x12, 0x02, 0x44});
  Select(*doc, {0, 1});
  ScriptedPrompter& prompter = builder.prompter;
  prompter.triangleFlags.edit = [](TriangleFlagsDialog& dialog) {
    dialog.baseChoice = 4;  // "Masked - 2 Sided"
    return TriangleFlagsOutcome::Ok;
  };
  SetTypeFlags(builder.app);
  EXPECT_EQ(Types(*doc), (std::vector<std::uint8_t>{0x13, 0x03, 0x44}));
}

TEST(SetTypeFlags, OkWithNoRadioWritesBackTheFacesOwnBase) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x05, 0x01});
  Select(*doc, {0});
  ScriptedPrompter& prompter = builder.prompter;
  prompter.triangleFlags.edit = [](TriangleFlagsDialog& dialog) {
    dialog.environmentMapped = FlagBox::Checked;
    return TriangleFlagsOutcome::Ok;
  };
  SetTypeFlags(builder.app);
  EXPECT_EQ(prompter.triangleFlags.shown.back().baseChoice, -1);
  EXPECT_EQ(Types(*doc), (std::vector<std::uint8_t>{0x45, 0x01}));
}

TEST(SetTypeFlags, APartlyCheckedBoxKeepsEachFacesBitWhileTheOthersApply) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x92, 0x82, 0x00});
  Select(*doc, {0, 1});
  ScriptedPrompter& prompter = builder.prompter;
  prompter.triangleFlags.edit = [](TriangleFlagsDialog& dialog) {
    dialog.keepModifiers = false;  // fullbright stays partly checked
    dialog.noSmoothing = FlagBox::Clear;
    dialog.environmentMapped = FlagBox::Checked;
    return TriangleFlagsOutcome::Ok;
  };
  SetTypeFlags(builder.app);
  EXPECT_EQ(Types(*doc), (std::vector<std::uint8_t>{0x52, 0x42, 0x00}));
}

TEST(SetTypeFlags, SelectIgnoresTheBitsOfPartlyCheckedBoxes) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x11, 0x01, 0x51, 0x21, 0x13});
  Select(*doc, {0, 1});
  ScriptedPrompter& prompter = builder.prompter;
  prompter.triangleFlags.edit = [](TriangleFlagsDialog& dialog) {
    dialog.baseChoice = 2;  // "Normal - 2 Sided"; fullbright stays partly checked
    dialog.keepModifiers = false;
    return TriangleFlagsOutcome::Select;
  };
  SetTypeFlags(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{0, 1}));
}

TEST(SetTypeFlags, SetsHiddenSelectedFacesToo) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x00, 0x00, 0x00});
  Select(*doc, {0, 2});
  Hide(*doc, {2});
  ScriptedPrompter& prompter = builder.prompter;
  prompter.triangleFlags.edit = [](TriangleFlagsDialog& dialog) {
    dialog.baseChoice = 2;
    dialog.keepModifiers = false;
    dialog.fullbright = FlagBox::Checked;
    return TriangleFlagsOutcome::Ok;
  };
  SetTypeFlags(builder.app);
  EXPECT_EQ(Types(*doc), (std::vector<std::uint8_t>{0x11, 0x00, 0x11}));
}

TEST(SetTypeFlags, SelectPicksExactlyTheMatchingTypeHiddenIncluded) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x01, 0x11, 0x01, 0x02, 0x01});
  Select(*doc, {3});
  Hide(*doc, {2});
  ScriptedPrompter& prompter = builder.prompter;
  prompter.triangleFlags.edit = [](TriangleFlagsDialog& dialog) {
    dialog.baseChoice = 2;  // "Normal - 2 Sided"
    dialog.keepModifiers = false;
    dialog.fullbright = dialog.flat = dialog.environmentMapped = dialog.noSmoothing = FlagBox::Clear;
    return TriangleFlagsOutcome::Select;
  };
  SetTypeFlags(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{0, 2, 4}));
  EXPECT_EQ(Types(*doc), (std::vector<std::uint8_t>{0x01, 0x11, 0x01, 0x02, 0x01}));
}

TEST(SetTypeFlags, SelectByModifiersAloneKeepsAnyBase) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x41, 0x42, 0xC2, 0x02});
  Select(*doc, {0});
  ScriptedPrompter& prompter = builder.prompter;
  prompter.triangleFlags.edit = [](TriangleFlagsDialog& dialog) {
    dialog.baseChoice = 0;
    return TriangleFlagsOutcome::Select;  // the boxes still show 0x40 alone
  };
  SetTypeFlags(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{0, 1}));
}

TEST(SetTypeFlags, SelectWithBothUnchangedChangesNothing) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x12, 0x02});
  Select(*doc, {0, 1});
  ScriptedPrompter& prompter = builder.prompter;
  prompter.triangleFlags.edit = [](TriangleFlagsDialog& dialog) {
    dialog.baseChoice = 0;
    dialog.keepModifiers = true;
    return TriangleFlagsOutcome::Select;
  };
  SetTypeFlags(builder.app);
  EXPECT_EQ(SelectedFaces(*doc), (std::vector<int>{0, 1}));
}

TEST(SetTypeFlags, CancelAndAnEmptySelectionDoNothing) {
  MeshBuilder builder;
  auto doc = FacesOfTypes(builder, {0x12});
  ScriptedPrompter& prompter = builder.prompter;
  SetTypeFlags(builder.app);
  EXPECT_TRUE(prompter.triangleFlags.shown.empty());
  Select(*doc, {0});
  SetTypeFlags(builder.app);  // the scripted prompter cancels
  EXPECT_FALSE(prompter.triangleFlags.shown.empty());
  EXPECT_EQ(doc->triangles[0].type, 0x12);
  EXPECT_TRUE(builder.refresh.refreshes() == 0);
}

}  // namespace
}  // namespace mok
