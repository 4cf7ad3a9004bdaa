// Skins > New: a fresh image without a file, in the user colours.

#include <algorithm>
#include <cmath>
#include <memory>

#include "raster/raster.h"
#include "app/skin_command_steps.h"
#include "app/skin_commands.h"
#include "app/skin_dialogs.h"

namespace mok {
namespace {

// The user colours the patterns use.
constexpr int kCheckerColor = 2;
constexpr int kCheckerOtherColor = 3;
constexpr int kGridDotColor = 4;
constexpr int kGridLineColor = 5;
constexpr int kBlankColor = 7;

std::uint32_t& TexelAt(SkinSlot& skin, int x, int y) {
  return skin.pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(skin.width) +
                     static_cast<std::size_t>(x)];
}

// 4 x 4-texel squares: colour 2 where bit 2 of the column equals bit 2 of
// the row, colour 3 elsewhere; or the background colour 7 throughout.
void PaintBase(SkinSlot& skin, const Application& app, bool checkerboard) {
  const auto& colors = app.customColors;
  for (int y = 0; y < skin.height; ++y) {
    for (int x = 0; x < skin.width; ++x) {
      std::uint32_t color = colors[kBlankColor];
      if (checkerboard) color = (x & 4) == (y & 4) ? colors[kCheckerColor] : colors[kCheckerOtherColor];
      TexelAt(skin, x, y) = color;
    }
  }
}

// Colour 4 on the odd columns of the even rows, then colour 5 down every
// even column.
void PaintGrid(SkinSlot& skin, const Application& app) {
  for (int y = 0; y < skin.height; y += 2)
    for (int x = 1; x < skin.width; x += 2) TexelAt(skin, x, y) = app.customColors[kGridDotColor];
  for (int y = 0; y < skin.height; ++y)
    for (int x = 0; x < skin.width; x += 2) TexelAt(skin, x, y) = app.customColors[kGridLineColor];
}

// A corner's texel, truncated toward zero. Coordinates far outside any skin
// are pinned first, so the conversion to int is always defined; the clipper
// then treats them like any other point off the image.
int TexelCoordinate(float value) {
  constexpr float kLimit = 1 << 24;
  if (std::isnan(value)) return 0;
  return static_cast<int>(std::clamp(value, -kLimit, kLimit));
}

// The edges 0-1, 1-2 and 2-0 of every face on the active channel, hidden
// or not, anti-aliased in the active user colour.
void DrawMeshLines(SkinSlot& skin, const Application& app) {
  const MeshDocument& doc = *app.document;
  auto ctx = std::make_unique<RasterContext>();
  ctx->colour = skin.pixels.data();
  ctx->width = skin.width;
  ctx->height = skin.height;
  ctx->maxX = skin.width - 1;
  ctx->maxY = skin.height - 1;
  std::uint32_t color = app.customColors[static_cast<std::size_t>(std::clamp(app.activeColor, 0, 7))];
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[static_cast<std::size_t>(i)];
    if (face.textureNum != doc.activeChannel) continue;
    for (int k = 0; k < 3; ++k) {
      const UvPair& from = face.uv[k];
      const UvPair& to = face.uv[(k + 1) % 3];
      int x0 = TexelCoordinate(from.u), y0 = TexelCoordinate(from.v);
      int x1 = TexelCoordinate(to.u), y1 = TexelCoordinate(to.v);
      if (clipLine2D(*ctx, x0, y0, x1, y1)) drawLineAA(*ctx, x0, y0, x1, y1, color);
    }
  }
}

SkinSlot NewSkinImage(const Application& app, SkinSize size, const NewSkinDialog& dialog) {
  SkinSlot skin;
  skin.name = kNewSkinName;
  skin.format = kFormatBmp;
  AllocateSkin(skin, size.width, size.height);
  PaintBase(skin, app, dialog.checkerboard);
  if (dialog.gridded) PaintGrid(skin, app);
  return skin;
}

}  // namespace

void SkinNew(Application& app) {
  MeshDocument& doc = app.doc();
  SkinSlot* slot = ActiveSkin(doc);
  if (!slot) return;
  NewSkinDialog dialog;
  if (!app.dialogs.ChooseNewSkin(dialog)) return;
  if (std::optional<std::string> problem = NewSkinDialogProblem(dialog)) {
    app.prompter.Message(*problem, MessageIcon::Error);
    return;
  }
  ReplaceSkin(doc, *slot, NewSkinImage(app, ChosenSize(dialog), dialog));
  // The lines follow the coordinates as they lie on the new size.
  if (dialog.meshLines) DrawMeshLines(*slot, app);
  slot->storedPixels = slot->pixels;
  FinishSkinChange(app);
}

}  // namespace mok
