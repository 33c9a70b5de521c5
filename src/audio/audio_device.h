#pragma once
#include <AL/alc.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace hunt {

// The output the mixer's OpenAL context renders to. One small interface with three kinds:
// the real default device, a silent device that consumes output in real time (a machine
// without a sound card), and a loopback device that renders only when asked (tests).
class AudioDevice {
public:
    virtual ~AudioDevice();
    AudioDevice(const AudioDevice &) = delete;
    AudioDevice &operator=(const AudioDevice &) = delete;

    ALCdevice *handle() const { return device_; }
    // Attributes for the context created on this device, ending with 0.
    virtual std::vector<ALCint> contextAttributes() const = 0;
    // Called once the mixer's context exists on the device.
    virtual void started() {}
    // "real", "silent" or "loopback".
    virtual const char *kind() const = 0;

protected:
    AudioDevice() = default;
    ALCdevice *device_ = nullptr;
};

// The system's default output device, asking OpenAL for a short update period (256 frames)
// so that a key's echo is heard promptly. Throws HuntError when there is no such device.
class RealAudioDevice final : public AudioDevice {
public:
    RealAudioDevice();
    std::vector<ALCint> contextAttributes() const override;
    const char *kind() const override { return "real"; }
};

// Renders stereo 32-bit float frames only when render() is called: output that a test can
// measure, offline and without a sound card.
class LoopbackAudioDevice : public AudioDevice {
public:
    explicit LoopbackAudioDevice(int sampleRate = 48000);
    std::vector<ALCint> contextAttributes() const override;
    const char *kind() const override { return "loopback"; }
    int sampleRate() const { return sampleRate_; }
    // Renders the next frames (2 floats each, left then right) into out.
    void render(float *out, std::size_t frames);
    // Renders frames and returns them interleaved.
    std::vector<float> render(std::size_t frames);

private:
    int sampleRate_;
};

// Plays into nowhere at the pace of a real device: a thread renders the output every few
// milliseconds and drops it, so sounds and speech last exactly as long as they would be heard.
class SilentAudioDevice final : public LoopbackAudioDevice {
public:
    // Sees every rendered block (interleaved stereo frames) on the rendering thread.
    using Observer = std::function<void(const float *frames, std::size_t count)>;

    explicit SilentAudioDevice(int sampleRate = 48000);
    ~SilentAudioDevice() override;
    void started() override;
    const char *kind() const override { return "silent"; }
    void setObserver(Observer observer);
    // The length of one rendered block.
    static constexpr std::chrono::microseconds period{4000};

private:
    void run();
    std::mutex observerMutex_;
    Observer observer_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// The real default device, or a silent one when it cannot be opened; in that case message
// receives the sentence to tell the user once, else it is left empty.
std::unique_ptr<AudioDevice> openAudioDevice(std::string &message);

// The sentence for a machine without a sound device.
extern const char *const noSoundDeviceMessage;

} // namespace hunt
