#include "app/script_skins.h"

#include <map>
#include <utility>

#include "app/skin_command_steps.h"
#include "app/skin_commands.h"
#include "core/channel_units.h"
#include "core/mesh_names.h"
#include "image/image_codecs.h"

namespace mok {
namespace {

struct LoadedSkin {
  int channel;
  SkinSlot image;
};

std::string ProblemLine(const ScriptSkin& skin, const std::string& reason) {
  return "  channel " + std::to_string(skin.num) + ": " + skin.texture + " (" + reason + ")";
}

// Each file is decoded once, however many channels name it.
using DecodedFiles = std::map<std::string, Result<SkinSlot>>;

// The image for the skin's channel, or the reason it cannot go there.
Result<SkinSlot> ReadSkinImage(const MeshDocument& doc, const ScriptSkin& skin, DecodedFiles& decoded) {
  if (!skin.file) return Error{skin.problem, skin.texture};
  if (skin.num >= doc.slotCount()) return Error{"the mesh has no channel " + std::to_string(skin.num), skin.texture};
  auto known = decoded.find(*skin.file);
  if (known == decoded.end()) known = decoded.emplace(*skin.file, LoadImageFile(*skin.file, ImageMode::TrueColor)).first;
  Result<SkinSlot> image = known->second;
  if (image) image->name = image->filePath;
  return image;
}

}  // namespace

std::vector<std::string> LoadFoundSkins(MeshDocument& doc, const ScriptSkins& found) {
  std::vector<LoadedSkin> loaded;
  std::vector<std::string> lines;
  DecodedFiles decoded;
  for (const ScriptSkin& skin : found.skins) {
    Result<SkinSlot> image = ReadSkinImage(doc, skin, decoded);
    if (image)
      loaded.push_back({skin.num, std::move(*image)});
    else
      lines.push_back(ProblemLine(skin, image.error().message));
  }
  if (!lines.empty()) lines.insert(lines.begin(), kScriptSkinsHeading);
  lines.insert(lines.end(), found.notes.begin(), found.notes.end());
  if (loaded.empty()) return lines;
  WithChannelUnits(doc, [&] {
    for (LoadedSkin& skin : loaded) *doc.skinSlots[static_cast<std::size_t>(skin.channel)] = std::move(skin.image);
  });
  return lines;
}

Result<MeshFileReport> LoadMeshWithScriptSkins(MeshDocument& doc, const std::string& name, Prompter& prompter,
                                               bool scriptSkins) {
  Result<MeshFileReport> report = LoadMesh(doc, name, prompter);
  if (!report || !scriptSkins) return report;
  if (std::optional<ScriptSkins> found = FindScriptSkins(name)) {
    std::vector<std::string> lines = LoadFoundSkins(doc, *found);
    report->warnings.insert(report->warnings.end(), lines.begin(), lines.end());
  }
  return report;
}

MeshLoader MeshLoaderWithScriptSkins(const SettingsStore& settings) {
  return [&settings](MeshDocument& doc, const std::string& name, Prompter& prompter) {
    return LoadMeshWithScriptSkins(doc, name, prompter, Read(settings, setting::LoadScriptSkins) != 0);
  };
}

void LoadSkinsFromScripts(Application& app) {
  if (!app.doc().meshLoaded) return;
  std::optional<ScriptSkins> found = FindScriptSkins(app.currentFile);
  if (!found) {
    app.prompter.Message(kNoImportingScriptMessage, MessageIcon::Information);
    return;
  }
  ShowWarnings(app.prompter, LoadFoundSkins(app.doc(), *found));
  FinishSkinChange(app);
}

void ExportUnrealScriptLines(Application& app) {
  if (!app.doc().meshLoaded) return;
  FileDialogSpec dialog;
  dialog.save = true;
  dialog.filter = kScriptExportFilter;
  dialog.initialName = FileNamePart(MeshBaseName(app.currentFile).value_or(app.currentFile)) + ".uc";
  dialog.initialDir = app.loadDir;
  std::optional<std::string> chosen = app.prompter.ChooseFile(dialog);
  if (!chosen) return;
  Result<std::vector<std::string>> written =
      ExportImportLines(app.doc(), app.currentFile, WithDefaultExtension(*chosen, ".uc"));
  if (!written) {
    app.prompter.Message(written.error().message, MessageIcon::Error);
    return;
  }
  ShowWarnings(app.prompter, *written);
}

}  // namespace mok
