#pragma once
// What the mokcli commands share: a prompter without a user, and loading a
// mesh with its messages on stderr.

#include <string>
#include <vector>

#include "core/mesh_document.h"
#include "core/prompter.h"

namespace mokcli {

// Messages go to stderr; questions are answered Yes (keep what can be kept)
// and echoed to stderr; file dialogs are cancelled.
class CliPrompter final : public mok::Prompter {
 public:
  void Message(const std::string& text, mok::MessageIcon icon) override;
  mok::Answer Ask(const std::string& text, mok::Buttons buttons, mok::MessageIcon icon) override;
  std::optional<std::string> ChooseFile(const mok::FileDialogSpec& spec) override;
};

// Prints each warning on its own line on stderr.
void PrintWarnings(const std::vector<std::string>& warnings);

// Loads a mesh (any accepted name) into doc; on failure prints the message on
// stderr and returns false.
bool LoadMeshForCli(mok::MeshDocument& doc, const std::string& name);

// Saves doc as the mesh files named by name; on failure prints the message on
// stderr and returns false. Warnings go to stderr too.
bool SaveMeshForCli(const mok::MeshDocument& doc, const std::string& name);

}  // namespace mokcli
