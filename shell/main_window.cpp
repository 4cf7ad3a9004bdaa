#include "shell/main_window.h"

#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QToolBar>

#include "core/channels.h"
#include "app/file_commands.h"
#include "app/md2_command.h"
#include "app/skin_commands.h"
#include "render/render_state.h"

namespace mok::shell {

namespace {
constexpr const char* kQuitQuestion = "All Unsaved data will be lost...\nAre you sure you want to quit?";

QComboBox* AddList(QToolBar* bar, const char* caption) {
  bar->addWidget(new QLabel(QString(" %1 ").arg(caption)));
  auto* list = new QComboBox;
  list->setMinimumWidth(128);
  list->setSizeAdjustPolicy(QComboBox::AdjustToContents);
  bar->addWidget(list);
  return list;
}

}  // namespace

MainWindow::MainWindow(Application& app) : app_(app), painter_(app) {
  setMinimumSize(516, 360);
  resize(900, 640);
  splitFraction_ = ReadSplitterFraction(app_.settings);

  QToolBar* bar = toolBar_ = addToolBar("Main Toolbar");
  bar->setMovable(false);
  texturesList_ = AddList(bar, "Textures");
  framesList_ = AddList(bar, "Frames");
  modesList_ = AddList(bar, "Modes");
  RenderState& render = RenderStateOf(app_);
  for (const auto& mode : render.modes) modesList_->addItem(mode->name());

  isoView_ = new IsoViewWidget(app_, painter_, this);
  setCentralWidget(isoView_);

  buildMenus();
  addChannelKeys();

  connect(framesList_, &QComboBox::currentIndexChanged, this, &MainWindow::chooseFrame);
  connect(modesList_, &QComboBox::currentIndexChanged, this, &MainWindow::chooseMode);
  connect(texturesList_, &QComboBox::currentIndexChanged, this, &MainWindow::chooseTexture);
}

void MainWindow::buildMenus() {
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
  connect(options, &QMenu::aboutToShow, this, [this, camera, paint, mapping] {
    camera->setChecked(app_.flags.cameraActive != 0);
    paint->setChecked(app_.flags.editMode == 0);
    mapping->setChecked(app_.flags.editMode == 1);
  });
  // The camera toggle is also a toolbar button, as in camera mode's set.
  toolBar_->insertAction(toolBar_->actions().value(0), camera);

  QMenu* skins = menuBar()->addMenu("&Skins");
  skins->addAction("&Open", QKeySequence("Shift+O"), this, [this] { SkinOpen(app_); });
  skins->addAction("&Close/Delete", QKeySequence("Shift+D"), this, [this] { SkinCloseDelete(app_); });
  skins->addAction("&Save", QKeySequence("Shift+S"), this, [this] { SkinSave(app_); });
  skins->addAction("Save &As", QKeySequence("Shift+A"), this, [this] { SkinSaveAs(app_); });
  skins->addAction("R&eload", QKeySequence("F5"), this, [this] { SkinReload(app_); });
}

void MainWindow::ChooseEditMode(int mode) {
  if (app_.flags.editMode == mode) return;
  app_.flags.editMode = mode;
  app_.doc().NotifyMeshChanged();
}

void MainWindow::addChannelKeys() {
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

void MainWindow::refillLists() {
  QSignalBlocker blockFrames(framesList_), blockModes(modesList_), blockTextures(texturesList_);
  const MeshDocument& doc = app_.doc();
  framesList_->clear();
  for (const auto& frame : doc.frames) framesList_->addItem(QString::fromStdString(frame->name));
  framesList_->setCurrentIndex(doc.currentFrame);
  texturesList_->clear();
  // The texture list shows slot names with '/' separators.
  for (const std::string& line : ChannelListLines(doc)) texturesList_->addItem(QString::fromStdString(line).replace('\\', '/'));
  texturesList_->setCurrentIndex(doc.activeChannel < 0 ? 0 : doc.activeChannel);
  modesList_->setCurrentIndex(RenderStateOf(app_).currentMode);
  // A watcher keeps the title the session link gave it.
  if (app_.flags.watching == 0) setWindowTitle(QString("MOK - %1").arg(QString::fromStdString(app_.currentFile)));
}

void MainWindow::refresh(int paneBits, int kind) {
  if ((paneBits & kPaneIsoView) == 0) return;
  if (paneBits & kRepaintWithoutRender) {
    isoView_->update();
  } else {
    isoView_->Render(kind, paneBits);
  }
}

void MainWindow::chooseFrame(int index) { app_.doc().SetCurrentFrame(index); }

void MainWindow::chooseMode(int index) {
  if (!SelectRenderMode(app_, &isoView_->view().frame(), index)) {
    QSignalBlocker block(modesList_);
    modesList_->setCurrentIndex(RenderStateOf(app_).currentMode);
  }
}

void MainWindow::chooseTexture(int index) { SelectChannel(app_.doc(), index); }

void MainWindow::closeEvent(QCloseEvent* event) {
  // Written before the question, whatever the answer.
  WriteSplitterFraction(app_.settings, splitFraction_);
  for (int i = 0; i < 8; ++i) WriteCustomColor(app_.settings, i, app_.customColors[static_cast<std::size_t>(i)]);
  if (Read(app_.settings, setting::QuickExit) == 1 ||
      app_.prompter.Ask(kQuitQuestion, Buttons::YesNo, MessageIcon::Question) == Answer::Yes) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace mok::shell
