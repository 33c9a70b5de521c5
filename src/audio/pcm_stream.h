#pragma once
#include <cstddef>
#include <cstdint>

namespace hunt {

// Speech PCM on its way to the mixer. Every call is thread-safe: the synthesiser writes from
// its worker thread while the UI thread flushes.
class PcmStream {
public:
    virtual ~PcmStream() = default;
    // Queues mono signed 16-bit samples at the sample rate; playback starts at once.
    virtual void write(const int16_t *samples, std::size_t count, int sampleRate) = 0;
    // Drops everything queued and silences the stream at once.
    virtual void flush() = 0;
    // Samples written but not yet played; 0 once the last written sample has been heard.
    virtual std::size_t pending() const = 0;
};

} // namespace hunt
