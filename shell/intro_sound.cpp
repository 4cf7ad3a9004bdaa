// The intro sound player (see intro_sound.h).

#include "shell/intro_sound.h"

#include <QAudioDevice>
#include <QCoreApplication>
#include <QFile>
#include <QMediaDevices>
#include <QSoundEffect>
#include <QUrl>
#include <chrono>

namespace mok::shell {
namespace {

QString ClipResource(int clip) { return QStringLiteral(":/sounds/intro_%1.wav").arg(clip); }

// Made on the first play, once a QApplication exists; a child of it.
QSoundEffect* player = nullptr;

QSoundEffect* Player() {
  if (player == nullptr) {
    player = new QSoundEffect(QCoreApplication::instance());
    player->setLoopCount(QSoundEffect::Infinite);
    QObject::connect(player, &QObject::destroyed, [] { player = nullptr; });
  }
  return player;
}

bool HasAudioOutput() { return !QMediaDevices::defaultAudioOutput().isNull(); }

}  // namespace

bool PlayIntroSound(const IntroSound& sound) {
  StopIntroSound();
  QUrl source;
  if (sound.kind == IntroSound::Kind::Clip && QFile::exists(ClipResource(sound.clip)))
    source = QUrl(QStringLiteral("qrc") + ClipResource(sound.clip));
  else if (sound.kind == IntroSound::Kind::File)
    source = QUrl::fromLocalFile(QString::fromStdString(sound.path));
  if (source.isEmpty() || !HasAudioOutput()) return false;
  QSoundEffect* player = Player();
  player->setSource(source);
  player->play();
  return true;
}

bool PlayIntroSound(int introNumber, const std::string& customWav) {
  static IntroRandom random(static_cast<std::uint32_t>(
      std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count()));
  const IntroSound sound = ChooseIntroSound(introNumber, customWav, random);
  PlayIntroSound(sound);
  return sound.kind != IntroSound::Kind::Silence;
}

void StopIntroSound() {
  if (player != nullptr) player->stop();
}

}  // namespace mok::shell
