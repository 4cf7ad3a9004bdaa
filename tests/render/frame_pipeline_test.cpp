#include "render/frame_pipeline.h"

#include <gtest/gtest.h>

#include <memory>

namespace mok {
namespace {

// The default camera looks at the model from +x: a model point (0, y, z)
// lands at camera (-y, z, 75), and with s = 100 / (2 * 75 * tan(16.5 deg))
// = 2.2506 a 100 x 100 view puts it at (50 + 2.2506 y, 50 + 2.2506 z).
// The face (0,0,0), (0,-10,0), (0,0,10) faces the eye and covers the screen
// triangle (50, 50), (27, 50), (50, 72). Its normal (b - a) x (c - b) is
// (-1, 0, 0), against the identity light (model +x), so it is fully lit.
constexpr std::uint32_t kBackground = 0x123456;

// A flat-shaded drawer in the manner of "Flat Shaded": the ramp by selection
// at the face's flat light, the face index as id.
struct FlatDrawer : FrameDrawer {
  std::vector<TexturePass> passes;
  void DrawPass(FrameState& frame, const TexturePass& pass) override {
    passes.push_back(pass);
    for (int index : pass.triangles) {
      const MeshTriangle& face = frame.face(index);
      const auto v = FaceVertices(frame, index, AttributeLayout::Depth);
      fillFlatPick(frame.raster(), v.data(), index, FlatShadeColour(frame, face, RampFor(face, frame.job.mappingMode)));
    }
  }
};

struct Fixture {
  std::unique_ptr<MeshDocument> doc = std::make_unique<MeshDocument>();
  ViewRecord view;
  RasterContext raster;
  GammaTable gamma = BuildGammaTable(1.0);
  LightFrame light;

  Fixture() {
    auto frame = std::make_unique<AnimFrame>();
    frame->positions = {{0, 0, 0}, {0, 0, 10}, {0, -10, 0}, {-20, 0, 0}, {-20, 0, 10}, {-20, -10, 0}};
    doc->frames.push_back(std::move(frame));
    doc->currentVertices = doc->frames[0]->positions.data();
    doc->vertexCount = 6;
    ResizeFrameBuffer(view.frame, 100, 100, true);
  }

  int AddFace(int a, int b, int c, std::uint8_t type = kTypeNormalOneSided) {
    MeshTriangle& face = doc->triangles[static_cast<std::size_t>(doc->triangleCount)];
    face.vertex[0] = static_cast<std::int16_t>(a);
    face.vertex[1] = static_cast<std::int16_t>(b);
    face.vertex[2] = static_cast<std::int16_t>(c);
    face.type = type;
    return doc->triangleCount++;
  }

  FrameJob Job(bool withModel = true) {
    FrameJob job{view, withModel ? doc.get() : nullptr, raster, gamma, light};
    job.colours = {0xFFFFFF, 0xFFFFFF, 0x8080FF, 0xFF8080, 0, 0, 0, kBackground};
    return job;
  }

  // One frame drawn by the flat drawer.
  void DrawFlat(const FramePlan& plan = {}) {
    FlatDrawer drawer;
    FrameJob job = Job();
    RunFrame(job, plan, drawer);
  }

  std::uint32_t Colour(int x, int y) const { return view.frame.colour[static_cast<std::size_t>(y * view.frame.width + x)]; }
  std::int32_t Id(int x, int y) const { return view.frame.ids[static_cast<std::size_t>(y * view.frame.width + x)]; }
  std::uint16_t Depth(int x, int y) const { return view.frame.depth[static_cast<std::size_t>(y * view.frame.width + x)]; }
};

TEST(RunFrame, WithoutAModelOnlyClears) {
  Fixture f;
  f.view.frame.ids.assign(f.view.frame.ids.size(), 9);
  FlatDrawer drawer;
  FrameJob job = f.Job(false);
  RunFrame(job, {}, drawer);
  EXPECT_TRUE(drawer.passes.empty());
  EXPECT_EQ(f.Colour(40, 55), kBackground);
  EXPECT_EQ(f.Id(40, 55), -1);
  EXPECT_EQ(f.Depth(40, 55), 0xFFFF);
}

TEST(RunFrame, RestoresThePriorityAfterAnEarlyStop) {
  struct Counting : FramePriority {
    int raised = 0, restored = 0;
    void Raise() override { ++raised; }
    void Restore() override { ++restored; }
  } priority;
  Fixture f;
  FlatDrawer drawer;
  FrameJob job = f.Job(false);
  job.priority = &priority;
  RunFrame(job, {}, drawer);
  EXPECT_EQ(priority.raised, 1);
  EXPECT_EQ(priority.restored, 1);
}

TEST(RunFrame, DrawsAFrontFacingFaceLitAndPicked) {
  Fixture f;
  f.AddFace(0, 2, 1);
  FramePlan plan;
  plan.lighting = LightingKind::Flat;
  f.DrawFlat(plan);
  // Fully lit: index 254 of the white ramp, 255 * 254 / 256 = 253.
  EXPECT_EQ(f.Colour(45, 55), 0xFDFDFDu);
  EXPECT_EQ(f.Id(45, 55), 0);
  EXPECT_LT(f.Depth(45, 55), 16384);
  EXPECT_EQ(f.Colour(30, 70), kBackground);  // beside the hypotenuse
  EXPECT_EQ(f.Id(30, 70), -1);
  EXPECT_EQ(f.Colour(60, 55), kBackground);
}

TEST(RunFrame, FacesTurnedAwayLeaveTheFrameCleared) {
  Fixture f;
  f.AddFace(0, 1, 2);
  f.DrawFlat();
  for (std::uint32_t c : f.view.frame.colour) ASSERT_EQ(c, kBackground);
}

TEST(RunFrame, TwoSidedFaceTurnedAwayIsStillDrawn) {
  Fixture f;
  f.AddFace(0, 1, 2, kTypeNormalTwoSided);
  f.DrawFlat();
  EXPECT_EQ(f.Id(45, 55), 0);
}

TEST(RunFrame, NearerFaceWinsTheDepthTest) {
  Fixture f;
  f.AddFace(3, 5, 4);  // 20 units further away, drawn first
  f.AddFace(0, 2, 1);
  f.AddFace(3, 5, 4);  // again after the near one
  f.DrawFlat();
  EXPECT_EQ(f.Id(45, 55), 1);
}

TEST(RunFrame, QuickPathKeepsTheIds) {
  Fixture f;
  f.AddFace(0, 1, 2);  // not drawn
  f.view.frame.ids.assign(f.view.frame.ids.size(), 7);
  FramePlan plan;
  plan.clearIds = false;
  f.DrawFlat(plan);
  EXPECT_EQ(f.Id(45, 55), 7);
  EXPECT_EQ(f.Colour(45, 55), kBackground);
}

TEST(RunFrame, SelectionOutlinesShowOnlyOverTheirOwnFace) {
  Fixture f;
  f.AddFace(0, 2, 1);
  f.doc->triangles[0].state = kFaceSelected;
  FlatDrawer drawer;
  FrameJob job = f.Job();
  job.mappingMode = true;
  FramePlan plan;
  plan.outlines = true;
  RunFrame(job, plan, drawer);
  // The vertical edge x = 50 from row 50 to 72 is the face's own pixels:
  // drawn in "Color-2" (solid on a vertical run).
  EXPECT_EQ(f.Colour(50, 60), 0x8080FFu);
  // Below the face the edge extends nowhere: background stays.
  EXPECT_EQ(f.Colour(50, 49), kBackground);
  // Inside the face away from the edges the fill stays.
  EXPECT_EQ(f.Id(45, 55), 0);
  EXPECT_NE(f.Colour(45, 55), 0x8080FFu);
}

TEST(RunFrame, TrackballCircleOnlyInCameraMode) {
  Fixture f;
  FlatDrawer drawer;
  FrameJob job = f.Job();
  RunFrame(job, {}, drawer);
  EXPECT_EQ(f.Colour(50, 95), kBackground);
  job.cameraActive = true;
  RunFrame(job, {}, drawer);
  EXPECT_EQ(f.Colour(50, 95), 0xFFFFFFu);
}

TEST(RunFrame, TexturedPassesBindEachSkin) {
  Fixture f;
  f.doc->ResetSkinSlots();
  f.AddFace(0, 2, 1);
  f.doc->triangles[0].textureNum = 2;
  f.AddFace(0, 2, 1);
  f.doc->triangles[1].textureNum = 40;  // no slot: the default skin
  struct Recorder : FrameDrawer {
    std::vector<std::pair<int, const std::uint32_t*>> bound;
    void DrawPass(FrameState& frame, const TexturePass& pass) override {
      bound.push_back({pass.channel, frame.raster().texels});
    }
  } drawer;
  FrameJob job = f.Job();
  FramePlan plan;
  plan.textured = true;
  plan.needsActiveSkin = true;
  RunFrame(job, plan, drawer);
  ASSERT_EQ(drawer.bound.size(), 2u);
  EXPECT_EQ(drawer.bound[0].first, -1);
  EXPECT_EQ(drawer.bound[0].second, f.doc->defaultSkin.pixels.data());
  EXPECT_EQ(drawer.bound[1].first, 2);
  EXPECT_EQ(drawer.bound[1].second, f.doc->skinSlots[2]->pixels.data());
  EXPECT_EQ(f.raster.texRows, f.doc->skinSlots[2]->rowOffsets.data());
}

TEST(RunFrame, TexturedModeStopsWithoutAnActiveSkin) {
  Fixture f;
  f.AddFace(0, 2, 1);
  FlatDrawer drawer;
  FrameJob job = f.Job();
  FramePlan plan;
  plan.textured = true;
  plan.needsActiveSkin = true;
  RunFrame(job, plan, drawer);
  EXPECT_TRUE(drawer.passes.empty());
  EXPECT_EQ(f.Colour(45, 55), kBackground);
}

TEST(RunFrame, ShadePassDrawsIntoShadeAndGivesTheColourTargetBack) {
  Fixture f;
  f.AddFace(0, 2, 1);
  struct ShadeDrawer : FlatDrawer {
    void AfterPasses(FrameState& frame) override {
      BeginShadePass(frame);
      for (int index : frame.visible.taken) {
        const auto v = FaceVertices(frame, index, AttributeLayout::Depth);
        fillFlat(frame.raster(), v.data(), 0x0A0B0C);
      }
    }
  } drawer;
  FrameJob job = f.Job();
  RunFrame(job, {}, drawer);
  EXPECT_EQ(f.view.frame.shade[static_cast<std::size_t>(55 * 100 + 45)], 0x0A0B0Cu);
  EXPECT_NE(f.Colour(45, 55), 0x0A0B0Cu);
  EXPECT_EQ(f.raster.colour, f.view.frame.colour.data());
}

// Every non-hidden face's edges in white, as "Wireframe" draws them.
void RunWireframe(Fixture& f) {
  struct EdgeDrawer : FrameDrawer {
    void DrawPass(FrameState& frame, const TexturePass& pass) override {
      for (int index : pass.triangles) DrawFaceEdges(frame, index, 0xFFFFFF, EdgeStyle::AntiAliased);
    }
  } drawer;
  FrameJob job = f.Job();
  FramePlan plan;
  plan.cullFaces = false;
  RunFrame(job, plan, drawer);
}

TEST(Wireframe, EdgesOfBackFacingFacesShowHiddenOnesDoNot) {
  Fixture f;
  f.AddFace(0, 1, 2);  // turned away
  f.AddFace(3, 5, 4);
  f.doc->triangles[1].state = kFaceHidden;
  RunWireframe(f);
  EXPECT_EQ(f.Colour(50, 60), 0xFFFFFFu);  // the vertical edge of the near face
  // The hidden far face would put its vertical edge at x = 50 + 0 too, but
  // its horizontal edge at row 50 reaches only to 50 - 22.5 * 75 / 95 = 32.
  EXPECT_EQ(f.Colour(29, 50), 0xFFFFFFu);  // near face's bottom edge runs to 27
}

TEST(Wireframe, EdgesThroughTheEyePlaneAreClippedNotDropped) {
  Fixture f;
  // From x = 0 (Z = 75) to x = 80 (Z = -5): the line is cut at Z = 0.1.
  f.doc->frames[0]->positions.push_back({80, 0, 10});
  f.doc->vertexCount = 7;
  f.AddFace(0, 1, 6);
  RunWireframe(f);
  EXPECT_EQ(f.Colour(50, 50), 0xFFFFFFu);  // the end still in front of the eye
  EXPECT_EQ(f.Colour(50, 99), 0xFFFFFFu);  // the cut end runs off the top
}

TEST(FaceVertices, CarryScreenPositionDepthAndAttributes) {
  Fixture f;
  f.AddFace(0, 2, 1);
  f.doc->uvVertices[3] = {5.9f, 7.2f};
  f.doc->triangles[0].uvIndex[1] = 3;
  f.doc->triangles[0].envUv[1][0] = 9;
  FrameJob job = f.Job();
  ASSERT_TRUE(TransformFrame(f.view, *f.doc));
  FrameState frame(job, *f.doc);
  frame.visible = SelectVisibleTriangles(*f.doc, f.view.cameraVertices);
  frame.depth = ComputeDepthScale(frame.visible);
  const auto plain = FaceVertices(frame, 0, AttributeLayout::Depth);
  EXPECT_EQ(plain[2].x, 50);
  EXPECT_EQ(plain[2].y, 72);  // 50 + 22.506
  EXPECT_EQ(plain[1].x, 27);  // 50 - 22.506
  EXPECT_EQ(plain[1].y, 50);
  // All corners at Z = 75 = zmin: (100 / 200) * 2^30.
  EXPECT_EQ(plain[0].attr[0], 1 << 29);
  const auto textured = FaceVertices(frame, 0, AttributeLayout::TextureMap);
  EXPECT_EQ(textured[1].attr[0], 5 << 16);
  EXPECT_EQ(textured[1].attr[1], 7 << 16);
  EXPECT_EQ(textured[1].attr[2], 9 << 16);
  EXPECT_EQ(textured[1].attr[4], 1 << 29);
  const auto coloured = FaceVertices(frame, 0, AttributeLayout::TextureColour, CornerColours(frame, f.doc->triangles[0], 0, true));
  EXPECT_EQ(coloured[0].attr[5], 1 << 29);
}

TEST(FaceVertices, OrthographicDoesNotDivideByDepth) {
  Fixture f;
  f.AddFace(3, 5, 4);  // 20 further away
  f.view.camera.orthographic = 1;
  FrameJob job = f.Job();
  ASSERT_TRUE(TransformFrame(f.view, *f.doc));
  FrameState frame(job, *f.doc);
  const auto v = FaceVertices(frame, 0, AttributeLayout::Depth);
  EXPECT_EQ(v[2].y, 72);
  f.view.camera.orthographic = 0;
  const auto p = FaceVertices(frame, 0, AttributeLayout::Depth);
  EXPECT_EQ(p[2].y, 67);  // 50 + 22.506 * 75 / 95 = 67.77
}

// "Textured, F-Shade" in paint mode, kind 0: texel ids, then the shade pass.
struct PaintDrawer : FrameDrawer {
  void DrawPass(FrameState& frame, const TexturePass& pass) override {
    for (int index : pass.triangles) {
      const auto v = FaceVertices(frame, index, AttributeLayout::Texture);
      fillTexFlatPaint(frame.raster(), v.data(), FlatShadeColour(frame, frame.face(index), 0));
    }
  }
  void AfterPasses(FrameState& frame) override {
    BeginShadePass(frame);
    for (int index : frame.visible.taken) {
      const auto v = FaceVertices(frame, index, AttributeLayout::Depth);
      fillFlat(frame.raster(), v.data(), FlatShadeColour(frame, frame.face(index), 0));
    }
  }
};

TEST(RepaintAfterPainting, ChangesOnlyMarkedTexelsWithTheStoredShade) {
  Fixture f;
  f.doc->ResetSkinSlots();
  SkinSlot& skin = *f.doc->skinSlots[0];
  AllocateSkin(skin, 4, 4);
  std::fill(skin.pixels.begin(), skin.pixels.end(), 0xFFFFFF);
  f.AddFace(0, 2, 1);
  f.doc->uvVertices[1] = {0, 3.5f};
  f.doc->uvVertices[2] = {3.5f, 0};
  f.doc->triangles[0].uvIndex[1] = 1;
  f.doc->triangles[0].uvIndex[2] = 2;
  FramePlan plan;
  plan.lighting = LightingKind::Flat;
  plan.textured = true;
  plan.needsActiveSkin = true;
  PaintDrawer drawer;
  FrameJob job = f.Job();
  RunFrame(job, plan, drawer);
  const std::int32_t painted = f.Id(45, 55);
  ASSERT_GE(painted, 0);
  const std::vector<std::uint32_t> before = f.view.frame.colour;

  skin.pixels[static_cast<std::size_t>(painted)] = 0x808080;
  std::vector<std::uint8_t> marks(16, 0);
  marks[static_cast<std::size_t>(painted)] = 1;
  RepaintFromShade(f.view.frame, skin, marks);
  int changed = 0;
  for (std::size_t i = 0; i < before.size(); ++i) {
    if (f.view.frame.colour[i] == before[i]) continue;
    ++changed;
    EXPECT_EQ(f.view.frame.ids[i], painted);
    // Shade 0xFDFDFD (full light on the white ramp): 128 * 254 >> 8 = 127.
    EXPECT_EQ(f.view.frame.colour[i], 0x7F7F7Fu);
  }
  EXPECT_GT(changed, 0);
}

}  // namespace
}  // namespace mok
