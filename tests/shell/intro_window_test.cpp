// The intro window on the offscreen platform: a key or a mouse press ends
// it, so does its time; a custom WAV that is not there neither blocks nor
// plays; the built-in clips are in the program.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QTest>
#include <QTimer>

#include "core/settings.h"
#include "shell/intro_sound.h"
#include "shell/intro_window.h"

namespace mok::shell {
namespace {

// Plays an intro and returns how long play() took; `act` runs on the window
// once it shows.
template <class Act>
qint64 PlayFor(const SettingsStore& settings, int durationMs, Act act) {
  RasterContext raster;
  IntroWindow window(raster, settings, durationMs);
  QTimer::singleShot(50, &window, [&window, act] { act(window); });
  QElapsedTimer clock;
  clock.start();
  window.play();
  EXPECT_TRUE(window.ended());
  EXPECT_FALSE(window.isVisible());
  return clock.elapsed();
}

TEST(IntroWindow, KeyOrMousePressEndsIt) {
  MemorySettings settings;
  EXPECT_LT(PlayFor(settings, 20000, [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Space); }), 5000);
  EXPECT_LT(PlayFor(settings, 20000, [](QWidget& w) { QTest::mouseClick(&w, Qt::RightButton); }), 5000);
}

TEST(IntroWindow, EndsByItselfAfterItsTime) {
  MemorySettings settings;
  const qint64 took = PlayFor(settings, 300, [](QWidget& w) { EXPECT_TRUE(w.isVisible()); });
  EXPECT_GE(took, 300);
  EXPECT_LT(took, 5000);
}

TEST(IntroWindow, MissingCustomWavPlaysNothingAndDoesNotBlock) {
  MemorySettings settings;
  Write(settings, setting::IntroNumber, 8);
  Write(settings, setting::IntroWav, "/nonexistent/folder/intro.wav");
  EXPECT_FALSE(PlayIntroSound(8, "/nonexistent/folder/intro.wav"));
  EXPECT_FALSE(PlayIntroSound(8, "/tmp"));  // a folder is no file
  EXPECT_FALSE(PlayIntroSound(9, ""));
  EXPECT_LT(PlayFor(settings, 20000, [](QWidget& w) { QTest::keyClick(&w, Qt::Key_Escape); }), 5000);
}

TEST(IntroSound, SevenClipsAreBuiltIn) {
  for (int clip = 0; clip < kIntroClipCount; ++clip) {
    QFile file(QStringLiteral(":/sounds/intro_%1.wav").arg(clip));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << clip;
    EXPECT_EQ(file.read(4), QByteArray("RIFF"));
  }
  StopIntroSound();
}

TEST(IntroWindow, SkipIntroOrCtrlSkipsIt) {
  MemorySettings settings;
  EXPECT_TRUE(ShouldShowIntro(settings, false));
  EXPECT_FALSE(ShouldShowIntro(settings, true));
  Write(settings, setting::SkipIntro, 1);
  EXPECT_FALSE(ShouldShowIntro(settings, false));
}

}  // namespace
}  // namespace mok::shell
