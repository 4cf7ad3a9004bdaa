#pragma once
// Which intro sound plays: the setting "Intro Number" chooses one of the
// seven built-in clips (0..6), a random one of them (7) or the custom WAV
// file of "Intro WAV" (8). The intro window and the Preferences preview
// choose alike.

#include <string>

#include "core/settings.h"
#include "panes/intro_picture.h"

namespace mok {

inline constexpr int kIntroClipCount = 7;
inline constexpr int kIntroRandomNumber = 7;
inline constexpr int kIntroCustomNumber = 8;

// The titles of the seven clips, in "Intro Number" order, for the
// Preferences list (followed there by "Random" and "Custom...").
inline constexpr const char* kIntroClipTitles[kIntroClipCount] = {
    "Crystal Drift", "Green Horizon", "Scanline Waltz", "Orbit Bells",
    "Wire Pulse",    "Phosphor Rain", "Night Lattice"};

struct IntroSound {
  enum class Kind { Silence, Clip, File };
  Kind kind = Kind::Silence;
  int clip = 0;      // 0..6 for Kind::Clip
  std::string path;  // the custom file for Kind::File
};

// Clips 0..6 as they are; 7 a random clip (random value mod 7); 8 the custom
// file when it can be opened for reading, else silence (a missing or
// unreadable file plays nothing and reports nothing); any other number
// silence.
IntroSound ChooseIntroSound(int introNumber, const std::string& customWav, IntroRandom& random);

// The sound the intro window plays, from "Intro Number" and "Intro WAV".
IntroSound ChooseIntroSound(const SettingsStore& settings, IntroRandom& random);

// Start-up shows the intro unless Ctrl is held or "Skip Intro" is 1.
bool ShouldShowIntro(const SettingsStore& settings, bool ctrlHeld);

}  // namespace mok
