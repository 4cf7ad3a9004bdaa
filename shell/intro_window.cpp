// The intro window (see intro_window.h).

#include "shell/intro_window.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <chrono>

#include "app/intro_sound.h"
#include "shell/intro_sound.h"

namespace mok::shell {
namespace {

std::uint32_t SecondsNow() {
  return static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count());
}

}  // namespace

IntroWindow::IntroWindow(RasterContext& raster, const SettingsStore& settings, int durationMs)
    : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      raster_(raster),
      settings_(settings),
      durationMs_(durationMs),
      random_(SecondsNow()),
      image_(reinterpret_cast<const uchar*>(picture_.pixels.data()), kIntroWidth, kIntroHeight,
             kIntroWidth * 2, QImage::Format_RGB555) {
  setFixedSize(kIntroWidth, kIntroHeight);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setCursor(Qt::ArrowCursor);
  setFocusPolicy(Qt::StrongFocus);
  frameTimer_.setInterval(kIntroFramePauseMs);
  connect(&frameTimer_, &QTimer::timeout, this, &IntroWindow::nextFrame);
}

IntroWindow::~IntroWindow() { end(); }

void IntroWindow::play() {
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    move(screen->geometry().center() - QPoint(kIntroWidth / 2, kIntroHeight / 2));
  show();
  raise();
  activateWindow();
  picture_.playing = 1;
  PlayIntroSound(ChooseIntroSound(settings_, random_));
  clock_.start();
  nextFrame();
  frameTimer_.start();
  QEventLoop loop;
  connect(this, &IntroWindow::finished, &loop, &QEventLoop::quit);
  if (!ended_) loop.exec();
}

void IntroWindow::nextFrame() {
  const std::int64_t elapsed = clock_.elapsed();
  SetIntroTime(picture_, elapsed);
  RenderIntroFrame(raster_, picture_, random_);
  update();
  if (elapsed > durationMs_) end();
}

void IntroWindow::end() {
  if (ended_) return;
  ended_ = true;
  frameTimer_.stop();
  StopIntroSound();
  hide();
  emit finished();
}

void IntroWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, image_);
}

void IntroWindow::keyPressEvent(QKeyEvent*) { end(); }

void IntroWindow::mousePressEvent(QMouseEvent*) { end(); }

bool IntroWindow::event(QEvent* event) {
  if (event->type() == QEvent::WindowDeactivate) end();
  return QWidget::event(event);
}

void ShowIntro(RasterContext& raster, const SettingsStore& settings, bool ctrlHeld) {
  if (!ShouldShowIntro(settings, ctrlHeld)) return;
  IntroWindow window(raster, settings);
  window.play();
}

}  // namespace mok::shell
