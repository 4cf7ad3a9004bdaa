#pragma once
// What the mokcli commands share: a prompter and a dialog host without a user,
// and loading a mesh with its messages on stderr.

#include <string>
#include <vector>

#include "core/dialog_host.h"
#include "core/mesh_document.h"
#include "core/prompter.h"

namespace mokcli {

// Messages go to stderr; questions are answered Yes (keep what can be kept)
// and echoed to stderr; file, folder and colour choices are cancelled: the
// command line names its files itself.
class CliPrompter final : public mok::Prompter {
 public:
  void Message(const std::string& text, mok::MessageIcon icon) override;
  mok::Answer Ask(const std::string& text, mok::Buttons buttons, mok::MessageIcon icon) override;
  std::optional<std::string> ChooseFile(const mok::FileDialogSpec& spec) override;
  std::optional<mok::FileChoice> ChooseFileAndFilter(const mok::FileDialogSpec& spec) override;
  std::optional<std::string> ChooseFolder(const std::string& title) override;
  bool ChooseColor(std::uint32_t& colour, std::array<std::uint32_t, 16>& customSlots) override;
};

// Every dialog is cancelled with its title on stderr: the command line gives
// its choices as options (mokcli mapping import takes the "Import MKMP" boxes
// as flags), so a command that would need a dialog changes nothing; the
// model's size is `mokcli info`'s business.
class CliDialogs final : public mok::DialogHost {
 public:
  bool EditFileProperties(mok::FileInfo& fields) override;
  bool ChooseMkmpImportOptions(mok::MkmpImportOptions& options) override;
  mok::TriangleFlagsOutcome EditTriangleFlags(mok::TriangleFlagsDialog& dialog) override;
  bool ChooseChannel(mok::ChannelDialog& dialog) override;
  bool ChooseNewSkin(mok::NewSkinDialog& dialog) override;
  bool ChooseSkinResize(mok::ResizeSkinDialog& dialog) override;
  bool EditTilingOptions(mok::TilingOptions& options) override;
  bool ChooseMapFrom3DView(mok::MapFrom3DViewOptions& options) override;
  bool ChooseSnapshot(mok::SnapshotDialog& dialog) override;
  bool EditPreferences(mok::PreferencesDialog& dialog, mok::PreferencesBrowser& browser) override;
  void ShowModelStats(const mok::ModelStats& stats) override;
  void ShowAbout() override;
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
