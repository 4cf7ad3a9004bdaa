#pragma once
// The intro window: a borderless 320 x 240 window in the middle of the
// screen that shows the intro picture and plays the chosen intro sound
// until a key or mouse-button press, the window losing activation, or the
// end of its time (59.1 s). Start-up waits for it.

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>

#include "core/settings.h"
#include "panes/intro_picture.h"

namespace mok::shell {

class IntroWindow : public QWidget {
  Q_OBJECT

 public:
  // `raster` is the program's rasterizer context; the window draws with it
  // only between two of its own frames.
  IntroWindow(RasterContext& raster, const SettingsStore& settings, int durationMs = kIntroDurationMs);
  ~IntroWindow() override;

  // Shows the window centred, starts the sound and the animation, and
  // returns when the intro has ended (a nested event loop).
  void play();
  bool ended() const { return ended_; }

 signals:
  void finished();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  bool event(QEvent* event) override;

 private:
  void nextFrame();
  void end();

  RasterContext& raster_;
  const SettingsStore& settings_;
  int durationMs_;
  IntroPicture picture_;
  IntroRandom random_;
  QImage image_;  // wraps picture_.pixels
  QTimer frameTimer_;
  QElapsedTimer clock_;
  bool ended_ = false;
};

// Start-up's intro: plays it unless Ctrl is held or "Skip Intro" is 1.
void ShowIntro(RasterContext& raster, const SettingsStore& settings, bool ctrlHeld);

}  // namespace mok::shell
