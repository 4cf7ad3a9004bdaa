#pragma once
// The intro sounds through Qt Multimedia: one looping player for the whole
// program, used by the intro window and the Preferences preview. Playing is
// asynchronous; without an audio device nothing is heard and nothing waits.

#include <string>

#include "app/intro_sound.h"

namespace mok::shell {

// Stops what plays, then starts `sound` looping. False when nothing plays
// (silence, no audio output, or a clip that is not built in).
bool PlayIntroSound(const IntroSound& sound);

// Stops what plays, then plays what "Intro Number" `introNumber` and the
// custom file `customWav` choose (ChooseIntroSound; 7 picks a clip at
// random). True when a sound was chosen, heard or not (no audio output);
// false for silence, and then a preview starts no timer.
bool PlayIntroSound(int introNumber, const std::string& customWav);

void StopIntroSound();

}  // namespace mok::shell
