#include "core/triangle_flags.h"

namespace mok {
namespace {

constexpr std::uint8_t kBaseMask = 0x0F;
constexpr std::uint8_t kModifierMask = 0xF0;

// Base types in the order of the dialog's radios 1..6.
constexpr std::uint8_t kBaseOfChoice[] = {kTypeNormalOneSided, kTypeNormalTwoSided, kTypeTranslucent,
                                          kTypeMasked,         kTypeModulate,       kTypeWeaponPlaceholder};
constexpr int kRadioCount = 6;

int RadioOfBase(std::uint8_t base) {
  for (int i = 0; i < kRadioCount; ++i)
    if (kBaseOfChoice[i] == base) return i + 1;
  return -1;
}

struct SelectionTypes {
  std::uint8_t base = 0;
  std::uint8_t modifiers = 0;
  bool mixedBase = false;
  bool mixedModifiers = false;
};

SelectionTypes CommonTypes(const MeshDocument& doc) {
  SelectionTypes common;
  bool first = true;
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[i];
    if (!face.selected()) continue;
    std::uint8_t base = face.type & kBaseMask;
    std::uint8_t modifiers = face.type & kModifierMask;
    if (first) {
      common.base = base;
      common.modifiers = modifiers;
      first = false;
      continue;
    }
    if (base != common.base) common.mixedBase = true;
    if (modifiers != common.modifiers) common.mixedModifiers = true;
  }
  return common;
}

}  // namespace

TriangleFlagsDialog InitialTypeFlagsDialog(const MeshDocument& doc) {
  SelectionTypes common = CommonTypes(doc);
  TriangleFlagsDialog dialog;
  dialog.baseChoice = common.mixedBase ? 0 : RadioOfBase(common.base);
  dialog.keepModifiers = common.mixedModifiers;
  if (!common.mixedModifiers) {
    dialog.fullbright = (common.modifiers & kTypeFullbright) != 0;
    dialog.flat = (common.modifiers & kTypeFlat) != 0;
    dialog.environmentMapped = (common.modifiers & kTypeEnvironment) != 0;
    dialog.noSmoothing = (common.modifiers & kTypeNoSmoothing) != 0;
  }
  return dialog;
}

TypeFlagsChoice ReadTypeFlagsDialog(const TriangleFlagsDialog& dialog, const MeshDocument& doc) {
  TypeFlagsChoice choice;
  choice.keepBase = dialog.baseChoice == 0;
  if (dialog.baseChoice >= 1 && dialog.baseChoice <= kRadioCount) {
    choice.base = kBaseOfChoice[dialog.baseChoice - 1];
  } else {
    choice.base = CommonTypes(doc).base;
  }
  choice.keepModifiers = dialog.keepModifiers;
  if (dialog.fullbright) choice.modifiers |= kTypeFullbright;
  if (dialog.flat) choice.modifiers |= kTypeFlat;
  if (dialog.environmentMapped) choice.modifiers |= kTypeEnvironment;
  if (dialog.noSmoothing) choice.modifiers |= kTypeNoSmoothing;
  return choice;
}

void ApplyTypeFlags(MeshDocument& doc, const TypeFlagsChoice& choice) {
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    if (!face.selected()) continue;
    if (!choice.keepBase) face.type = static_cast<std::uint8_t>((face.type & kModifierMask) | choice.base);
    if (!choice.keepModifiers) face.type = static_cast<std::uint8_t>((face.type & kBaseMask) | choice.modifiers);
  }
}

void SelectByTypeFlags(MeshDocument& doc, const TypeFlagsChoice& choice) {
  if (choice.keepBase && choice.keepModifiers) return;
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    bool baseMatches = choice.keepBase || (face.type & kBaseMask) == choice.base;
    bool modifiersMatch = choice.keepModifiers || (face.type & kModifierMask) == choice.modifiers;
    face.state &= ~kFaceSelected;
    if (baseMatches && modifiersMatch) face.state |= kFaceSelected;
  }
}

void SetTypeFlags(Application& app) {
  MeshDocument& doc = app.doc();
  if (doc.FirstSelectedFace() < 0) return;
  TriangleFlagsDialog dialog = InitialTypeFlagsDialog(doc);
  TriangleFlagsOutcome outcome = app.dialogs.EditTriangleFlags(dialog);
  if (outcome == TriangleFlagsOutcome::Cancel) return;
  TypeFlagsChoice choice = ReadTypeFlagsDialog(dialog, doc);
  if (outcome == TriangleFlagsOutcome::Ok) {
    ApplyTypeFlags(doc, choice);
  } else {
    SelectByTypeFlags(doc, choice);
  }
  Notify(app, Change::Mesh);
}

}  // namespace mok
