#include "app/mapping_commands.h"

#include "app/load_dir.h"
#include "core/mapping_file.h"
#include "core/mesh_names.h"

namespace mok {

void ExportMappingCommand(Application& app) {
  FileDialogSpec spec;
  spec.save = true;
  spec.filter = mapping_text::kFilter;
  spec.initialName = mapping_text::kInitialName;
  spec.initialDir = app.loadDir;
  auto chosen = app.prompter.ChooseFile(spec);
  if (!chosen) return;
  Status saved = ExportMappingTo(app.doc(), WithDefaultExtension(*chosen, mapping_text::kExtension));
  if (!saved) app.prompter.Message(saved.error().message, MessageIcon::Error);
}

void ImportMappingCommand(Application& app) {
  FileDialogSpec spec;
  spec.filter = mapping_text::kFilter;
  spec.initialName = mapping_text::kInitialName;
  spec.initialDir = app.loadDir;
  spec.mustExist = true;
  auto chosen = app.prompter.ChooseFile(spec);
  if (!chosen) return;
  MkmpImportOptions options;
  if (!app.dialogs.ChooseMkmpImportOptions(options)) return;
  UpdateLoadDir(app, *chosen);
  Status imported = ImportMappingFrom(app.doc(), WithDefaultExtension(*chosen, mapping_text::kExtension), options);
  if (!imported) {
    app.prompter.Message(imported.error().message, MessageIcon::Error);
    return;
  }
  Notify(app, Change::Mapping);
}

}  // namespace mok
