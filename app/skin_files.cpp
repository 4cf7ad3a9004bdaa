// The Skins menu commands that read or write files: Open, Save, Save As,
// Reload and the reload on activation.

#include "app/load_dir.h"
#include "core/channel_units.h"
#include "core/mesh_names.h"
#include "image/image_codecs.h"
#include "app/skin_command_steps.h"
#include "app/skin_commands.h"

namespace mok {
namespace {

// Filters of the Open dialog, numbered as the dialog reports them.
enum OpenFilter { kOpenSupported = 1, kOpenPcx, kOpenBmp, kOpenTga, kOpenAll };

// Save As: the skin's own kind first, then the fixed list.
enum SaveFilter { kSaveFirst = 1, kSaveBmp, kSaveTga, kSaveAll };
constexpr const char* kBmpFilterEntry = "Bitmap (*.bmp)|*.bmp|";
constexpr const char* kTgaFilterEntry = "Targa (*.tga)|*.tga|";
constexpr const char* kSaveFilterTail = "Bitmap (*.bmp)|*.bmp|Targa (*.tga)|*.tga|All Files (*.*)|*.*||";

// The extension a typed name without one gets: that of the filter's format.
// "All Files" leaves the name as typed, since the reader finds the format
// from the file's contents anyway.
std::string OpenExtension(int filter) {
  switch (filter) {
    case kOpenBmp: return ".bmp";
    case kOpenTga: return ".tga";
    case kOpenAll: return "";
    default: return ".pcx";
  }
}

bool IsPlaceholder(const SkinSlot& skin) { return skin.isEmpty != 0; }

std::string SaveAsFilter(const SkinSlot& skin) {
  return std::string(skin.format == kFormatTga ? kTgaFilterEntry : kBmpFilterEntry) + kSaveFilterTail;
}

std::string SaveAsExtension(const SkinSlot& skin, int filter) {
  if (filter == kSaveTga || (filter == kSaveFirst && skin.format == kFormatTga)) return ".tga";
  return ".bmp";
}

// The writer the chosen filter asks for. "All Files" keeps the skin's own
// format, and BMP where that has no writer (a PCX skin, or none).
SkinFormat SaveAsFormat(const SkinSlot& skin, int filter, const std::string& path) {
  switch (filter) {
    case kSaveFirst: return EndsWithNoCase(path, ".tga") ? kFormatTga : kFormatBmp;
    case kSaveBmp: return kFormatBmp;
    case kSaveTga: return kFormatTga;
    default: return skin.format == kFormatTga ? kFormatTga : kFormatBmp;
  }
}

Status WriteSkin(SkinSlot& skin, SkinFormat format, const std::string& path) {
  return format == kFormatTga ? WriteTga(skin, path) : WriteBmp(skin, path);
}

// A PCX name becomes the same name ending in "bmp".
void RenamePcxToBmp(SkinSlot& skin) {
  if (EndsWithNoCase(skin.name, ".pcx")) skin.name = skin.name.substr(0, skin.name.size() - 3) + "bmp";
}

// Save of a PCX skin: with the user's consent it continues as a BMP through
// Save As.
void SavePcxAsBmp(Application& app, SkinSlot& skin) {
  if (app.prompter.Ask(kPcxSaveQuestion, Buttons::YesNo, MessageIcon::Question) != Answer::Yes) {
    app.prompter.Message(kSkinSaveFailedMessage, MessageIcon::Error);
    return;
  }
  RenamePcxToBmp(skin);
  skin.format = kFormatBmp;
  SkinSaveAs(app);
}

bool ReloadsFromFile(const SkinSlot& skin) { return !IsPlaceholder(skin) && skin.hasFile; }

}  // namespace

void SkinOpen(Application& app) {
  MeshDocument& doc = app.doc();
  SkinSlot* slot = ActiveSkin(doc);
  if (!slot) return;
  FileDialogSpec dialog;
  dialog.filter = kSkinOpenFilter;
  dialog.initialName = kSkinOpenPattern;
  dialog.initialDir = app.loadDir;
  std::optional<FileChoice> chosen = app.prompter.ChooseFileAndFilter(dialog);
  if (!chosen) return;
  UpdateLoadDir(app, chosen->path);
  OpenSkinFile(app, WithDefaultExtension(chosen->path, OpenExtension(chosen->filterIndex)));
}

void OpenSkinFile(Application& app, const std::string& path) {
  MeshDocument& doc = app.doc();
  SkinSlot* slot = ActiveSkin(doc);
  if (!slot) return;
  Result<SkinSlot> loaded = LoadImageFile(path, ImageMode::TrueColor);
  if (!loaded) {
    app.prompter.Message(loaded.error().message, MessageIcon::Error);
    return;
  }
  loaded->name = loaded->filePath;
  ReplaceSkin(doc, *slot, std::move(*loaded));
  FinishSkinChange(app);
}

void SkinSave(Application& app) {
  SkinSlot* skin = ActiveSkin(app.doc());
  if (!skin) return;
  if (IsPlaceholder(*skin)) {
    app.prompter.Message(kNoSkinToSaveMessage, MessageIcon::Error);
    return;
  }
  if (skin->hasFile && skin->format == kFormatPcx) {
    SavePcxAsBmp(app, *skin);
    return;
  }
  if (!skin->hasFile || (skin->format != kFormatBmp && skin->format != kFormatTga)) {
    SkinSaveAs(app);
    return;
  }
  Status written = WriteSkin(*skin, static_cast<SkinFormat>(skin->format), skin->filePath);
  if (!written) {
    app.prompter.Message(written.error().message, MessageIcon::Error);
    app.prompter.Message(kSkinSaveFailedMessage, MessageIcon::Error);
    return;
  }
  skin->storedPixels = skin->pixels;
}

void SkinSaveAs(Application& app) {
  SkinSlot* skin = ActiveSkin(app.doc());
  if (!skin) return;
  if (IsPlaceholder(*skin)) {
    app.prompter.Message(kNoSkinToSaveMessage, MessageIcon::Error);
    return;
  }
  FileDialogSpec dialog;
  dialog.save = true;
  dialog.confirmOverwrite = false;
  dialog.filter = SaveAsFilter(*skin);
  dialog.initialName = skin->name;
  dialog.initialDir = app.loadDir;
  std::optional<FileChoice> chosen = app.prompter.ChooseFileAndFilter(dialog);
  if (!chosen) return;
  std::string path = WithDefaultExtension(chosen->path, SaveAsExtension(*skin, chosen->filterIndex));
  Status written = WriteSkin(*skin, SaveAsFormat(*skin, chosen->filterIndex, path), path);
  if (!written) {
    // The skin keeps its old file: the chosen one holds nothing of it.
    app.prompter.Message(written.error().message, MessageIcon::Error);
    return;
  }
  skin->name = path;
  skin->filePath = path;
  skin->hasFile = 1;
  skin->storedPixels = skin->pixels;
  Notify(app, Change::SkinNames);
}

void SkinReload(Application& app) {
  MeshDocument& doc = app.doc();
  SkinSlot* skin = ActiveSkin(doc);
  if (!skin || !ReloadsFromFile(*skin)) return;
  Result<SkinSlot> loaded = LoadImageFile(skin->filePath, ImageMode::TrueColor);
  if (!loaded) {
    app.prompter.Message(kReloadFailedMessage, MessageIcon::Error);
    return;
  }
  WithChannelUnits(doc, [&] { TakeImage(*skin, std::move(*loaded)); });
  FinishSkinChange(app);
}

void AutoReloadOnActivation(Application& app) {
  if (!app.flags.autoReload) return;
  MeshDocument& doc = app.doc();
  WithChannelUnits(doc, [&] {
    for (const std::unique_ptr<SkinSlot>& slot : doc.skinSlots) {
      if (!ReloadsFromFile(*slot)) continue;
      Result<SkinSlot> loaded = LoadImageFile(slot->filePath, ImageMode::TrueColor);
      if (loaded) TakeImage(*slot, std::move(*loaded));
    }
  });
  // A step of its own, so that undoing the next edit never takes the reload
  // back with it.
  app.history.Commit(doc, kAutoReloadStep);
  FinishSkinChange(app);
}

}  // namespace mok
