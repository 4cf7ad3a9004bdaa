#include "core/application.h"

#include <algorithm>

namespace mok {
namespace {

std::size_t HistoryLimitBytes(std::int32_t megabytes) {
  return static_cast<std::size_t>(std::clamp(megabytes, 0, setting::kMaxHistoryMb)) << 20;
}

}  // namespace

Application::Application(SettingsStore& settingsStore, Prompter& userPrompter, DialogHost& dialogHost,
                         RefreshSink& refreshSink)
    : settings(settingsStore),
      prompter(userPrompter),
      dialogs(dialogHost),
      refresh(refreshSink),
      document(std::make_unique<MeshDocument>()) {
  for (int i = 0; i < 8; ++i) customColors[static_cast<std::size_t>(i)] = static_cast<std::uint32_t>(setting::kCustomColorDefaults[i]);
}

Application::~Application() = default;

void Application::ReadStartupSettings() {
  for (int i = 0; i < 8; ++i) customColors[static_cast<std::size_t>(i)] = ReadCustomColor(settings, i);
  customCursors = Read(settings, setting::CustomCursors);
  document->placeholderSpec.width = Read(settings, setting::DefSknResX);
  document->placeholderSpec.height = Read(settings, setting::DefSknResY);
  document->placeholderSpec.grid = Read(settings, setting::DefSknGrid);
  MakePlaceholder(document->defaultSkin, 0, document->placeholderSpec);
  history.SetMemoryLimit(HistoryLimitBytes(Read(settings, setting::HistoryMb)));
}

}  // namespace mok
