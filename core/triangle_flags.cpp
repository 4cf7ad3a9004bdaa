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

// The modifier boxes in dialog order with their bits.
struct ModifierBox {
  FlagBox TriangleFlagsDialog::*box;
  std::uint8_t bit;
};
constexpr ModifierBox kModifierBoxes[] = {{&TriangleFlagsDialog::fullbright, kTypeFullbright},
                                          {&TriangleFlagsDialog::flat, kTypeFlat},
                                          {&TriangleFlagsDialog::environmentMapped, kTypeEnvironment},
                                          {&TriangleFlagsDialog::noSmoothing, kTypeNoSmoothing}};

struct SelectionTypes {
  std::uint8_t base = 0;
  bool mixedBase = false;
  std::uint8_t anyModifiers = 0;     // bits some selected face has
  std::uint8_t allModifiers = 0xF0;  // bits every selected face has
  bool mixedModifiers() const { return anyModifiers != allModifiers; }
};

SelectionTypes CommonTypes(const MeshDocument& doc) {
  SelectionTypes common;
  bool first = true;
  for (int i = 0; i < doc.triangleCount; ++i) {
    const MeshTriangle& face = doc.triangles[i];
    if (!face.selected()) continue;
    std::uint8_t base = face.type & kBaseMask;
    if (first) common.base = base;
    if (base != common.base) common.mixedBase = true;
    common.anyModifiers |= face.type & kModifierMask;
    common.allModifiers &= face.type & kModifierMask;
    first = false;
  }
  if (first) common.allModifiers = 0;
  return common;
}

FlagBox BoxOf(const SelectionTypes& common, std::uint8_t bit) {
  if ((common.allModifiers & bit) != 0) return FlagBox::Checked;
  return (common.anyModifiers & bit) != 0 ? FlagBox::Mixed : FlagBox::Clear;
}

}  // namespace

TriangleFlagsDialog InitialTypeFlagsDialog(const MeshDocument& doc) {
  SelectionTypes common = CommonTypes(doc);
  TriangleFlagsDialog dialog;
  dialog.baseChoice = common.mixedBase ? 0 : RadioOfBase(common.base);
  dialog.keepModifiers = common.mixedModifiers();
  for (const ModifierBox& box : kModifierBoxes) dialog.*box.box = BoxOf(common, box.bit);
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
  for (const ModifierBox& box : kModifierBoxes) {
    if (dialog.*box.box == FlagBox::Checked) choice.modifiers |= box.bit;
    if (dialog.*box.box == FlagBox::Mixed) choice.keptModifiers |= box.bit;
  }
  return choice;
}

void ApplyTypeFlags(MeshDocument& doc, const TypeFlagsChoice& choice) {
  const std::uint8_t kept = kBaseMask | choice.keptModifiers;
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    if (!face.selected()) continue;
    if (!choice.keepBase) face.type = static_cast<std::uint8_t>((face.type & kModifierMask) | choice.base);
    if (!choice.keepModifiers) face.type = static_cast<std::uint8_t>((face.type & kept) | choice.modifiers);
  }
}

void SelectByTypeFlags(MeshDocument& doc, const TypeFlagsChoice& choice) {
  if (choice.keepBase && choice.keepModifiers) return;
  for (int i = 0; i < doc.triangleCount; ++i) {
    MeshTriangle& face = doc.triangles[i];
    bool baseMatches = choice.keepBase || (face.type & kBaseMask) == choice.base;
    const std::uint8_t compared = kModifierMask & ~choice.keptModifiers;
    bool modifiersMatch = choice.keepModifiers || (face.type & compared) == choice.modifiers;
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
