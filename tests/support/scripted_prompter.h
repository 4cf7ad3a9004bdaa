#pragma once
// The user of the tests and benchmarks: one prompter and dialog host that
// records what it was told and shown and plays back scripted answers.
//
// Questions take the next scripted answer (else `unscriptedAnswer`); file and
// folder choices take the next scripted one (else Cancel). Each dialog is a
// ScriptedDialog: it records the state at every opening and answers with the
// scripted edit, else the scripted state, else Cancel.

#include <array>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/preferences.h"
#include "app/skin_dialogs.h"
#include "core/dialog_host.h"
#include "core/mesh_document.h"
#include "core/model_stats.h"
#include "core/prompter.h"
#include "panes/pane_dialogs.h"
#include "render/render_dialogs.h"

namespace mok::test {

template <class State, class Outcome = bool, Outcome kOk = true, Outcome kCancel = false>
struct ScriptedDialog {
  std::vector<State> shown;                  // the state of every opening
  std::optional<State> answer;               // OK hands this back
  std::function<Outcome(State&)> edit;       // or: changes the state like a user and answers

  Outcome Open(State& state) {
    shown.push_back(state);
    if (edit) return edit(state);
    if (!answer) return kCancel;
    state = *answer;
    return kOk;
  }
};

// A scripted file choice; converts from the ways tests name files.
struct ScriptedFile {
  ScriptedFile(std::string chosen, int filterIndex = 1) : path(std::move(chosen)), filter(filterIndex) {}
  ScriptedFile(const char* chosen) : path(chosen) {}
  ScriptedFile(const std::filesystem::path& chosen) : path(chosen.string()) {}
  std::string path;
  int filter = 1;
};

class ScriptedPrompter final : public Prompter, public DialogHost {
 public:
  std::vector<std::string> messages;
  std::vector<std::string> questions;
  std::deque<Answer> answers;
  Answer unscriptedAnswer = Answer::Cancel;

  std::vector<FileDialogSpec> dialogs;  // every file dialog opened
  std::deque<std::optional<ScriptedFile>> files;
  std::vector<std::string> folderTitles;
  std::deque<std::optional<std::string>> folders;

  // The colour dialog: what it was opened with, the custom slot a user sets
  // while it is open, and the colour OK hands back (none: Cancel).
  int colourOpened = 0;
  std::uint32_t colourOpenedWith = 0;
  std::array<std::uint32_t, 16> colourSlotsSeen{};
  std::optional<std::pair<std::size_t, std::uint32_t>> colourSlotToSet;
  std::optional<std::uint32_t> colourAnswer;

  ScriptedDialog<FileInfo> properties;
  ScriptedDialog<MkmpImportOptions> mkmpImport;
  ScriptedDialog<TriangleFlagsDialog, TriangleFlagsOutcome, TriangleFlagsOutcome::Ok, TriangleFlagsOutcome::Cancel>
      triangleFlags;
  ScriptedDialog<ChannelDialog> channel;
  ScriptedDialog<NewSkinDialog> newSkin;
  ScriptedDialog<ResizeSkinDialog> resize;
  ScriptedDialog<TilingOptions> tiling;
  ScriptedDialog<MapFrom3DViewOptions> mapFrom3DView;
  ScriptedDialog<SnapshotDialog> snapshot;
  ScriptedDialog<PreferencesDialog> preferences;
  std::vector<ModelStats> statsShown;
  int aboutShown = 0;

  void Choose(const std::string& path, int filter = 1) { files.push_back(ScriptedFile{path, filter}); }

  void Message(const std::string& text, MessageIcon) override { messages.push_back(text); }
  Answer Ask(const std::string& text, Buttons, MessageIcon) override {
    questions.push_back(text);
    return Pop(answers).value_or(unscriptedAnswer);
  }
  std::optional<std::string> ChooseFile(const FileDialogSpec& spec) override {
    std::optional<FileChoice> choice = ChooseFileAndFilter(spec);
    if (!choice) return std::nullopt;
    return choice->path;
  }
  std::optional<FileChoice> ChooseFileAndFilter(const FileDialogSpec& spec) override {
    dialogs.push_back(spec);
    std::optional<ScriptedFile> file = Pop(files).value_or(std::nullopt);
    if (!file) return std::nullopt;
    return FileChoice{file->path, file->filter};
  }
  std::optional<std::string> ChooseFolder(const std::string& title) override {
    folderTitles.push_back(title);
    return Pop(folders).value_or(std::nullopt);
  }
  bool ChooseColor(std::uint32_t& colour, std::array<std::uint32_t, 16>& customSlots) override {
    ++colourOpened;
    colourOpenedWith = colour;
    colourSlotsSeen = customSlots;
    if (colourSlotToSet) customSlots[colourSlotToSet->first] = colourSlotToSet->second;
    if (!colourAnswer) return false;
    colour = *colourAnswer;
    return true;
  }

  bool EditFileProperties(FileInfo& fields) override { return properties.Open(fields); }
  bool ChooseMkmpImportOptions(MkmpImportOptions& options) override { return mkmpImport.Open(options); }
  TriangleFlagsOutcome EditTriangleFlags(TriangleFlagsDialog& dialog) override { return triangleFlags.Open(dialog); }
  bool ChooseChannel(ChannelDialog& dialog) override { return channel.Open(dialog); }
  bool ChooseNewSkin(NewSkinDialog& dialog) override { return newSkin.Open(dialog); }
  bool ChooseSkinResize(ResizeSkinDialog& dialog) override { return resize.Open(dialog); }
  bool EditTilingOptions(TilingOptions& options) override { return tiling.Open(options); }
  bool ChooseMapFrom3DView(MapFrom3DViewOptions& options) override { return mapFrom3DView.Open(options); }
  bool ChooseSnapshot(SnapshotDialog& dialog) override { return snapshot.Open(dialog); }
  bool EditPreferences(PreferencesDialog& dialog, PreferencesBrowser&) override { return preferences.Open(dialog); }
  void ShowModelStats(const ModelStats& stats) override { statsShown.push_back(stats); }
  void ShowAbout() override { ++aboutShown; }

 private:
  template <class T>
  static std::optional<T> Pop(std::deque<T>& queue) {
    if (queue.empty()) return std::nullopt;
    T value = std::move(queue.front());
    queue.pop_front();
    return value;
  }
};

}  // namespace mok::test
