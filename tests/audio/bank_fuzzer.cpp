// Feeds arbitrary bytes to the sound bank reader: it must answer with a bank or a HuntError.
#include "audio/sound_bank.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    try {
        const hunt::SoundBank bank = hunt::parseSoundBank(data, size, "fuzz.dat");
        (void)hunt::serializeSoundBank(bank);
    } catch (const hunt::HuntError &) {
    }
    return 0;
}
