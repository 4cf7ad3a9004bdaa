#include <array>

#include "render/frame_pipeline.h"
#include "render/render_mode.h"

namespace mok {

namespace {

// What a frame writes to `ids` (see render_mode.h).
enum class FramePath { Pick, Paint, Quick };

// The member family one face is drawn with, and the id a Pick member writes.
struct FaceWrite {
  FramePath member = FramePath::Pick;
  std::int32_t id = 0;
};

// On the paint path only faces of the active channel write texel offsets;
// the others are marked as belonging to another skin.
FaceWrite WriteFor(const FrameState& frame, int index, FramePath path) {
  if (path != FramePath::Paint) return {path, index};
  if (frame.face(index).textureNum == frame.doc.activeChannel) return {FramePath::Paint, 0};
  return {FramePath::Pick, kIdOtherSkin};
}

// The six members of a textured family; Extra is the flat shade colour of the
// textured flat family, nothing for the others.
template <typename... Extra>
struct TexturedFamily {
  void (*quick)(RasterContext&, const RasterVertex*, Extra...);
  void (*quickFiltered)(RasterContext&, const RasterVertex*, Extra...);
  void (*pick)(RasterContext&, const RasterVertex*, std::int32_t, Extra...);
  void (*pickFiltered)(RasterContext&, const RasterVertex*, std::int32_t, Extra...);
  void (*paint)(RasterContext&, const RasterVertex*, Extra...);
  void (*paintFiltered)(RasterContext&, const RasterVertex*, Extra...);
};

template <typename... Extra>
void DrawTexturedFace(const TexturedFamily<Extra...>& family, const FrameState& frame,
                      const std::array<RasterVertex, 3>& v, FaceWrite write, Extra... extra) {
  RasterContext& raster = frame.raster();
  const bool filtered = frame.filtered();
  switch (write.member) {
    case FramePath::Quick:
      (filtered ? family.quickFiltered : family.quick)(raster, v.data(), extra...);
      break;
    case FramePath::Paint:
      (filtered ? family.paintFiltered : family.paint)(raster, v.data(), extra...);
      break;
    case FramePath::Pick:
      (filtered ? family.pickFiltered : family.pick)(raster, v.data(), write.id, extra...);
      break;
  }
}

constexpr TexturedFamily<> kTextureFamily{fillTextureQuick, fillTextureQuickFiltered, fillTexturePick,
                                          fillTexturePickFiltered, fillTexturePaint, fillTexturePaintFiltered};
constexpr TexturedFamily<std::uint32_t> kTexFlatFamily{fillTexFlatQuick, fillTexFlatQuickFiltered,
                                                       fillTexFlatPick,  fillTexFlatPickFiltered,
                                                       fillTexFlatPaint, fillTexFlatPaintFiltered};
constexpr TexturedFamily<> kTexGouraudFamily{fillTexGouraudQuick, fillTexGouraudQuickFiltered,
                                             fillTexGouraudPick,  fillTexGouraudPickFiltered,
                                             fillTexGouraudPaint, fillTexGouraudPaintFiltered};
constexpr TexturedFamily<> kTexPhongFamily{fillTexPhongQuick, fillTexPhongQuickFiltered, fillTexPhongPick,
                                           fillTexPhongPickFiltered, fillTexPhongPaint, fillTexPhongPaintFiltered};

// A phong map is read as 256 x 256 bytes; anything smaller is not bound.
const std::uint8_t* PhongMapBytes(const SkinSlot* map) {
  constexpr std::size_t kBytes = 256 * 256;
  if (!map || map->width != 256 || map->height != 256 || map->pixels.size() * 4 < kBytes) return nullptr;
  return map->indexed();
}

// The shared body of every mode: the plan, the drawer and the repaint.
class PipelineMode : public RenderMode {
 public:
  using RenderMode::RenderMode;

  void render(RenderJob& job, int kind, int) override {
    kind = NormaliseRefreshKind(kind);
    if (kind == kRefreshPaint) {
      SettleResize(job.view.frame);
      SettleShade(job.view.frame);
      if (facts().keepsShade) Repaint(job);
      return;
    }
    const FramePath path = PathFor(kind, job.mappingMode);
    FramePlan plan;
    plan.lighting = Lighting();
    plan.clearIds = ClearsIds(path);
    plan.textured = plan.needsActiveSkin = facts().needsSkins;
    plan.cullFaces = Culls();
    plan.outlines = plan.textured && job.mappingMode;
    job.raster.phongMap = PhongMapBytes(job.phongMap);
    Drawer drawer(*this, job, path);
    RunFrame(job, plan, drawer);
  }

 protected:
  virtual LightingKind Lighting() const { return LightingKind::None; }
  virtual FramePath PathFor(int kind, bool mappingMode) const = 0;
  virtual bool ClearsIds(FramePath path) const { return path != FramePath::Quick; }
  virtual bool Culls() const { return true; }
  // Called at the start of each texture pass, after its skin is bound.
  virtual void BeginPass(FrameState&, const RenderJob&) {}
  virtual void DrawFace(FrameState& frame, int index, FramePath path) = 0;
  // The face's light into the `shade` buffer (modes that keep one).
  virtual void ShadeFace(FrameState&, int) {}

 private:
  class Drawer final : public FrameDrawer {
   public:
    Drawer(PipelineMode& mode, const RenderJob& job, FramePath path) : mode_(mode), job_(job), path_(path) {}
    void DrawPass(FrameState& frame, const TexturePass& pass) override {
      mode_.BeginPass(frame, job_);
      for (int index : pass.triangles) mode_.DrawFace(frame, index, path_);
    }
    // The shade pass of full paint-mode frames.
    void AfterPasses(FrameState& frame) override {
      if (!mode_.facts().keepsShade || path_ != FramePath::Paint || !frame.view().frame.hasShade()) return;
      BeginShadePass(frame);
      for (int index : frame.visible.taken) mode_.ShadeFace(frame, index);
    }

   private:
    PipelineMode& mode_;
    const RenderJob& job_;
    FramePath path_;
  };

  static void Repaint(const RenderJob& job) {
    if (!job.doc || !job.doc->activeSkin || !job.strokeMarks) return;
    RepaintFromShade(job.view.frame, *job.doc->activeSkin, *job.strokeMarks);
  }
};

// Untextured modes with a quick path (2, 3, 4): kind 1 writes no ids.
class ShadedMode : public PipelineMode {
 public:
  using PipelineMode::PipelineMode;

 protected:
  FramePath PathFor(int kind, bool) const override { return kind == kRefreshQuick ? FramePath::Quick : FramePath::Pick; }
};

// Textured modes (5, 7, 8, 9): pick in mapping mode, paint or quick in paint mode.
class TexturedMode : public PipelineMode {
 public:
  using PipelineMode::PipelineMode;

 protected:
  FramePath PathFor(int kind, bool mappingMode) const override {
    if (mappingMode) return FramePath::Pick;
    return kind == kRefreshQuick ? FramePath::Quick : FramePath::Paint;
  }
};

class WireframeMode final : public PipelineMode {
 public:
  WireframeMode() : PipelineMode(kModeWireframe) {}

 protected:
  // No ids are written; they are cleared except on the quick kind.
  FramePath PathFor(int kind, bool) const override { return kind == kRefreshQuick ? FramePath::Quick : FramePath::Pick; }
  bool Culls() const override { return false; }
  void BeginPass(FrameState& frame, const RenderJob&) override { DrawOutlines(frame, EdgeStyle::AntiAliased); }
  void DrawFace(FrameState&, int, FramePath) override {}
};

class WireframeSolidMode final : public PipelineMode {
 public:
  WireframeSolidMode() : PipelineMode(kModeWireframeSolid) {}

 protected:
  FramePath PathFor(int, bool) const override { return FramePath::Pick; }
  void DrawFace(FrameState& frame, int index, FramePath) override {
    const DisplayColours& colours = frame.job.colours;
    const int ramp = RampFor(frame.face(index), frame.job.mappingMode);
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::Depth))
      fillFlatPick(frame.raster(), v.data(), index, colours[static_cast<std::size_t>(kColourUnselected + ramp)]);
    DrawFaceEdges(frame, index, colours[kColourBackground], EdgeStyle::Masked);
  }
};

class FlatShadedMode final : public ShadedMode {
 public:
  FlatShadedMode() : ShadedMode(kModeFlatShaded) {}

 protected:
  LightingKind Lighting() const override { return LightingKind::Flat; }
  void DrawFace(FrameState& frame, int index, FramePath path) override {
    const MeshTriangle& face = frame.face(index);
    const std::uint32_t colour = FlatShadeColour(frame, face, RampFor(face, frame.job.mappingMode));
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::Depth)) {
      if (path == FramePath::Quick) fillFlat(frame.raster(), v.data(), colour);
      else fillFlatPick(frame.raster(), v.data(), index, colour);
    }
  }
};

class GouraudShadedMode final : public ShadedMode {
 public:
  GouraudShadedMode() : ShadedMode(kModeGouraudShaded) {}

 protected:
  LightingKind Lighting() const override { return LightingKind::PerVertex; }
  void DrawFace(FrameState& frame, int index, FramePath path) override {
    const MeshTriangle& face = frame.face(index);
    const auto colours = CornerColours(frame, face, RampFor(face, frame.job.mappingMode), false);
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::Colour, colours)) {
      if (path == FramePath::Quick) fillGouraud(frame.raster(), v.data());
      else fillGouraudPick(frame.raster(), v.data(), index);
    }
  }
};

class PhongShadedMode final : public ShadedMode {
 public:
  PhongShadedMode() : ShadedMode(kModePhongShaded) {}

 protected:
  LightingKind Lighting() const override { return LightingKind::PhongMap; }
  void DrawFace(FrameState& frame, int index, FramePath path) override {
    const std::int32_t rampBase = kRampSize * RampFor(frame.face(index), frame.job.mappingMode);
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::Map)) {
      if (path == FramePath::Quick) fillPhongMap(frame.raster(), v.data(), rampBase);
      else fillPhongMapPick(frame.raster(), v.data(), index, rampBase);
    }
  }
};

class TexturedPlainMode final : public TexturedMode {
 public:
  TexturedPlainMode() : TexturedMode(kModeTextured) {}

 protected:
  void DrawFace(FrameState& frame, int index, FramePath path) override {
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::Texture)) {
      DrawTexturedFace(kTextureFamily, frame, v, WriteFor(frame, index, path));
    }
  }
};

class EnvironmentMappedMode final : public PipelineMode {
 public:
  EnvironmentMappedMode() : PipelineMode(kModeEnvironmentMapped) {}

 protected:
  LightingKind Lighting() const override { return LightingKind::EnvironmentMap; }
  // Every kind draws without ids, yet the ids are cleared like a full frame's.
  FramePath PathFor(int, bool) const override { return FramePath::Quick; }
  bool ClearsIds(FramePath) const override { return true; }
  void BeginPass(FrameState& frame, const RenderJob& job) override {
    hasMap_ = job.envMap != nullptr;
    if (hasMap_) SetRasterTexture(frame.raster(), *job.envMap);
  }
  // The map coordinates address the map's top-left 256 x 256 texels.
  void DrawFace(FrameState& frame, int index, FramePath) override {
    if (!hasMap_) return;
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::Map)) {
      (frame.filtered() ? fillTextureQuickFiltered : fillTextureQuick)(frame.raster(), v.data());
    }
  }

 private:
  bool hasMap_ = false;
};

class TexturedFlatMode final : public TexturedMode {
 public:
  TexturedFlatMode() : TexturedMode(kModeTexturedFlat) {}

 protected:
  LightingKind Lighting() const override { return LightingKind::Flat; }
  void DrawFace(FrameState& frame, int index, FramePath path) override {
    const std::uint32_t shade = FlatShadeColour(frame, frame.face(index), 0);
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::Texture)) {
      DrawTexturedFace(kTexFlatFamily, frame, v, WriteFor(frame, index, path), shade);
    }
  }
  void ShadeFace(FrameState& frame, int index) override {
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::Depth)) {
      fillFlat(frame.raster(), v.data(), FlatShadeColour(frame, frame.face(index), 0));
    }
  }
};

class TexturedGouraudMode final : public TexturedMode {
 public:
  TexturedGouraudMode() : TexturedMode(kModeTexturedGouraud) {}

 protected:
  LightingKind Lighting() const override { return LightingKind::PerVertex; }
  void DrawFace(FrameState& frame, int index, FramePath path) override {
    const auto colours = CornerColours(frame, frame.face(index), 0, true);
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::TextureColour, colours)) {
      DrawTexturedFace(kTexGouraudFamily, frame, v, WriteFor(frame, index, path));
    }
  }
  void ShadeFace(FrameState& frame, int index) override {
    const auto colours = CornerColours(frame, frame.face(index), 0, false);
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::Colour, colours)) {
      fillGouraud(frame.raster(), v.data());
    }
  }
};

class TexturedPhongMode final : public TexturedMode {
 public:
  TexturedPhongMode() : TexturedMode(kModeTexturedPhong) {}

 protected:
  LightingKind Lighting() const override { return LightingKind::PhongMap; }
  void DrawFace(FrameState& frame, int index, FramePath path) override {
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::TextureMap)) {
      DrawTexturedFace(kTexPhongFamily, frame, v, WriteFor(frame, index, path));
    }
  }
  void ShadeFace(FrameState& frame, int index) override {
    for (const auto& v : FaceInFront(frame, index, AttributeLayout::Map)) {
      (frame.filtered() ? fillPhongMapShadeFiltered : fillPhongMapShade)(frame.raster(), v.data());
    }
  }
};

}  // namespace

const ModeFacts& FactsOf(int mode) {
  const bool known = mode >= 0 && mode < kRenderModeCount;
  return kModeFacts[known ? static_cast<std::size_t>(mode) : 0];
}

std::array<std::unique_ptr<RenderMode>, kRenderModeCount> MakeRenderModes() {
  return {std::make_unique<WireframeMode>(),       std::make_unique<WireframeSolidMode>(),
          std::make_unique<FlatShadedMode>(),      std::make_unique<GouraudShadedMode>(),
          std::make_unique<PhongShadedMode>(),     std::make_unique<TexturedPlainMode>(),
          std::make_unique<EnvironmentMappedMode>(), std::make_unique<TexturedFlatMode>(),
          std::make_unique<TexturedGouraudMode>(), std::make_unique<TexturedPhongMode>()};
}

std::optional<std::string> ModeUnavailableMessage(int mode, const ModeResources& resources) {
  const ModeFacts& facts = FactsOf(mode);
  const std::string name = facts.messageName;
  if (facts.needsSkins && !resources.activeSkin) return name + " is not available if there are no skins loaded.";
  if (facts.needsPhongMaps && !resources.phongMap) return name + " is not available if there are no phong maps loaded.";
  if (facts.needsEnvMaps && !resources.envMap) return name + " is not available if there are no env-maps loaded.";
  return std::nullopt;
}

std::optional<std::string> SwitchRenderMode(int& current, int mode, const ModeResources& resources, FrameBuffer* view) {
  if (mode < 0 || mode >= kRenderModeCount || mode == current) return std::nullopt;
  if (std::optional<std::string> refused = ModeUnavailableMessage(mode, resources)) return refused;
  if (view && FactsOf(current).keepsShade) SetShadeBuffer(*view, false);
  if (view && FactsOf(mode).keepsShade) SetShadeBuffer(*view, true);
  current = mode;
  return std::nullopt;
}

}  // namespace mok
