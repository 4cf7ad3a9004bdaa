#include "tools/mokcli/cli_support.h"

#include <cstdio>

#include "core/mesh_files.h"

namespace mokcli {

void CliPrompter::Message(const std::string& text, mok::MessageIcon) { std::fprintf(stderr, "%s\n", text.c_str()); }

mok::Answer CliPrompter::Ask(const std::string& text, mok::Buttons, mok::MessageIcon) {
  std::fprintf(stderr, "%s Yes\n", text.c_str());
  return mok::Answer::Yes;
}

std::optional<std::string> CliPrompter::ChooseFile(const mok::FileDialogSpec&) { return std::nullopt; }
std::optional<mok::FileChoice> CliPrompter::ChooseFileAndFilter(const mok::FileDialogSpec&) { return std::nullopt; }
std::optional<std::string> CliPrompter::ChooseFolder(const std::string&) { return std::nullopt; }
bool CliPrompter::ChooseColor(std::uint32_t&, std::array<std::uint32_t, 16>&) { return false; }

namespace {

bool Cancelled(const char* title) {
  std::fprintf(stderr, "\"%s\": cancelled, mokcli has no dialogs\n", title);
  return false;
}

}  // namespace

bool CliDialogs::EditFileProperties(mok::FileInfo&) { return Cancelled("File Properties"); }
bool CliDialogs::ChooseMkmpImportOptions(mok::MkmpImportOptions&) { return Cancelled("Import MKMP"); }
mok::TriangleFlagsOutcome CliDialogs::EditTriangleFlags(mok::TriangleFlagsDialog&) {
  Cancelled("Triangle Flags");
  return mok::TriangleFlagsOutcome::Cancel;
}
bool CliDialogs::ChooseChannel(mok::ChannelDialog&) { return Cancelled("Assign Texture Channel"); }
bool CliDialogs::ChooseNewSkin(mok::NewSkinDialog&) { return Cancelled("Create New Skin"); }
bool CliDialogs::ChooseSkinResize(mok::ResizeSkinDialog&) { return Cancelled("Resize Skin / UV Mapping"); }
bool CliDialogs::EditTilingOptions(mok::TilingOptions&) { return Cancelled("Tiling Options"); }
bool CliDialogs::ChooseMapFrom3DView(mok::MapFrom3DViewOptions&) { return Cancelled("Map from 3D View"); }
bool CliDialogs::ChooseSnapshot(mok::SnapshotDialog&) { return Cancelled("Snapshots"); }
bool CliDialogs::EditPreferences(mok::PreferencesDialog&, mok::PreferencesBrowser&) { return Cancelled("Preferences"); }
void CliDialogs::ShowModelStats(const mok::ModelStats&) { Cancelled("Model Stats"); }
void CliDialogs::ShowAbout() { Cancelled("About"); }

void PrintWarnings(const std::vector<std::string>& warnings) {
  for (const std::string& warning : warnings) std::fprintf(stderr, "warning: %s\n", warning.c_str());
}

bool LoadMeshForCli(mok::MeshDocument& doc, const std::string& name) {
  CliPrompter prompter;
  mok::Result<mok::MeshFileReport> loaded = mok::LoadMesh(doc, name, prompter);
  if (!loaded) {
    std::fprintf(stderr, "%s: %s\n", name.c_str(), loaded.error().message.c_str());
    return false;
  }
  PrintWarnings(loaded->warnings);
  return true;
}

bool SaveMeshForCli(const mok::MeshDocument& doc, const std::string& name) {
  mok::Result<mok::MeshFileReport> saved = mok::SaveMesh(doc, name);
  if (!saved) {
    std::fprintf(stderr, "%s: %s\n", name.c_str(), saved.error().message.c_str());
    return false;
  }
  PrintWarnings(saved->warnings);
  return true;
}

}  // namespace mokcli
