#include "shell/preferences_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "shell/dialog_support.h"
#include "shell/intro_sound.h"

namespace mok::shell {
namespace {

QPushButton* BrowseButton(const char* name) {
  auto* button = new QPushButton(QStringLiteral("..."));
  button->setObjectName(QString::fromLatin1(name));
  button->setAutoDefault(false);
  return button;
}

// A label over an edit and its "..." button.
QLineEdit* AddPathRow(QBoxLayout& layout, const char* label, const char* name, const std::string& path,
                      QPushButton* browse) {
  layout.addWidget(new QLabel(QString::fromLatin1(label)));
  auto* row = new QHBoxLayout;
  auto* edit = new QLineEdit(QString::fromStdString(path));
  edit->setObjectName(QString::fromLatin1(name));
  row->addWidget(edit);
  row->addWidget(browse);
  layout.addLayout(row);
  return edit;
}

// The seven clip titles, then "Random" and "Custom...".
void FillIntroList(QComboBox& list) {
  for (const char* title : kIntroClipTitles) list.addItem(QString::fromLatin1(title));
  list.addItem(QStringLiteral("Random"));
  list.addItem(QStringLiteral("Custom..."));
}

}  // namespace

PreferencesWindow::PreferencesWindow(const PreferencesDialog& state, PreferencesBrowser& browser, Prompter& prompter,
                                     QWidget* parent)
    : QDialog(parent), state_(state), browser_(browser), prompter_(prompter) {
  SetUpDialog(*this, "Preferences");
  auto* layout = new QVBoxLayout(this);

  auto* introGroup = new QGroupBox(QStringLiteral("Intro Settings"));
  auto* introLayout = new QVBoxLayout(introGroup);
  intro_ = new QComboBox;
  FillIntroList(*intro_);
  intro_->setCurrentIndex(state.introNumber);
  introLayout->addWidget(intro_);
  skipIntro_ = AddCheck(*introLayout, "Skip intro", state.skipIntro);
  wavBrowse_ = BrowseButton("wavBrowse");
  wav_ = AddPathRow(*introLayout, "Custom Intro .WAV:", "introWav", state.introWav, wavBrowse_);
  layout->addWidget(introGroup);

  auto* skinGroup = new QGroupBox(QStringLiteral("Defaut Channel Settings"));
  auto* skinLayout = new QVBoxLayout(skinGroup);
  auto* sizes = new QGridLayout;
  skinLayout->addLayout(sizes);
  width_ = AddField(*sizes, QStringLiteral("Width:"), "width", QString::number(state.skinWidth));
  height_ = AddField(*sizes, QStringLiteral("Height:"), "height", QString::number(state.skinHeight));
  skinLayout->addWidget(new QLabel(QStringLiteral("Grid Size:")));
  grid_ = AddRadios(*this, *skinLayout, {"2x2", "4x4", "8x8"}, state.grid);
  layout->addWidget(skinGroup);

  auto* phongBrowse = BrowseButton("phongBrowse");
  phong_ = AddPathRow(*layout, "Default Phong Map Folder:", "phongPath", state.phongPath, phongBrowse);
  auto* envBrowse = BrowseButton("envBrowse");
  env_ = AddPathRow(*layout, "Default Environment Map Folder:", "envPath", state.envPath, envBrowse);

  auto* miscGroup = new QGroupBox(QStringLiteral("Misc"));
  auto* miscLayout = new QVBoxLayout(miscGroup);
  quickExit_ = AddCheck(*miscLayout, "Quick Exit", state.quickExit);
  palOnTop_ = AddCheck(*miscLayout, "Color Picker On Top", state.palOnTop);
  customCursors_ = AddCheck(*miscLayout, "Use Custom Mouse Cursors", state.customCursors);
  scriptSkins_ = AddCheck(*miscLayout, "Load skins named by the package scripts", state.loadScriptSkins);
  layout->addWidget(miscGroup);
  AddOkCancel(*this, *layout);

  preview_ = new QTimer(this);
  preview_->setSingleShot(true);
  preview_->setInterval(kPreviewMs);
  connect(preview_, &QTimer::timeout, this, [] { StopIntroSound(); });
  // Opening selects the stored entry without a preview.
  EnableWavRow(state.introNumber);
  connect(intro_, &QComboBox::currentIndexChanged, this, [this](int index) { Preview(index); });
  connect(wavBrowse_, &QPushButton::clicked, this, [this] { BrowseWav(); });
  connect(phongBrowse, &QPushButton::clicked, this, [this] { BrowseFolder(MapFolderKind::Phong, phong_); });
  connect(envBrowse, &QPushButton::clicked, this, [this] { BrowseFolder(MapFolderKind::Environment, env_); });
}

PreferencesWindow::~PreferencesWindow() { EndPreview(); }

void PreferencesWindow::EnableWavRow(int index) {
  const bool custom = index == kIntroCustomNumber;
  wav_->setEnabled(custom);
  wavBrowse_->setEnabled(custom);
}

// Stops what plays; a chosen sound (a clip, a random one, or a custom file
// that opens) plays looping and is stopped again after kPreviewMs.
void PreferencesWindow::Preview(int index) {
  EnableWavRow(index);
  preview_->stop();
  if (PlayIntroSound(index, wav_->text().toStdString())) preview_->start();
}

void PreferencesWindow::EndPreview() {
  if (!preview_->isActive()) return;
  preview_->stop();
  StopIntroSound();
}

bool PreferencesWindow::previewing() const { return preview_->isActive(); }

void PreferencesWindow::done(int result) {
  EndPreview();
  QDialog::done(result);
}

void PreferencesWindow::BrowseFolder(MapFolderKind kind, QLineEdit* shown) {
  if (std::optional<std::string> folder = browser_.BrowseMapFolder(kind)) shown->setText(QString::fromStdString(*folder));
}

void PreferencesWindow::BrowseWav() {
  if (std::optional<std::string> wav = browser_.BrowseIntroWav()) wav_->setText(QString::fromStdString(*wav));
}

void PreferencesWindow::accept() {
  FieldCheck check(prompter_);
  const std::optional<int> width = check.Integer(*width_, kPreferencesSkinMin, kPreferencesSkinMax);
  const std::optional<int> height = check.Integer(*height_, kPreferencesSkinMin, kPreferencesSkinMax);
  if (!check.ok()) return;
  state_.introNumber = intro_->currentIndex();
  state_.skipIntro = skipIntro_->isChecked();
  state_.introWav = wav_->text().toStdString();
  state_.skinWidth = *width;
  state_.skinHeight = *height;
  state_.grid = grid_->checkedId();
  state_.phongPath = phong_->text().toStdString();
  state_.envPath = env_->text().toStdString();
  state_.quickExit = quickExit_->isChecked();
  state_.palOnTop = palOnTop_->isChecked();
  state_.customCursors = customCursors_->isChecked();
  state_.loadScriptSkins = scriptSkins_->isChecked();
  QDialog::accept();
}

}  // namespace mok::shell
