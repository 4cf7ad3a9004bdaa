#include "core/history.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

#include "core/application.h"
#include "core/channels.h"
#include "core/face_edits.h"
#include "core/mesh_files.h"
#include "core/selection.h"
#include "core/settings.h"
#include "tests/core/mesh_test_support.h"
#include "tests/support/document_state.h"

namespace mok {
namespace {

using test::DocumentStateBytes;

class HistoryTest : public ::testing::Test {
 protected:
  HistoryTest() {
    auto loaded = LoadMesh(doc, std::string(MOK_SOURCE_DIR) + "/resources/samples/Sampler/Models/Sampler_d.3d", prompter);
    EXPECT_TRUE(loaded) << loaded.error().message;
    history.Reset(doc);
  }

  // A stroke of random texels in the active skin.
  void Paint(std::mt19937& random) {
    SkinSlot& skin = *doc.skinSlots[static_cast<std::size_t>(random() % 2)];
    for (int n = 0; n < 20; ++n)
      skin.pixels[random() % skin.pixels.size()] = static_cast<std::uint32_t>(random()) & 0xFFFFFFu;
  }

  void RandomEdit(std::mt19937& random) {
    switch (random() % 9) {
      case 0: SelectNone(app); doc.triangles[random() % static_cast<unsigned>(doc.triangleCount)].state |= kFaceSelected; SelectConnected(app); break;
      case 1: GrowSelection(app); break;
      case 2: FlipSelectedFaces(app); break;
      case 3: AssignChannelToSelected(doc, static_cast<int>(random() % 2)); break;
      case 4: ClearSelectedMapping(app); break;
      case 5: DeleteSelectedFaces(app); break;
      case 6: Paint(random); break;
      case 7: doc.fileInfo.comments += "x"; break;
      case 8: doc.StoreMapping(); break;
    }
  }

  test::ScriptedPrompter prompter;
  MemorySettings settings;
  NullRefreshSink refresh;
  Application app{settings, prompter, prompter, refresh};
  MeshDocument& doc = app.doc();
  History history;
};

TEST_F(HistoryTest, UndoingEverythingGivesBackEachStateAndRedoingGivesTheLast) {
  std::mt19937 random(7);
  for (int round = 0; round < 4; ++round) {
    history.Reset(doc);
    // The document before each recorded step: undo gives it back, selection
    // included, even when selection-only changes came between the steps.
    std::vector<std::vector<std::uint8_t>> before;
    std::vector<std::uint8_t> last;
    for (int n = 0; n < 40; ++n) {
      std::vector<std::uint8_t> start = DocumentStateBytes(doc);
      RandomEdit(random);
      if (!history.Commit(doc, "Edit")) continue;
      before.push_back(std::move(start));
      last = DocumentStateBytes(doc);
    }
    ASSERT_GT(before.size(), 5u);
    for (std::size_t k = before.size(); k > 0; --k) {
      ASSERT_TRUE(history.Undo(doc));
      ASSERT_EQ(DocumentStateBytes(doc), before[k - 1]) << "after undoing step " << k;
    }
    EXPECT_FALSE(history.Undo(doc));
    while (history.Redo(doc)) {
    }
    EXPECT_EQ(DocumentStateBytes(doc), last);
  }
}

TEST_F(HistoryTest, SelectionAloneIsNoStepAndTheNamesFollowThePosition) {
  SelectAll(app);
  EXPECT_FALSE(history.Commit(doc, "Select All"));
  EXPECT_FALSE(history.CanUndo());
  EXPECT_FALSE(history.Modified());
  FlipSelectedFaces(app);
  EXPECT_TRUE(history.Commit(doc, "Flip Selected Faces"));
  EXPECT_EQ(history.UndoName(), "Flip Selected Faces");
  EXPECT_TRUE(history.Modified());
  history.MarkSaved();
  EXPECT_FALSE(history.Modified());
  ASSERT_TRUE(history.Undo(doc));
  EXPECT_TRUE(history.Modified());
  EXPECT_EQ(history.RedoName(), "Flip Selected Faces");
  SelectNone(app);
  DeleteSelectedFaces(app);  // nothing selected: nothing changes
  AssignChannelToSelected(doc, 1);
  SelectAll(app);
  AssignChannelToSelected(doc, 1);
  EXPECT_TRUE(history.Commit(doc, "Assign Texture Channel"));
  EXPECT_FALSE(history.CanRedo()) << "a new step ends the redo list";
  EXPECT_TRUE(history.Modified()) << "the saved state was on the dropped branch";
}

TEST_F(HistoryTest, StrokesKeepOnlyTheirTilesAndTheMemoryBoundDropsTheOldest) {
  SkinSlot& skin = *doc.skinSlots[0];
  AllocateSkin(skin, 1024, 1024);
  history.Reset(doc);
  skin.pixels[5 * 1024 + 5] = 0x123456;
  ASSERT_TRUE(history.Commit(doc, "Paint Stroke", ChangeScope::OneSkin(0)));
  const std::size_t strokeBytes = history.MemoryUsed();
  EXPECT_LT(strokeBytes, 16u * 1024) << "one 32 x 32 tile before and after";

  history.SetMemoryLimit(3 * strokeBytes);
  for (int n = 1; n <= 5; ++n) {
    skin.pixels[static_cast<std::size_t>(n * 100 * 1024 + n)] = 0x654321;
    history.Commit(doc, "Paint Stroke", ChangeScope::OneSkin(0));
  }
  EXPECT_EQ(history.StepCount(), 3u);
  EXPECT_LE(history.MemoryUsed(), 3 * strokeBytes);

  // A step over the whole bound is applied but leaves no history behind.
  AllocateSkin(skin, 512, 512);
  EXPECT_FALSE(history.Commit(doc, "New Skin") && history.CanUndo());
  EXPECT_EQ(skin.width, 512);
  EXPECT_EQ(history.StepCount(), 0u);
}

TEST_F(HistoryTest, AddedOrRemovedSlotsStartANewHistory) {
  FlipSelectedFaces(app);
  SelectAll(app);
  FlipSelectedFaces(app);
  ASSERT_TRUE(history.Commit(doc, "Flip"));
  doc.skinSlots.push_back(std::make_unique<SkinSlot>());
  EXPECT_FALSE(history.Commit(doc, "Open Skin"));
  EXPECT_FALSE(history.Undo(doc));
}

}  // namespace
}  // namespace mok
