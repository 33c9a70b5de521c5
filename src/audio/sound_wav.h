#pragma once
#include "sound_bank.h"

#include <string>

namespace hunt {

// Reads a PCM WAV file (8 or 16 bits, mono or stereo) into an unnamed, unlooped item.
// Throws HuntError naming the file when it is missing or not such a file.
SoundItem readWavFile(const std::string &path);

// Writes an item's wave as a PCM WAV file. Throws HuntError on failure.
void writeWavFile(const std::string &path, const SoundItem &item);

} // namespace hunt
