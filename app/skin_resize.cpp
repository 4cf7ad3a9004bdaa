// Skins > Resize: nearest-texel resampling of the image and scaling of the
// active channel's coordinates, each optional.

#include <cmath>

#include "core/result.h"

#include "app/skin_commands.h"
#include "app/skin_dialogs.h"

namespace mok {
namespace {

// Source index of destination index i when a side of oldSize becomes newSize.
int SourceIndex(int i, int oldSize, int newSize) {
  if (newSize <= 1) return 0;
  return static_cast<int>(std::int64_t{i} * (oldSize - 1) / (newSize - 1));
}

bool ImageSizeFits(SkinSize size) {
  return size.width >= 1 && size.width <= kResizeMaxSize && size.height >= 1 && size.height <= kResizeMaxSize;
}

bool UvSideFits(double side) { return std::isfinite(side) && side >= 1 && side <= kResizeMaxSize; }

bool UvScaleFits(const UvScale& scale) {
  return UvSideFits(scale.fromWidth) && UvSideFits(scale.fromHeight) && UvSideFits(scale.toWidth) &&
         UvSideFits(scale.toHeight);
}

// Every UV vertex of the channel scaled; the faces then take the values of
// the vertices they share, so a shared vertex is scaled once.
void ScaleChannelCoordinates(MeshDocument& doc, int channel, float sx, float sy) {
  doc.RebuildUvVertices(true);
  for (int i = 0; i < doc.uvVertexCount; ++i) {
    if (doc.uvVertexChannel[static_cast<std::size_t>(i)] != channel) continue;
    UvPair& uv = doc.uvVertices[static_cast<std::size_t>(i)];
    uv.u *= sx;
    uv.v *= sy;
  }
  doc.RebuildUvVertices(true);
}

// The user's choices checked before anything changes: what to resample to
// (nothing when the image stays) and how to scale the coordinates.
struct ResizePlan {
  std::optional<SkinSize> image;
  std::optional<UvScale> uv;
};

Result<ResizePlan> PlanResize(const SkinSlot& skin, const ResizeSkinDialog& dialog) {
  SkinSize current{skin.width, skin.height};
  SkinSize target = SkinTarget(dialog);
  ResizePlan plan;
  if (dialog.affectSkinImage && !skin.isEmpty && target != current) plan.image = target;
  if (dialog.syncUvMapping) {
    plan.uv = UvScale{double(current.width), double(current.height), double(target.width), double(target.height)};
  } else {
    plan.uv = UvTarget(dialog);
  }
  if (plan.image && !ImageSizeFits(*plan.image)) return Error{kResizeRangeMessage, "Resize"};
  if (plan.image && plan.image->height > kMaxSkinRows) return Error{kSkinTooTallMessage, "Resize"};
  if (!UvScaleFits(*plan.uv)) return Error{kResizeRangeMessage, "Resize"};
  return plan;
}

}  // namespace

SkinSlot ResampleNearest(const SkinSlot& skin, int width, int height) {
  SkinSlot result;
  result.name = skin.name;
  result.filePath = skin.filePath;
  result.hasFile = skin.hasFile;
  result.format = skin.format;
  result.isEmpty = skin.isEmpty;
  AllocateSkin(result, width, height);
  for (int y = 0; y < height; ++y) {
    std::size_t sourceRow = static_cast<std::size_t>(SourceIndex(y, skin.height, height)) * skin.width;
    std::size_t row = static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x)
      result.pixels[row + x] = skin.pixels[sourceRow + static_cast<std::size_t>(SourceIndex(x, skin.width, width))];
  }
  result.storedPixels = result.pixels;
  return result;
}

void SkinResize(Application& app) {
  MeshDocument& doc = app.doc();
  SkinSlot* skin = ActiveSkin(doc);
  if (!skin) return;
  ResizeSkinDialog dialog = ResizeDialogFor(*skin);
  if (!app.dialogs.ChooseSkinResize(dialog)) return;
  Result<ResizePlan> plan = PlanResize(*skin, dialog);
  if (!plan) {
    app.prompter.Message(plan.error().message, MessageIcon::Error);
    return;
  }
  if (plan->image) *skin = ResampleNearest(*skin, plan->image->width, plan->image->height);
  const UvScale& uv = *plan->uv;
  ScaleChannelCoordinates(doc, doc.activeChannel, static_cast<float>(uv.toWidth / uv.fromWidth),
                          static_cast<float>(uv.toHeight / uv.fromHeight));
  Notify(app, Change::Skins);
}

}  // namespace mok
