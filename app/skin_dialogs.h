#pragma once
// The state of the two skin dialogs, "Create New Skin" and "Resize Skin / UV
// Mapping", as plain values: the command fills one in, the dialog host shows it
// and writes the user's choices back (DialogHost::ChooseNewSkin and
// DialogHost::ChooseSkinResize).

#include <optional>
#include <string>

#include "core/skin_slot.h"

namespace mok {

inline constexpr const char* kPowerOfTwoMessage = "Skin Dimensions must be a power of 2!";
// Images have at most kMaxSkinRows rows, although the dialogs' fields go further.
inline constexpr const char* kSkinTooTallMessage = "Skins may be at most 2048 texels high!";
inline constexpr const char* kResizeRangeMessage = "Resize sizes must be from 1 to 8192!";

inline constexpr int kNewSkinMinSize = 4;
inline constexpr int kNewSkinMaxSize = 4096;
inline constexpr int kResizeMaxSize = 8192;

struct SkinSize {
  int width = 0;
  int height = 0;
  bool operator==(const SkinSize&) const = default;
};

// "Create New Skin": size radios, the "Other" fields and three patterns.
enum class NewSkinSizeChoice { Size64, Size128, Size256, Size512, Other };

struct NewSkinDialog {
  NewSkinSizeChoice size = NewSkinSizeChoice::Size256;
  int otherWidth = 256;   // 4..4096
  int otherHeight = 256;  // 4..4096
  bool checkerboard = false;
  bool gridded = false;
  bool meshLines = false;
};

// The size the dialog asks for.
SkinSize ChosenSize(const NewSkinDialog& dialog);

// What OK must refuse, with the message to show (the dialog then stays open):
// an "Other" size that is not a power of two from 4 to 4096, or one taller
// than an image may be. Nothing when the choice is acceptable.
std::optional<std::string> NewSkinDialogProblem(const NewSkinDialog& dialog);

// "Resize Skin / UV Mapping": a "Skin Image" half and a "UV Mapping" half,
// each with the size it goes from and the size it goes to.
enum class ResizeChoice { Size128, Size256, Size512, Other };

struct ResizeSkinDialog {
  bool affectSkinImage = true;  // "Affect Skin Image"
  int fromWidth = 0;            // read-only: the current size
  int fromHeight = 0;
  ResizeChoice skinChoice = ResizeChoice::Other;
  int toWidth = 0;   // 4..8192
  int toHeight = 0;

  bool syncUvMapping = true;  // "Sync UV Mapping"
  double uvFromWidth = 0;     // 1..8192
  double uvFromHeight = 0;
  ResizeChoice uvChoice = ResizeChoice::Other;
  double uvToWidth = 0;
  double uvToHeight = 0;

  // ">> Syncronize Settings": the skin half's four sizes and radio choice
  // are copied into the UV half.
  void SynchronizeSettings();
};

// The dialog as it opens for a skin: both halves at the current size with
// "Other" chosen; "Affect Skin Image" off for a placeholder.
ResizeSkinDialog ResizeDialogFor(const SkinSlot& skin);

// The target of each half: the chosen square size, or the To fields.
SkinSize SkinTarget(const ResizeSkinDialog& dialog);
struct UvScale {
  double fromWidth = 0;
  double fromHeight = 0;
  double toWidth = 0;
  double toHeight = 0;
};
UvScale UvTarget(const ResizeSkinDialog& dialog);

}  // namespace mok
