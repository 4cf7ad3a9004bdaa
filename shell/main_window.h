#pragma once
// The main window: the side lists (frames, render modes, textures) above the
// 3D view, the "MOK-Refresh" handling, and the question before quitting.

#include <QComboBox>
#include <QMainWindow>
#include <QToolBar>

#include "core/application.h"
#include "shell/iso_view_widget.h"
#include "panes/painting.h"

namespace mok::shell {

class MainWindow final : public QMainWindow {
  Q_OBJECT
 public:
  explicit MainWindow(Application& app);

  // Refills the side lists from the document and reselects the current entries.
  void refillLists();
  // "MOK-Refresh": renders the named panes with the kind, then repaints them.
  void refresh(int paneBits, int kind);
  IsoViewWidget& isoView() { return *isoView_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void chooseFrame(int index);
  void chooseMode(int index);
  void chooseTexture(int index);
  void buildMenus();
  // Paint Mode (0) and Mapping Mode (1); choosing the current one does nothing.
  void ChooseEditMode(int mode);
  // The number keys: 1..9, 0 choose channels 0..9; with Shift the skin Open
  // dialog follows for that channel.
  void addChannelKeys();

  Application& app_;
  Painter painter_;
  IsoViewWidget* isoView_;
  QToolBar* toolBar_;
  QComboBox* framesList_;
  QComboBox* modesList_;
  QComboBox* texturesList_;
  double splitFraction_;
};

}  // namespace mok::shell
