#include "app/md2_command.h"

#include "app/file_commands.h"
#include "core/md2_import.h"

namespace mok {

Result<MeshFileReport> LoadMd2(MeshDocument& doc, const std::string& path, Prompter&) {
  Status imported = ImportMd2(doc, path);
  if (!imported) return imported.error();
  return MeshFileReport{};
}

void ImportQuake2Md2(Application& app) {
  RunOpenCommand(app, {md2_text::kFilter, md2_text::kInitialName, md2_text::kExtension, LoadMd2});
}

}  // namespace mok
