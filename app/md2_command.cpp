#include "app/md2_command.h"

#include "app/file_commands.h"
#include "core/md2_import.h"
#include "image/image_codecs.h"

namespace mok {
namespace {

// The first of the header's skins that is found and decodes; each one found
// that does not decode is reported.
std::optional<SkinSlot> FirstReadableSkin(const std::string& path, const Md2Model& model,
                                          std::vector<std::string>& warnings) {
  for (const std::string& file : FindMd2SkinFiles(path, model.skinNames)) {
    Result<SkinSlot> skin = LoadImageFile(file, ImageMode::TrueColor);
    if (skin) {
      skin->name = skin->filePath;
      return std::move(*skin);
    }
    warnings.push_back("The MD2's skin " + file + " was not loaded: " + skin.error().message);
  }
  return std::nullopt;
}

}  // namespace

Result<MeshFileReport> LoadMd2(MeshDocument& doc, const std::string& path, Prompter&) {
  Result<Md2Model> model = ReadMd2File(path);
  if (!model) return model.error();
  MeshFileReport report;
  std::optional<SkinSlot> skin = FirstReadableSkin(path, *model, report.warnings);
  InstallMd2(doc, std::move(*model), skin ? &*skin : nullptr);
  return report;
}

OpenCommandOptions Md2OpenOptions() {
  return {md2_text::kFilter, md2_text::kInitialName, md2_text::kExtension, LoadMd2};
}

void ImportQuake2Md2(Application& app) { RunOpenCommand(app, Md2OpenOptions()); }

}  // namespace mok
