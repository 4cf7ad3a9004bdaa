#pragma once
// The Skins menu: one image per texture channel in the document's skinSlots.
// Every command acts on the active channel's slot and does nothing before
// the first mesh (no active skin).
//
// Texture coordinates are texels of their channel's skin, so whenever a
// slot's image changes size the coordinates of that channel are rescaled
// (WithChannelUnits) and the mapping stays on the same part of the picture.
//
// New, Open, Close/Delete, Reload, the activation reload and Resize end with
// a skins change notice (the renderer builds its shade ramps every frame).

#include <functional>
#include <string>

#include "core/application.h"
#include "core/skin_slot.h"

namespace mok {

inline constexpr const char* kNoSkinToSaveMessage = "No skin to save!";
inline constexpr const char* kSkinSaveFailedMessage = "An error occured while attempting to save!";
inline constexpr const char* kPcxSaveQuestion = "PCX Save is not supported...save as BMP?";
inline constexpr const char* kReloadFailedMessage = "Unable to reload the skin!";

inline constexpr const char* kSkinOpenFilter =
    "Supported Formats (*.pcx;*.bmp;*.tga)|*.pcx;*.bmp;*.tga|ZSoft PCX (*.pcx)|*.pcx|Bitmap (*.bmp)|*.bmp|"
    "Targa (*.tga)|*.tga|All Files (*.*)|*.*||";
inline constexpr const char* kSkinOpenPattern = "*.pcx;*.bmp;*.tga";
inline constexpr const char* kNewSkinName = "newskin";

// The slot of the active channel, or null before the first mesh.
SkinSlot* ActiveSkin(MeshDocument& doc);

// "&New...": the "Create New Skin" dialog, then a new image without a file
// in the active slot, with the chosen patterns in the user colours.
void SkinNew(Application& app);
// "&Open": a PCX, BMP or TGA file into the active slot.
void SkinOpen(Application& app);
// What Open does after its dialog: the image file into the active slot; a
// file that cannot be read is reported and changes nothing.
void OpenSkinFile(Application& app, const std::string& path);
// "&Close/Delete": the active slot becomes a placeholder again; it keeps its
// name, file and format.
void SkinCloseDelete(Application& app);
// "&Save": writes the skin to its file in its format; a skin without a file,
// or a PCX skin once the user agrees to BMP, goes through Save As.
void SkinSave(Application& app);
// "Save &As": a BMP or TGA file chosen by the dialog's filter. Only a
// successful write makes the chosen file the skin's file.
void SkinSaveAs(Application& app);
// "&Store" and "&Revert": painting's one-level undo.
void SkinStore(Application& app);
void SkinRevert(Application& app);
// "R&eload": reads the skin's file again; a failure keeps the old image.
void SkinReload(Application& app);
// "Resize...": resamples the image and/or scales the channel's coordinates.
void SkinResize(Application& app);

// "Auto-Reload": toggles the flag.
void SkinToggleAutoReload(Application& app);
// Called by the shell when the application becomes active: with Auto-Reload
// on, every slot with a file is read again (unreadable files keep their old
// image silently), and the UV table, side lists and views are rebuilt even
// when there was nothing to read. The reload is one undo step.
inline constexpr const char* kAutoReloadStep = "Auto-Reload";
void AutoReloadOnActivation(Application& app);

// The default skin and every placeholder slot at a new size and grid (the
// Preferences dialog's default skin settings); loaded skins are untouched.
void RebuildPlaceholders(Application& app, const PlaceholderSpec& spec);

// Nearest-texel resampling: destination (x, y) takes source
// (x * (oldW - 1) / (newW - 1), y * (oldH - 1) / (newH - 1)), truncated; a
// destination side of 1 takes source index 0. The result keeps the skin's
// names and format; its stored copy equals its pixels.
SkinSlot ResampleNearest(const SkinSlot& skin, int width, int height);

}  // namespace mok
