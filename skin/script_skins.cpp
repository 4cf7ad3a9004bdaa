#include "skin/script_skins.h"

#include <utility>

#include "skin/image_codecs.h"
#include "skin/skin_command_steps.h"
#include "skin/skin_commands.h"

namespace mok {
namespace {

struct LoadedSkin {
  int channel;
  SkinSlot image;
};

std::string ProblemLine(const ScriptSkin& skin, const std::string& reason) {
  return "  channel " + std::to_string(skin.num) + ": " + skin.texture + " (" + reason + ")";
}

// The image for the skin's channel, or the reason it cannot go there.
Result<SkinSlot> ReadSkinImage(const MeshDocument& doc, const ScriptSkin& skin) {
  if (!skin.file) return Error{skin.problem, skin.texture};
  if (skin.num >= doc.slotCount()) return Error{"the mesh has no channel " + std::to_string(skin.num), skin.texture};
  Result<SkinSlot> image = LoadImageFile(*skin.file, ImageMode::TrueColor);
  if (image) image->name = image->filePath;
  return image;
}

}  // namespace

std::vector<std::string> LoadFoundSkins(MeshDocument& doc, const ScriptSkins& found) {
  std::vector<LoadedSkin> loaded;
  std::vector<std::string> lines;
  for (const ScriptSkin& skin : found.skins) {
    Result<SkinSlot> image = ReadSkinImage(doc, skin);
    if (image)
      loaded.push_back({skin.num, std::move(*image)});
    else
      lines.push_back(ProblemLine(skin, image.error().message));
  }
  if (!lines.empty()) lines.insert(lines.begin(), kScriptSkinsHeading);
  lines.insert(lines.end(), found.notes.begin(), found.notes.end());
  if (loaded.empty()) return lines;
  ChangeSkinSizes(doc, [&] {
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

}  // namespace mok
