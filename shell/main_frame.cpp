#include "shell/main_frame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QSignalBlocker>

#include "app/file_commands.h"
#include "app/map_lists.h"
#include "app/md2_command.h"
#include "app/side_lists.h"
#include "app/skin_commands.h"
#include "app/window_rules.h"
#include "core/channels.h"
#include "render/render_state.h"
#include "shell/list_icons.h"

namespace mok::shell {
namespace {

// One band of the rebar: a tool bar with the band's text before its child.
QToolBar* AddBand(QMainWindow& frame, const char* text, QWidget* child) {
  QToolBar* band = frame.addToolBar(text);
  band->setObjectName(text);
  band->addWidget(new QLabel(QString(" %1 ").arg(text)));
  band->addWidget(child);
  return band;
}

QComboBox* MakeSideList(const char* name, const char* prompt) {
  auto* list = new QComboBox;
  list->setObjectName(name);
  list->setStatusTip(prompt);
  list->setToolTip(prompt);
  list->setMinimumWidth(128);
  list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  list->setFocusPolicy(Qt::NoFocus);  // the keys stay with the window's commands
  return list;
}

void FillList(QComboBox& list, const std::vector<std::string>& lines, int selected) {
  list.clear();
  for (const std::string& line : lines) list.addItem(QString::fromStdString(line));
  list.setCurrentIndex(selected);
}

}  // namespace

MainFrame::MainFrame(Application& app) : app_(app) {
  setMinimumSize(kMinFrameWidth, kMinFrameHeight);
  resize(900, 640);
  setWindowTitle(kProgramTitle);
  BuildRebar();
  shell_ = new ShellWindow(app_, ReadSplitterFraction(app_.settings), this);
  shell_->setFocusPolicy(Qt::StrongFocus);
  setCentralWidget(shell_);
  setFocusProxy(shell_);
  ConnectSideLists();

  // InstallCommandMenus(...) replaces this call once the command table lands.
  BuildInterimMenus();

  connect(qApp, &QGuiApplication::applicationStateChanged, this, [this](Qt::ApplicationState state) {
    if (state == Qt::ApplicationActive) AutoReloadOnActivation(app_);
  });
}

void MainFrame::BuildRebar() {
  toolBar_ = addToolBar("Main Toolbar");
  toolBar_->setObjectName("Main Toolbar");
  textureListManager_ = new TextureListManager;
  AddBand(*this, "Textures", textureListManager_);
  addToolBarBreak();
  framesList_ = MakeSideList("framesList", "Current List of Frames");
  AddBand(*this, "Frames", framesList_);
  modesList_ = MakeSideList("modesList", "Current List of Rendering Modes");
  for (const auto& mode : RenderStateOf(app_).modes) modesList_->addItem(mode->name());
  AddBand(*this, "Modes", modesList_);
}

void MainFrame::ConnectSideLists() {
  connect(framesList_, &QComboBox::currentIndexChanged, this, [this](int index) { app_.doc().SetCurrentFrame(index); });
  connect(textureListManager_->texturesList(), &QComboBox::currentIndexChanged, this,
          [this](int index) { SelectChannel(app_.doc(), index); });
  connect(textureListManager_->phongMapsList(), &QComboBox::currentIndexChanged, this,
          [this](int index) { SelectMap(app_, MapKind::Phong, index); });
  connect(textureListManager_->envMapsList(), &QComboBox::currentIndexChanged, this,
          [this](int index) { SelectMap(app_, MapKind::Environment, index); });
  connect(modesList_, &QComboBox::currentIndexChanged, this, &MainFrame::ChooseMode);
}

void MainFrame::ChooseMode(int index) {
  switch (ChooseRenderMode(app_, &shell_->isoBox().view().frame(), index)) {
    case ModeChoice::Unchanged: break;
    case ModeChoice::Switched: textureListManager_->LayOut(CurrentModeNeeds(app_)); break;
    case ModeChoice::Refused: {
      QSignalBlocker block(modesList_);
      modesList_->setCurrentIndex(RenderStateOf(app_).currentMode);
      break;
    }
  }
}

void MainFrame::FillSideLists() {
  QComboBox* textures = textureListManager_->texturesList();
  QComboBox* phong = textureListManager_->phongMapsList();
  QComboBox* env = textureListManager_->envMapsList();
  QSignalBlocker b1(framesList_), b2(textures), b3(phong), b4(env), b5(modesList_);
  const SideListContents lists = SideListsOf(app_);
  FillList(*framesList_, lists.frames, lists.frame);
  textures->clear();
  for (const TextureListEntry& entry : lists.textures)
    textures->addItem(TextureListIcon(entry.icon), QString::fromStdString(entry.text));
  textures->setCurrentIndex(lists.texture);
  FillList(*phong, lists.phongMaps, lists.phongMap);
  FillList(*env, lists.envMaps, lists.envMap);
  modesList_->setCurrentIndex(lists.mode);
  textureListManager_->LayOut(CurrentModeNeeds(app_));
  setWindowTitle(QString::fromStdString(WindowTitle(app_.currentFile)));
}

void MainFrame::HandleRefresh(int paneBits, int kind) { shell_->HandleRefresh(paneBits, kind); }

void MainFrame::closeEvent(QCloseEvent* event) {
  if (ConfirmClose(app_, shell_->SplitFraction())) {
    event->accept();
  } else {
    event->ignore();
  }
}

// ---- Menus until the command table ----

void MainFrame::BuildInterimMenus() {
  QMenu* file = menuBar()->addMenu("&File");
  file->addAction("&Open...", QKeySequence("Ctrl+O"), this, [this] { FileOpen(app_); });
  file->addAction("&Save", QKeySequence("Ctrl+S"), this, [this] { FileSave(app_); });
  file->addAction("Save &As...", QKeySequence("Ctrl+A"), this, [this] { FileSaveAs(app_); });
  QMenu* import = file->addMenu("Import");
  import->addAction("Quake2 MD2", this, [this] { ImportQuake2Md2(app_); });
  file->addSeparator();
  file->addAction("E&xit", this, &QWidget::close);

  QMenu* options = menuBar()->addMenu("&Options");
  QAction* camera = options->addAction("Camera Toggle", QKeySequence("Space"), this, [this] {
    app_.flags.cameraActive = app_.flags.cameraActive ? 0 : 1;
    app_.doc().NotifyMeshChanged();
  });
  camera->setCheckable(true);
  camera->setToolTip("Camera Active Toggle");
  camera->setStatusTip("Sets Camera Interaction Mode");
  QAction* paint = options->addAction("Paint Mode", QKeySequence("P"), this, [this] { ChooseEditMode(0); });
  QAction* mapping = options->addAction("Mapping Mode", QKeySequence("Q"), this, [this] { ChooseEditMode(1); });
  paint->setCheckable(true);
  mapping->setCheckable(true);
  options->addAction("Swap Displays", this, [this] { shell_->SwapDisplays(); });
  connect(options, &QMenu::aboutToShow, this, [this, camera, paint, mapping] {
    camera->setChecked(app_.flags.cameraActive != 0);
    paint->setChecked(app_.flags.editMode == 0);
    mapping->setChecked(app_.flags.editMode == 1);
  });
  toolBar_->addAction(camera);

  QMenu* skins = menuBar()->addMenu("&Skins");
  skins->addAction("&Open", QKeySequence("Shift+O"), this, [this] { SkinOpen(app_); });
  skins->addAction("&Close/Delete", QKeySequence("Shift+D"), this, [this] { SkinCloseDelete(app_); });
  skins->addAction("&Save", QKeySequence("Shift+S"), this, [this] { SkinSave(app_); });
  skins->addAction("Save &As", QKeySequence("Shift+A"), this, [this] { SkinSaveAs(app_); });
  skins->addAction("R&eload", QKeySequence("F5"), this, [this] { SkinReload(app_); });
  QAction* autoReload = skins->addAction("Auto-Reload", this, [this] { SkinToggleAutoReload(app_); });
  autoReload->setCheckable(true);
  connect(skins, &QMenu::aboutToShow, this, [this, autoReload] { autoReload->setChecked(app_.flags.autoReload != 0); });
  AddChannelKeys();
}

void MainFrame::ChooseEditMode(int mode) {
  if (app_.flags.editMode == mode) return;
  app_.flags.editMode = mode;
  app_.doc().NotifyMeshChanged();
}

void MainFrame::AddChannelKeys() {
  for (char digit = '0'; digit <= '9'; ++digit) {
    for (bool shift : {false, true}) {
      std::optional<ChannelKey> key = ChannelForKey(digit, shift);
      if (!key) continue;
      // Shift+digit arrives as the shifted character on most layouts, so
      // match the physical key with its modifier.
      QKeySequence sequence((shift ? Qt::ShiftModifier : Qt::NoModifier) | Qt::Key(Qt::Key_0 + (digit - '0')));
      auto* shortcut = new QShortcut(sequence, this);
      connect(shortcut, &QShortcut::activated, this, [this, key] {
        if (SelectChannel(app_.doc(), key->channel) && key->thenOpenSkin) SkinOpen(app_);
      });
    }
  }
}

}  // namespace mok::shell
