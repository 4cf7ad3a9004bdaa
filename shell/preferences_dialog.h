#pragma once
// "Preferences": the intro, the default channel skin, the map folders and
// the misc switches. The folders' "..." buttons write their setting at once
// through the browser; the rest comes back on OK. The WAV field and its
// button are enabled only while "Custom..." is chosen. Choosing an intro
// plays it as a preview, looping, for 15 seconds or until the dialog closes.

#include <QDialog>

#include "app/preferences.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;
class QTimer;

namespace mok::shell {

class PreferencesWindow final : public QDialog {
 public:
  // How long a preview plays.
  static constexpr int kPreviewMs = 15000;

  PreferencesWindow(const PreferencesDialog& state, PreferencesBrowser& browser, Prompter& prompter,
                    QWidget* parent = nullptr);
  ~PreferencesWindow() override;
  // The values as accepted; valid after OK.
  const PreferencesDialog& state() const { return state_; }
  void accept() override;
  void done(int result) override;
  // Whether a preview is timed: a sound was chosen (heard where there is an
  // audio output) and its 15 seconds are not over.
  bool previewing() const;

 private:
  void EnableWavRow(int index);
  void Preview(int index);
  void EndPreview();
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
  QCheckBox* scriptSkins_;
  QTimer* preview_;
};

}  // namespace mok::shell
