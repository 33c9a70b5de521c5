#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace hunt {

// The embedded speech engine's small interface: a voice source lists voices in a fixed order
// and opens an engine for one of them; the engine queues texts, reports the start and end of
// its audio to a registered notify sink and has speed, pitch and volume in its own units.

// Receives the engine's notifications, always on the UI thread.
class TtsNotifySink {
public:
    virtual ~TtsNotifySink() = default;
    virtual void AttribChanged(uint32_t attribute) = 0;
    virtual void AudioStart(uint64_t timestamp) = 0; // the engine's audio has started
    virtual void AudioStop(uint64_t timestamp) = 0;  // the last sample has been played
};

// One voice of a voice source: what a voice list shows and what opens an engine.
struct TtsModeInfo {
    std::string modeId;   // identifies the voice within its source
    std::string modeName; // shown in the voice list, Windows-1250
};

enum class TtsAttribute { speed, pitch, volume };

// An engine opened for one voice. Called on the UI thread only.
class TtsEngine {
public:
    virtual ~TtsEngine() = default;
    // Queues a Windows-1250 text and returns at once; texts are spoken in order.
    virtual void textData(const std::string &text) = 0;
    // Empties the queue and silences the current text at once; AudioStop follows if audio was
    // playing.
    virtual void audioReset() = 0;
    // Applies control tags: \Spd=n\, \Pit=n\, \Vol=n\ (n decimal, in the engine's units; the
    // volume is 16-bit). Other text is ignored.
    virtual void inject(const std::string &tags) = 0;
    // The sink receives AudioStart and AudioStop until unregistered with the returned key.
    virtual uint32_t registerSink(TtsNotifySink *sink) = 0;
    virtual void unregisterSink(uint32_t key) = 0;
    // The attribute's value, or nothing when the engine does not support it.
    virtual std::optional<uint32_t> attributeGet(TtsAttribute attribute) const = 0;
    // Stores the nearest allowed value; false when the attribute is not supported.
    virtual bool attributeSet(TtsAttribute attribute, uint32_t value) = 0;
};

// The voices on offer, always in the same order.
class TtsVoiceSource {
public:
    virtual ~TtsVoiceSource() = default;
    virtual std::vector<TtsModeInfo> modes() const = 0;
    // Opens an engine for the mode; throws HuntError when that fails.
    virtual std::unique_ptr<TtsEngine> select(const TtsModeInfo &mode) = 0;
};

} // namespace hunt
