#pragma once
// "Preferences": the intro, the default channel skin, the map folders and
// the misc switches. The folders' "..." buttons write their setting at once
// through the browser; the rest comes back on OK. The WAV field and its
// button are enabled only while "Custom..." is chosen.

#include <QDialog>

#include "app/preferences.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace mok::shell {

// The intro list's nine entries: the seven clips, "Random", "Custom...".
inline constexpr const char* kIntroListEntries[] = {"Korvane Fanfare", "Vertex Waltz", "Texel Rain",     "Skin Deep",
                                                    "Wireframe Dawn",  "Polygon March", "Channel Zero", "Random",
                                                    "Custom..."};

class PreferencesWindow final : public QDialog {
 public:
  PreferencesWindow(const PreferencesDialog& state, PreferencesBrowser& browser, Prompter& prompter,
                    QWidget* parent = nullptr);
  // The values as accepted; valid after OK.
  const PreferencesDialog& state() const { return state_; }
  void accept() override;

 private:
  void IntroChosen(int index);
  void BrowseFolder(MapFolderKind kind, QLineEdit* shown);
  void BrowseWav();

  PreferencesDialog state_;
  PreferencesBrowser& browser_;
  Prompter& prompter_;
  QComboBox* intro_;
  QCheckBox* skipIntro_;
  QLineEdit* wav_;
  QPushButton* wavBrowse_;
  QLineEdit* width_;
  QLineEdit* height_;
  QButtonGroup* grid_;
  QLineEdit* phong_;
  QLineEdit* env_;
  QCheckBox* quickExit_;
  QCheckBox* palOnTop_;
  QCheckBox* customCursors_;
};

}  // namespace mok::shell
