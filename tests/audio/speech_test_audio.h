#pragma once
// Audio output for the speech tests: the mixer on a silent device that renders in real time,
// with the sound effects on it, and a recording of everything it rendered (the left channel).
#include "audio/audio_device.h"
#include "audio/mixer.h"
#include "audio/sound_effects.h"
#include "audio/sound_test_support.h"
#include "runtime/event_loop.h"
#include "runtime/globals.h"

#include <memory>
#include <mutex>
#include <vector>

namespace hunt::testing {

class SpeechTestAudio {
public:
    SpeechTestAudio(EventLoop &loop, GlobalSettings &settings)
        : mixer_(makeDevice()), timer_(loop.createTimer()),
          effects_(mixer_, loop, *timer_, settings, tone_) {
        mixer_.loadBank(defaultBank());
        device_->setObserver([this](const float *frames, std::size_t count) {
            std::lock_guard lock(mutex_);
            for (std::size_t i = 0; i < count; ++i)
                played_.push_back(frames[2 * i]);
        });
    }
    ~SpeechTestAudio() { device_->setObserver(nullptr); }

    PcmStream &pcm() { return mixer_; }
    SoundOutput &sound() { return effects_; }
    Mixer &mixer() { return mixer_; }
    int rate() const { return device_->sampleRate(); }
    // Frames in one block the device renders.
    static constexpr std::size_t periodFrames = 48000 * 4 / 1000;

    // Everything rendered so far.
    std::vector<float> rendered() const {
        std::lock_guard lock(mutex_);
        return played_;
    }
    std::size_t renderedCount() const {
        std::lock_guard lock(mutex_);
        return played_.size();
    }

private:
    std::unique_ptr<AudioDevice> makeDevice() {
        auto device = std::make_unique<SilentAudioDevice>(48000);
        device_ = device.get();
        return device;
    }

    SilentAudioDevice *device_ = nullptr;
    Mixer mixer_;
    ToneState tone_;
    std::unique_ptr<Timer> timer_;
    SoundEffects effects_;
    mutable std::mutex mutex_;
    std::vector<float> played_;
};

} // namespace hunt::testing
