// Undo and redo as the user reaches them: commands through the command table
// (dialogs answered by script), strokes through the painter and the 3D view.
// Each command family undoes and redoes byte for byte; random sequences on
// the sample and on a real mesh undo to the start and redo to the end; the
// memory bound is a setting; a step never writes into a skin that replaced
// the one it painted.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "app/command_table.h"
#include "app/dropped_files.h"
#include "app/skin_commands.h"
#include "core/mesh_files.h"
#include "image/image_codecs.h"
#include "panes/painting.h"
#include "panes/skin_view.h"
#include "tests/core/application_fixture.h"
#include "tests/render/iso_view_fakes.h"
#include "tests/support/document_state.h"
#include "tests/support/random_user.h"
#include "tests/support/shared_testdata.h"

namespace mok {
namespace {

namespace fs = std::filesystem;
using test::DocumentStateBytes;
using Bytes = std::vector<std::uint8_t>;

const fs::path kSampleDir = fs::path(MOK_SOURCE_DIR) / "resources" / "samples" / "Sampler" / "Models";

// The real mesh and the skin made for it (the Siege grenade launcher).
fs::path RealFile(const char* name) { return fs::path(test::SharedTestdata()) / "real" / name; }

// Command ids of the rows the tests run.
enum : int {
  kSelectAll = 32796, kSelectNone = 32797, kInvert = 32798, kConnected = 32837, kGrow = 32838, kShrink = 32839,
  kTypeFlags = 32937, kChannel = 32938, kHide = 32830, kUnhide = 32831, kDeleteFaces = 32878, kFlipFaces = 32879,
  kEdgeTurn = 32880, kProperties = 32944, kSkinNew = 32785, kSkinClose = 32782, kSkinStore = 32787,
  kSkinRevert = 32786, kSkinResize = 32799, kFlipUv = 32884, kMirrorUv = 32885, kRotateUv = 32886,
  kSnapUv = 32913, kMapStore = 32840, kMapRevert = 32841, kMapClear = 32891, kMapImport = 32816, kMapExport = 32815,
  kChannel0 = 32945, kPaintMode = 32780, kMappingMode = 32781,
};

// One mouse event for a view.
template <class View>
void SendMouse(View& view, PaneEventType type, PaneButton button, int x, int y, unsigned held, unsigned modifiers = 0) {
  view.HandleEvent(MouseEvent(type, button, x, y, held, modifiers));
}

class UndoTest : public test::ApplicationFixture {
 public:
  using ApplicationFixture::app;
  using ApplicationFixture::dir;
  using ApplicationFixture::prompter;
  using ApplicationFixture::settings;

  // Loads a mesh, opens the images into channels 0, 1, ... as Skins > Open
  // does, and starts the history there.
  void Open(const fs::path& mesh, const std::vector<fs::path>& skins) {
    auto loaded = LoadMesh(app.doc(), mesh.string(), prompter);
    ASSERT_TRUE(loaded) << loaded.error().message;
    for (std::size_t c = 0; c < skins.size(); ++c) {
      table.Run(kChannel0 + static_cast<int>(c));
      OpenSkinFile(app, skins[c].string());
    }
    table.Run(kChannel0);
    app.history.Reset(app.doc());
  }
  void OpenSample() { Open(kSampleDir / "Sampler_d.3d", {kSampleDir / "Sampler_core.tga", kSampleDir / "Sampler_ring.pcx"}); }

  MeshDocument& doc() { return app.doc(); }
  SkinSlot& active() { return *doc().activeSkin; }
  void Select(std::initializer_list<int> faces) {
    table.Run(kSelectNone);
    for (int f : faces) doc().triangles[static_cast<std::size_t>(f)].state |= kFaceSelected;
  }

  // A window that shows the active skin 1:1, as the skin view hands the
  // painter its texel ids (rows bottom-up).
  TexelIdView SkinWindow() { return test::SkinWindow(active(), ids); }

  // A stroke through the painter from `from` over the points given.
  void Stroke(WindowPoint from, std::initializer_list<WindowPoint> over) {
    const TexelIdView view = SkinWindow();
    ASSERT_TRUE(painter.BeginStroke(view, from));
    for (WindowPoint p : over) painter.MoveStroke(view, p);
    painter.EndStroke();
  }

  // A stroke in the 3D view: press, drag and release over a row of the
  // picture whose ids name texels of the active skin's second row.
  void StrokeIn3DView() {
    test::FakeRenderer renderer;
    test::FakeHost host;
    test::FakeLink link;
    LightFrame light;
    IsoView view(IsoViewLinks{app, light, renderer, host, painter, link});
    view.Resize(64, 48);
    FrameBuffer& frame = view.frame();
    for (int x = 0; x < 40; ++x) frame.ids[static_cast<std::size_t>(20 * frame.width + x)] = active().width + x;
    const int y = 48 - 1 - 20;
    SendMouse(view, PaneEventType::Press, PaneButton::Left, 10, y, kHeldLeft);
    SendMouse(view, PaneEventType::Move, PaneButton::None, 30, y, kHeldLeft);
    SendMouse(view, PaneEventType::Release, PaneButton::Left, 30, y, 0);
  }

  // A right-button drag of the selection in the skin view in Mapping Mode:
  // moved, or turned with Shift.
  void DragSelectionInSkinView(unsigned modifiers) {
    RasterContext raster;
    test::FakeHost host;
    SkinView view(app, raster, host);
    view.Resize(200, 100);
    view.viewCenter = {active().width / 2.0f, active().height / 2.0f};
    table.Run(kMappingMode);
    SendMouse(view, PaneEventType::Press, PaneButton::Right, 100, 50, kHeldRight, modifiers);
    SendMouse(view, PaneEventType::Move, PaneButton::None, 109, 56, kHeldRight, modifiers);
    SendMouse(view, PaneEventType::Release, PaneButton::Right, 109, 56, 0, modifiers);
    table.Run(kPaintMode);
  }

  // Undoes every step, checking each earlier state, then redoes them all.
  void UndoAllThenRedoAll(const std::vector<Bytes>& before, const Bytes& last) {
    for (std::size_t k = before.size(); k > 0; --k) {
      ASSERT_TRUE(app.history.Undo(doc()));
      ASSERT_EQ(DocumentStateBytes(doc()), before[k - 1]) << "after undoing step " << k;
    }
    EXPECT_FALSE(app.history.Undo(doc()));
    while (app.history.Redo(doc())) {
    }
    EXPECT_EQ(DocumentStateBytes(doc()), last);
  }

  CommandTable table{app};
  Painter painter{app};
  std::vector<std::int32_t> ids;
};

// ---- Each family of commands, one step each ----

struct RoundTrip {
  const char* step;
  std::function<void(UndoTest&)> prepare;  // before the history starts
  std::function<void(UndoTest&)> act;
};

// Two faces sharing an edge in the mesh and in the mapping.
std::pair<int, int> TurnablePair(const MeshDocument& doc) {
  for (int a = 0; a < doc.triangleCount; ++a) {
    for (int b = a + 1; b < doc.triangleCount; ++b) {
      int shared = 0;
      const MeshTriangle& fa = doc.triangles[static_cast<std::size_t>(a)];
      const MeshTriangle& fb = doc.triangles[static_cast<std::size_t>(b)];
      for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) shared += fa.vertex[i] == fb.vertex[j] && fa.uvIndex[i] == fb.uvIndex[j];
      if (shared == 2) return {a, b};
    }
  }
  return {-1, -1};
}

// A face whose quarter turn about its box's centre stays on the skin.
int TurnableFace(const MeshDocument& doc, const SkinSlot& skin) {
  for (int f = 0; f < doc.triangleCount; ++f) {
    const UvPair* uv = doc.triangles[static_cast<std::size_t>(f)].uv;
    const float cu = (std::min({uv[0].u, uv[1].u, uv[2].u}) + std::max({uv[0].u, uv[1].u, uv[2].u})) / 2;
    const float cv = (std::min({uv[0].v, uv[1].v, uv[2].v}) + std::max({uv[0].v, uv[1].v, uv[2].v})) / 2;
    bool inside = true;
    for (int k = 0; k < 3; ++k) {
      const float u = cu + (uv[k].v - cv), v = cv - (uv[k].u - cu);
      inside = inside && u >= 0 && u < skin.width && v >= 0 && v < skin.height;
    }
    if (inside) return f;
  }
  return -1;
}

TEST_F(UndoTest, EveryCommandFamilyUndoesAndRedoesExactly) {
  const fs::path mapping = dir.path() / "saved.mkmp";
  auto run = [](int id) { return [id](UndoTest& t) { t.table.Run(id); }; };
  auto selectAll = [](UndoTest& t) { t.table.Run(kSelectAll); };
  auto dirtySkin = [](UndoTest& t) {
    for (std::size_t i = 0; i < t.active().pixels.size(); i += 7) t.active().pixels[i] ^= 0x00FF00u;
  };
  auto mirrorAll = [](UndoTest& t) {
    t.table.Run(kSelectAll);
    t.table.Run(kMirrorUv);
  };
  const std::vector<RoundTrip> cases = {
      {"Flip Selected", selectAll, run(kFlipUv)},
      {"Mirror Selected", selectAll, run(kMirrorUv)},
      {"90° Rotate Selected",
       [](UndoTest& t) {
         const int face = TurnableFace(t.doc(), t.active());
         ASSERT_GE(face, 0) << "every face turns off the skin";
         t.Select({face});
       },
       run(kRotateUv)},
      {"Delete Selected", selectAll, run(kMapClear)},
      {"Set Triangle Type Flags",
       [](UndoTest& t) {
         t.table.Run(kSelectAll);
         t.prompter.triangleFlags.answer = TriangleFlagsDialog{.baseChoice = 3, .keepModifiers = false, .flat = FlagBox::Checked};
       },
       run(kTypeFlags)},
      {"Set Triangle Texture Channel",
       [](UndoTest& t) {
         t.table.Run(kSelectAll);
         t.prompter.channel.edit = [](ChannelDialog& d) { return (d.chosen = 5) < static_cast<int>(d.lines.size()); };
       },
       run(kChannel)},
      {"Delete Selected Faces", [](UndoTest& t) { t.Select({0, 3}); }, run(kDeleteFaces)},
      {"Flip Selected Faces", selectAll, run(kFlipFaces)},
      {"Edge Turn",
       [](UndoTest& t) {
         const auto [a, b] = TurnablePair(t.doc());
         ASSERT_GE(a, 0) << "no two faces share an edge in the mapping";
         t.Select({a, b});
       },
       run(kEdgeTurn)},
      {"File Properties",
       [](UndoTest& t) { t.prompter.properties.answer = FileInfo{"Someone", "someone@example.org", "today", "a note", ""}; },
       run(kProperties)},
      {"New",
       [](UndoTest& t) { t.prompter.newSkin.answer = NewSkinDialog{.size = NewSkinSizeChoice::Size64, .checkerboard = true}; },
       run(kSkinNew)},
      {"Resize",
       [](UndoTest& t) {
         t.prompter.resize.edit = [](ResizeSkinDialog& d) {
           d.toWidth = d.fromWidth / 2;
           d.toHeight = d.fromHeight / 2;
           d.SynchronizeSettings();
           return true;
         };
       },
       run(kSkinResize)},
      {"Store", dirtySkin, run(kSkinStore)},
      {"Revert", dirtySkin, run(kSkinRevert)},
      {"Store", mirrorAll, run(kMapStore)},
      {"Revert", mirrorAll, run(kMapRevert)},
      {"Import",
       [&mapping](UndoTest& t) {
         t.prompter.Choose(mapping);
         t.table.Run(kMapExport);
         t.table.Run(kSelectAll);
         t.table.Run(kMirrorUv);
         t.prompter.Choose(mapping);
         t.prompter.mkmpImport.answer = MkmpImportOptions{};
       },
       run(kMapImport)},
      {"Move Selection", selectAll, [](UndoTest& t) { t.DragSelectionInSkinView(0); }},
      {"Rotate Selection", selectAll, [](UndoTest& t) { t.DragSelectionInSkinView(kModShift); }},
      {"Move Selection",  // the skin's texels move with the mapping
       [](UndoTest& t) {
         t.table.Run(kSelectAll);
         t.table.Run(32836);  // Texture Warp
       },
       [](UndoTest& t) {
         const std::vector<std::uint32_t> texels = t.active().pixels;
         t.DragSelectionInSkinView(0);
         EXPECT_NE(t.active().pixels, texels) << "the warp moved no texel";
       }},
      {"Paint Stroke", nullptr, [](UndoTest& t) { t.Stroke({2, 2}, {{30, 9}, {12, 40}}); }},
      {"Paint Stroke", nullptr, [](UndoTest& t) { t.StrokeIn3DView(); }},
  };
  for (const RoundTrip& c : cases) {
    SCOPED_TRACE(c.step);
    OpenSample();
    app.customColors[0] = 0x3366CC;
    app.flags.brushKind = BrushKind::Pencil;
    if (c.prepare) c.prepare(*this);
    app.history.Reset(doc());
    const Bytes before = DocumentStateBytes(doc());
    c.act(*this);
    const Bytes after = DocumentStateBytes(doc());
    ASSERT_TRUE(after != before) << "the command changed nothing; last message: "
                                 << (prompter.messages.empty() ? "" : prompter.messages.back());
    EXPECT_EQ(app.history.UndoName(), c.step);
    EXPECT_EQ(app.history.StepCount(), 1u);
    ASSERT_TRUE(app.history.Undo(doc()));
    EXPECT_EQ(DocumentStateBytes(doc()), before);
    ASSERT_TRUE(app.history.Redo(doc()));
    EXPECT_EQ(DocumentStateBytes(doc()), after);
  }
}

// ---- Random sequences ----

class RandomEdits {
 public:
  RandomEdits(UndoTest& test, std::mt19937& random) : t_(test), random_(random) {
    test::AnswerDialogsAtRandom(t_.prompter, random_);
  }

  void Next() {
    static constexpr int kRows[] = {kSelectAll, kSelectNone, kInvert, kConnected, kGrow, kShrink, kHide, kUnhide,
                                    kDeleteFaces, kFlipFaces, kEdgeTurn, kTypeFlags, kChannel, kFlipUv, kMirrorUv,
                                    kRotateUv, kSnapUv, kMapStore, kMapRevert, kMapClear, kProperties, kSkinNew,
                                    kSkinStore, kSkinRevert, kSkinClose, kSkinResize, kChannel0, kChannel0 + 1};
    switch (Pick(4)) {
      case 0: {  // one face or a few, then maybe a command on them
        const int face = Pick(t_.doc().triangleCount);
        t_.Select({face});
        if (Pick(2)) t_.table.Run(kGrow);
        break;
      }
      case 1: ASSERT_TRUE(test::StrokeAtRandom(t_.app, t_.painter, random_)); break;
      default: t_.table.Run(kRows[Pick(static_cast<int>(std::size(kRows)))]); break;
    }
  }

 private:
  int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

  UndoTest& t_;
  std::mt19937& random_;
};

int RandomStepCount() {
  const char* steps = std::getenv("MOK_UNDO_STEPS");
  return steps ? std::max(1, std::atoi(steps)) : 80;
}

// Every step records all it changed (a wider look finds nothing left), undo
// gives back each earlier state and redo the last; set MOK_UNDO_STEPS for
// longer runs.
void RandomEditsRoundTrip(UndoTest& t, unsigned seed) {
  std::mt19937 random(seed);
  RandomEdits edits(t, random);
  std::vector<Bytes> before;
  Bytes last = DocumentStateBytes(t.doc());
  for (int n = 0; n < RandomStepCount(); ++n) {
    Bytes start = DocumentStateBytes(t.doc());
    const std::size_t steps = t.app.history.StepCount();
    edits.Next();
    ASSERT_FALSE(t.app.history.Commit(t.doc(), "Unrecorded")) << "edit " << n << " left a change unrecorded";
    if (t.app.history.StepCount() == steps) continue;
    before.push_back(std::move(start));
    last = DocumentStateBytes(t.doc());
  }
  ASSERT_GT(before.size(), 10u);
  t.UndoAllThenRedoAll(before, last);
}

TEST_F(UndoTest, RandomEditsOnTheSampleUndoToTheStartAndRedoToTheEnd) {
  OpenSample();
  RandomEditsRoundTrip(*this, 15);
}

TEST_F(UndoTest, RandomEditsOnARealMeshUndoToTheStartAndRedoToTheEnd) {
  const fs::path mesh = RealFile("unreal/sg_GL1st_d.3d"), skin = RealFile("images/siege_JGLauncherSkin.pcx");
  if (!fs::exists(mesh) || !fs::exists(skin)) GTEST_SKIP() << "no shared real files";
  Open(mesh, {skin, skin});
  RandomEditsRoundTrip(*this, 16);
}

// ---- The memory bound ----

TEST_F(UndoTest, TheMemoryBoundIsASettingAndDropsTheOldestSteps) {
  app.ReadStartupSettings();
  EXPECT_EQ(app.history.MemoryLimit(), std::size_t{256} << 20);
  settings.writeInt("Preferences", "History MB", -4);
  app.ReadStartupSettings();
  EXPECT_EQ(app.history.MemoryLimit(), 0u);
  settings.writeInt("Preferences", "History MB", 1);
  app.ReadStartupSettings();
  ASSERT_EQ(app.history.MemoryLimit(), std::size_t{1} << 20);

  OpenSample();
  prompter.newSkin.answer = NewSkinDialog{.size = NewSkinSizeChoice::Size512};
  table.Run(kSkinNew);  // one whole 512 x 512 image before and after: over the bound
  EXPECT_EQ(app.history.StepCount(), 0u);
  EXPECT_EQ(active().width, 512);

  // Strokes across the whole width, five rows high: 16 to 32 tiles, an
  // eighth to a quarter of the bound each.
  app.flags.brushKind = BrushKind::Pencil;
  app.flags.brushRadius = 2;
  std::vector<Bytes> states{DocumentStateBytes(doc())};
  for (int row = 8; row < 512; row += 24) {
    Stroke({0, row}, {{511, row}});
    states.push_back(DocumentStateBytes(doc()));
  }
  const std::size_t kept = app.history.StepCount();
  EXPECT_LE(app.history.MemoryUsed(), std::size_t{1} << 20);
  ASSERT_GE(kept, 1u);
  ASSERT_LT(kept, states.size() - 1) << "the oldest strokes are dropped";
  while (app.history.Undo(doc())) {
  }
  EXPECT_EQ(DocumentStateBytes(doc()), states[states.size() - 1 - kept]);
}

// ---- Slots closed or replaced after a stroke ----

TEST_F(UndoTest, AStrokeIsNeverUndoneIntoTheSkinThatReplacedItsImage) {
  OpenSample();
  const Bytes opened = DocumentStateBytes(doc());
  app.flags.brushKind = BrushKind::Pencil;
  Stroke({1, 1}, {{20, 20}});
  const Bytes painted = DocumentStateBytes(doc());

  table.Run(kSkinClose);  // the painted image gives way to the placeholder
  EXPECT_EQ(app.history.UndoName(), "Close/Delete");
  ASSERT_TRUE(app.history.Undo(doc()));
  EXPECT_EQ(DocumentStateBytes(doc()), painted);
  ASSERT_TRUE(app.history.Undo(doc()));
  EXPECT_EQ(DocumentStateBytes(doc()), opened);
  ASSERT_TRUE(app.history.Redo(doc()));
  ASSERT_TRUE(app.history.Redo(doc()));

  // A skin dropped on the window, and an Auto-Reload on activation, replace
  // the image outside any command: each is a step of its own, so undoing
  // the next stroke leaves the new image as it was.
  const fs::path ring = kSampleDir / "Sampler_ring.pcx";
  OpenDroppedFiles(app, {ring.string()});
  EXPECT_EQ(app.history.UndoName(), "Open");
  const Bytes dropped = DocumentStateBytes(doc());
  Stroke({3, 3}, {{9, 3}});
  ASSERT_TRUE(app.history.Undo(doc()));
  EXPECT_EQ(DocumentStateBytes(doc()), dropped);

  Stroke({3, 3}, {{9, 3}});
  app.flags.autoReload = true;
  AutoReloadOnActivation(app);
  EXPECT_EQ(app.history.UndoName(), "Auto-Reload");
  const Bytes reloaded = DocumentStateBytes(doc());
  Stroke({5, 5}, {{5, 15}});
  ASSERT_TRUE(app.history.Undo(doc()));
  EXPECT_EQ(DocumentStateBytes(doc()), reloaded);

  // Slots added or removed start a new history: nothing is written anywhere.
  doc().skinSlots.pop_back();
  const Bytes fewer = DocumentStateBytes(doc());
  EXPECT_FALSE(app.history.Undo(doc()));
  EXPECT_EQ(DocumentStateBytes(doc()), fewer);
}

}  // namespace
}  // namespace mok
