#pragma once
#include "runtime/errors.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hunt {

// One sound of the bank: a name, how it plays, and its PCM wave.
struct SoundItem {
    std::string name;            // Windows-1250, 1 to 255 bytes, found without regard to case
    bool looped = false;         // plays round and round until stopped
    uint16_t maxPlaying = 1;     // how many copies may sound at once (1 or more)
    uint32_t sampleRate = 44100; // frames per second of the recording
    uint16_t channels = 1;       // 1 or 2
    uint16_t bitsPerSample = 16; // 8 (unsigned) or 16 (signed, little-endian)
    std::vector<uint8_t> data;   // interleaved samples, whole frames, at least one

    std::size_t frameBytes() const { return std::size_t{channels} * (bitsPerSample / 8u); }
    std::size_t frames() const { return frameBytes() ? data.size() / frameBytes() : 0; }
};

// The sound bank file, sounds.dat: its items in file order. The byte layout is described in
// docs/sound-bank.md.
struct SoundBank {
    std::vector<SoundItem> items;
};

// Item names are found without regard to the case of ASCII letters.
inline bool sameItemName(std::string_view a, std::string_view b) {
    auto lower = [](char c) {
        return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](char x, char y) { return lower(x) == lower(y); });
}

// The bank file does not exist.
class SoundBankMissing : public HuntError {
public:
    explicit SoundBankMissing(const std::string &fileName)
        : HuntError("Can't find the file " + fileName), fileName_(fileName) {}
    const std::string &fileName() const { return fileName_; }

private:
    std::string fileName_;
};

// Limits a reader enforces before trusting any count or length of a bank.
inline constexpr uint16_t soundBankVersion = 1;
inline constexpr std::size_t soundBankMaxItems = 4096;
inline constexpr std::size_t soundBankMaxFileBytes = 256u * 1024u * 1024u;

// Parses a whole bank held in memory. Throws HuntError naming fileName when the bytes are not
// a valid bank (empty, truncated, oversized, wrong magic or version, impossible values).
SoundBank parseSoundBank(const uint8_t *bytes, std::size_t size, const std::string &fileName);

// Reads a bank file. Throws SoundBankMissing when it does not exist, HuntError when it
// cannot be read or is not a valid bank.
SoundBank readSoundBankFile(const std::string &path);

// The bytes of a bank file. Throws HuntError when an item breaks the limits above.
std::vector<uint8_t> serializeSoundBank(const SoundBank &bank);

// Writes a bank file (through a temporary file renamed over it, so a failed write leaves an
// existing bank intact). Throws HuntError on failure.
void writeSoundBankFile(const std::string &path, const SoundBank &bank);

// Checks one item against the limits of the format; throws HuntError naming the item.
void validateSoundItem(const SoundItem &item);

} // namespace hunt
