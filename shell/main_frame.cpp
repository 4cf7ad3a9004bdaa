#include "shell/main_frame.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QSignalBlocker>

#include "app/map_lists.h"
#include "app/skin_commands.h"
#include "app/side_lists.h"
#include "app/window_rules.h"
#include "core/changes.h"
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

  InstallCommands();

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
  connect(framesList_, &QComboBox::currentIndexChanged, this, [this](int index) {
    app_.doc().SetCurrentFrame(index);
    Notify(app_, Change::Frame);
  });
  connect(textureListManager_->texturesList(), &QComboBox::currentIndexChanged, this,
          [this](int index) { SelectChannel(app_, index); });
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
  UpdateTitle();
}

// Every refresh may follow a change, so the asterisk is checked with each.
// A watcher keeps the title the session link gave it.
void MainFrame::UpdateTitle() {
  if (app_.flags.watching != 0) return;
  const QString title = QString::fromStdString(WindowTitle(app_.currentFile, app_.history.Modified()));
  if (windowTitle() != title) setWindowTitle(title);
}

void MainFrame::HandleRefresh(const RefreshRequest& request) {
  shell_->HandleRefresh(request);
  UpdateTitle();
}

void MainFrame::closeEvent(QCloseEvent* event) {
  if (ConfirmClose(app_, shell_->SplitFraction())) {
    event->accept();
  } else {
    event->ignore();
  }
}

void MainFrame::InstallCommands() {
  commandTable_ = std::make_unique<CommandTable>(app_);
  commandTable_->AttachViews(&shell_->isoBox().view(), &shell_->skinBox().view());
  commandMenus_ = &InstallCommandMenus(*this, *commandTable_, {[this] { shell_->SwapDisplays(); }}, toolBar_);
  // Preferences may have moved the palette strip: "Pal On Top" at once.
  connect(commandMenus_, &CommandMenus::commandDone, this, [this](int id) {
    if (id == kCommandPreferences) shell_->SetPalOnTop(Read(app_.settings, setting::PalOnTop));
  });
  shell_->skinBox().SetContextMenu(commandMenus_->contextMenu("SkinBox"));
  shell_->isoBox().SetContextMenu(commandMenus_->contextMenu("IsoBox"));
}

}  // namespace mok::shell
