#include "app/skin_dialogs.h"

namespace mok {
namespace {

bool IsPowerOfTwoSkinSide(int side) {
  return side >= kNewSkinMinSize && side <= kNewSkinMaxSize && (side & (side - 1)) == 0;
}

int SquareSide(ResizeChoice choice) {
  switch (choice) {
    case ResizeChoice::Size128: return 128;
    case ResizeChoice::Size256: return 256;
    case ResizeChoice::Size512: return 512;
    case ResizeChoice::Other: break;
  }
  return 0;
}

}  // namespace

SkinSize ChosenSize(const NewSkinDialog& dialog) {
  switch (dialog.size) {
    case NewSkinSizeChoice::Size64: return {64, 64};
    case NewSkinSizeChoice::Size128: return {128, 128};
    case NewSkinSizeChoice::Size256: return {256, 256};
    case NewSkinSizeChoice::Size512: return {512, 512};
    case NewSkinSizeChoice::Other: break;
  }
  return {dialog.otherWidth, dialog.otherHeight};
}

std::optional<std::string> NewSkinDialogProblem(const NewSkinDialog& dialog) {
  SkinSize size = ChosenSize(dialog);
  if (!IsPowerOfTwoSkinSide(size.width) || !IsPowerOfTwoSkinSide(size.height)) return kPowerOfTwoMessage;
  if (size.height > kMaxSkinRows) return kSkinTooTallMessage;
  return std::nullopt;
}

void ResizeSkinDialog::SynchronizeSettings() {
  uvFromWidth = fromWidth;
  uvFromHeight = fromHeight;
  uvToWidth = toWidth;
  uvToHeight = toHeight;
  uvChoice = skinChoice;
}

ResizeSkinDialog ResizeDialogFor(const SkinSlot& skin) {
  ResizeSkinDialog dialog;
  dialog.affectSkinImage = skin.isEmpty == 0;
  dialog.fromWidth = dialog.toWidth = skin.width;
  dialog.fromHeight = dialog.toHeight = skin.height;
  dialog.uvFromWidth = dialog.uvToWidth = skin.width;
  dialog.uvFromHeight = dialog.uvToHeight = skin.height;
  return dialog;
}

SkinSize SkinTarget(const ResizeSkinDialog& dialog) {
  int side = SquareSide(dialog.skinChoice);
  if (side > 0) return {side, side};
  return {dialog.toWidth, dialog.toHeight};
}

UvScale UvTarget(const ResizeSkinDialog& dialog) {
  int side = SquareSide(dialog.uvChoice);
  if (side > 0) return {dialog.uvFromWidth, dialog.uvFromHeight, double(side), double(side)};
  return {dialog.uvFromWidth, dialog.uvFromHeight, dialog.uvToWidth, dialog.uvToHeight};
}

}  // namespace mok
