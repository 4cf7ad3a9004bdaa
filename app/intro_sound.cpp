// Choosing the intro sound (see intro_sound.h).

#include "app/intro_sound.h"

#include "core/file_io.h"

namespace mok {

IntroSound ChooseIntroSound(int introNumber, const std::string& customWav, IntroRandom& random) {
  if (introNumber == kIntroRandomNumber) introNumber = random.Next() % kIntroClipCount;
  if (introNumber >= 0 && introNumber < kIntroClipCount) return {IntroSound::Kind::Clip, introNumber, {}};
  if (introNumber == kIntroCustomNumber && !customWav.empty() && CanOpenForReading(customWav))
    return {IntroSound::Kind::File, 0, customWav};
  return {};
}

IntroSound ChooseIntroSound(const SettingsStore& settings, IntroRandom& random) {
  return ChooseIntroSound(Read(settings, setting::IntroNumber), Read(settings, setting::IntroWav), random);
}

bool ShouldShowIntro(const SettingsStore& settings, bool ctrlHeld) {
  return !ctrlHeld && Read(settings, setting::SkipIntro) != 1;
}

}  // namespace mok
