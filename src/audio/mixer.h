#pragma once
#include "audio/audio_device.h"
#include "audio/pcm_stream.h"
#include "audio/sound_bank.h"

#include <AL/al.h>

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace hunt {

// The one OpenAL device and context of the program: the bank's sounds, each an OpenAL buffer
// played by its own source, and one stream of speech PCM.
//
// Construction:
//   auto mixer = Mixer::openDefault();            // the program: real device, else silent
//   if (!mixer->deviceMessage().empty()) ...      // tell the user once that it is silent
//
//   auto device = std::make_unique<LoopbackAudioDevice>(48000);   // tests
//   LoopbackAudioDevice &output = *device;
//   Mixer mixer(std::move(device));
//   std::vector<float> frames = output.render(4800);   // 0.1 s of stereo float output
//
// Every member is thread-safe; several mixers may live at once.
class Mixer final : public PcmStream {
public:
    explicit Mixer(std::unique_ptr<AudioDevice> device, std::string deviceMessage = {});
    ~Mixer() override;
    Mixer(const Mixer &) = delete;
    Mixer &operator=(const Mixer &) = delete;

    // The default device, or a silent one with deviceMessage() saying so.
    static std::unique_ptr<Mixer> openDefault();
    // Empty, or the sentence telling the user that no sound device was found.
    const std::string &deviceMessage() const { return deviceMessage_; }
    AudioDevice &device() { return *device_; }

    // Replaces every item with the bank's items, in order. Throws HuntError if OpenAL refuses.
    void loadBank(const SoundBank &bank);
    std::size_t itemCount() const;
    // The index of the item with that name, letter case ignored.
    std::optional<std::size_t> find(std::string_view name) const;
    const std::string &itemName(std::size_t item) const;
    // The length of one pass of the item at its own sample rate.
    double itemSeconds(std::size_t item) const;

    // Setting a different looped flag stops the item first.
    void setLooped(std::size_t item, bool looped);
    bool looped(std::size_t item) const;
    // Playback rate in frames per second; the recording's own rate until first set. A rate that
    // is not a positive finite number is ignored.
    void setRate(std::size_t item, double framesPerSecond);
    double rate(std::size_t item) const;
    // Volume in hundredths of a decibel: 0 full, -10000 silent; outside that range ignored.
    void setVolume(std::size_t item, int32_t hundredthsOfDecibel);
    int32_t volume(std::size_t item) const;
    // Plays from the beginning (restarting the item if it sounds already).
    void play(std::size_t item);
    void stop(std::size_t item);
    bool playing(std::size_t item) const;

    // Speech: mono signed 16-bit PCM at full volume, independent of the items' volumes.
    void write(const int16_t *samples, std::size_t count, int sampleRate) override;
    void flush() override;
    std::size_t pending() const override;

private:
    struct Item {
        std::string name;
        ALuint buffer = 0;
        ALuint source = 0; // created when first used
        double bufferRate = 0;
        double seconds = 0;
        bool looped = false;
        double rate = 0;
        int32_t volume = 0;
    };
    class Current;

    ALuint sourceOf(Item &item);
    void releaseItems();
    void reclaimSpeech() const;
    const Item &at(std::size_t item) const;
    Item &at(std::size_t item);

    std::unique_ptr<AudioDevice> device_;
    std::string deviceMessage_;
    ALCcontext *context_ = nullptr;
    std::vector<Item> items_;

    // Speech stream state; mutable because pending() recycles played buffers.
    mutable ALuint speechSource_ = 0;
    mutable std::vector<ALuint> freeBuffers_;
    mutable std::deque<std::pair<ALuint, std::size_t>> queued_; // buffer, samples
    int speechRate_ = 0;
};

} // namespace hunt
