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
