#pragma once
#include "sound_bank.h"

#include <string>

namespace hunt {

// Builds a bank from a recipe: tone timbres and short synthesized sounds (the statements are
// described at the top of data/sounds.recipe). Throws HuntError naming the file and line.
SoundBank generateSoundBank(const std::string &recipePath);
SoundBank generateSoundBankFromText(const std::string &recipe, const std::string &fileName);

// Samples in one period of a tone item: a tone sounds at f when its item plays at 64 f.
inline constexpr int tonePeriodSamples = 64;
// The most harmonics a timbre may have.
inline constexpr int toneMaxHarmonics = 10;

} // namespace hunt
