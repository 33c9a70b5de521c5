#pragma once
#include "audio/pcm_stream.h"
#include "audio/tts_engine.h"
#include "runtime/event_loop.h"

#include <cstdint>
#include <memory>

namespace hunt {

// The embedded engine on espeak-ng. Its voice list starts with "Jakub" (the Czech voice),
// then Slovak, then the English voices, then every other voice espeak-ng has. Each engine
// synthesises on its own worker thread and plays through the PcmStream; AudioStart and
// AudioStop reach the registered sinks through the event loop.
//
// Units: speed in words per minute (80 to 450, 175 at first), pitch 0 to 100 (50), volume
// 16-bit 0 to 65535 (65535, espeak-ng's full volume).
struct EspeakUnits {
    static constexpr uint32_t speedMin = 80, speedMax = 450, speedDefault = 175;
    static constexpr uint32_t pitchMin = 0, pitchMax = 100, pitchDefault = 50;
    static constexpr uint32_t volumeMin = 0, volumeMax = 65535, volumeDefault = 65535;
};

// Throws HuntError when espeak-ng cannot be initialised (its data missing). loop and pcm must
// outlive the source and its engines.
std::unique_ptr<TtsVoiceSource> makeEspeakVoiceSource(EventLoop &loop, PcmStream &pcm);

// The sample rate of espeak-ng's PCM.
int espeakSampleRate();

} // namespace hunt
