#pragma once
// The ten display modes of the 3D view.
//
// Every mode draws a whole frame through RunFrame (frame_pipeline.h) and
// differs in its lighting, its rasterizer members and what reaches `ids`:
// - pick path: each drawn pixel gets the face index (untextured shaded modes
//   and "Wireframe, Solid" for full frames; textured modes in mapping mode for
//   every kind but the repaint);
// - paint path (textured modes in paint mode, full frames): faces of the
//   active channel write the sampled texel offset, other faces kIdOtherSkin;
// - quick path (kind 1 for the untextured shaded modes, and for the textured
//   modes in paint mode): `ids` is neither cleared nor written.
// The textured-and-shaded modes (7, 8, 9) also keep the light of each pixel
// in the `shade` buffer during full paint-mode frames, so a paint stroke can
// be shown by recolouring only the texels it changed (kind 3).

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/mesh_document.h"
#include "render/frame_buffer.h"
#include "render/frame_pipeline.h"

namespace mok {

inline constexpr int kRenderModeCount = 10;

enum RenderModeIndex : int {
  kModeWireframe = 0,
  kModeWireframeSolid = 1,
  kModeFlatShaded = 2,
  kModeGouraudShaded = 3,
  kModePhongShaded = 4,
  kModeTextured = 5,
  kModeEnvironmentMapped = 6,
  kModeTexturedFlat = 7,
  kModeTexturedGouraud = 8,
  kModeTexturedPhong = 9,
};

// The mode current when the program starts.
inline constexpr int kStartRenderMode = kModeTextured;

// What a mode is called, what it cannot draw without, and whether it keeps a
// `shade` buffer (the light of the last full frame, for repaints after a
// paint step) while it is current.
struct ModeFacts {
  const char* name;         // the mode list's text
  const char* messageName;  // how the availability messages name it
  bool needsSkins;
  bool needsPhongMaps;
  bool needsEnvMaps;
  bool keepsShade;
};

inline constexpr std::array<ModeFacts, kRenderModeCount> kModeFacts = {{
    {"Wireframe", "", false, false, false, false},
    {"Wireframe, Solid", "", false, false, false, false},
    {"Flat Shaded", "", false, false, false, false},
    {"Gouraud Shaded", "", false, false, false, false},
    {"Phong Shaded", "Phong Shading", false, true, false, false},
    {"Textured", "Textured Mode", true, false, false, false},
    {"Environment Mapped", "Environment Mapping", false, false, true, false},
    {"Textured, F-Shade", "Tex+F-Shaded", true, false, false, true},
    {"Textured, G-Shade", "Tex+G-Shaded", true, false, false, true},
    {"Textured, P-Shade", "Tex+P-Shaded", true, true, false, true},
}};

// The facts of a mode index (0..9).
const ModeFacts& FactsOf(int mode);

// Everything one frame of a mode reads, gathered before each frame: the
// pipeline's job and what only some modes need.
struct RenderJob : FrameJob {
  SkinSlot* phongMap = nullptr;  // current phong map (8-bit, 256 x 256) or none
  SkinSlot* envMap = nullptr;    // current environment map or none
  const std::vector<std::uint8_t>* strokeMarks = nullptr;  // texels the current stroke changed (kind 3)
};

class RenderMode {
 public:
  explicit RenderMode(int index) : facts_(FactsOf(index)) {}
  virtual ~RenderMode() = default;
  // Draws one frame; `kind` is the refresh kind, `flags` the pane bits of the
  // request (no mode reads them).
  virtual void render(RenderJob& job, int kind, int flags) = 0;
  const ModeFacts& facts() const { return facts_; }
  const char* name() const { return facts_.name; }

 private:
  const ModeFacts& facts_;
};

// The ten modes in table order (the order of the mode list and combo box).
std::array<std::unique_ptr<RenderMode>, kRenderModeCount> MakeRenderModes();

// What the availability of a mode depends on.
struct ModeResources {
  bool activeSkin = false;
  bool phongMap = false;
  bool envMap = false;
};

// The message that refuses a switch to `mode`, or nothing when the mode can
// be drawn. A textured P-Shade without skins names the skins first.
std::optional<std::string> ModeUnavailableMessage(int mode, const ModeResources& resources);

// Switching the current mode: the same mode does nothing; a refused switch
// changes nothing and returns the message; otherwise the view's `shade`
// buffer is given or taken (freed when leaving 7, 8 or 9, allocated when
// entering one of them) and `current` becomes `mode`. `view` may be null
// when no view exists yet.
std::optional<std::string> SwitchRenderMode(int& current, int mode, const ModeResources& resources, FrameBuffer* view);

}  // namespace mok
