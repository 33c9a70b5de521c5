#include "audio_device.h"

#include "runtime/errors.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#define AL_ALEXT_PROTOTYPES
#include <AL/alext.h>

namespace hunt {

const char *const noSoundDeviceMessage = "No sound device was found: sounds and speech are silent.";

AudioDevice::~AudioDevice() {
    if (device_)
        alcCloseDevice(device_);
}

namespace {

// OpenAL Soft 1.19 takes its update period only from its configuration files, read when the
// library is first used; ALSOFT_CONF names one more file, read last. Unless the user names
// their own, point it at a file asking for 256-frame periods (about 6 ms at 44.1 kHz) for the
// time the device is opened. Without it a period is 1024 frames, too slow for a key's echo.
class ShortPeriodConfig {
public:
    ShortPeriodConfig() {
        if (std::getenv("ALSOFT_CONF"))
            return;
        const auto path = std::filesystem::temp_directory_path() /
                          ("hunt-alsoft-" + std::to_string(getpid()) + ".conf");
        std::ofstream file(path);
        file << "[general]\nperiod_size = 256\nperiods = 3\n";
        file.close();
        if (!file)
            return;
        path_ = path.string();
        setenv("ALSOFT_CONF", path_.c_str(), 1);
    }
    ~ShortPeriodConfig() {
        if (path_.empty())
            return;
        unsetenv("ALSOFT_CONF");
        std::remove(path_.c_str());
    }
    ShortPeriodConfig(const ShortPeriodConfig &) = delete;
    ShortPeriodConfig &operator=(const ShortPeriodConfig &) = delete;

private:
    std::string path_;
};

} // namespace

RealAudioDevice::RealAudioDevice() {
    ShortPeriodConfig config;
    device_ = alcOpenDevice(nullptr);
    if (!device_)
        throw HuntError("No sound device could be opened");
}

std::vector<ALCint> RealAudioDevice::contextAttributes() const {
    // 200 updates a second, for OpenAL releases that take the period from the context.
    return {ALC_REFRESH, 200, 0};
}

LoopbackAudioDevice::LoopbackAudioDevice(int sampleRate) : sampleRate_(sampleRate) {
    device_ = alcLoopbackOpenDeviceSOFT(nullptr);
    if (!device_)
        throw HuntError("OpenAL has no loopback device");
    if (!alcIsRenderFormatSupportedSOFT(device_, sampleRate, ALC_STEREO_SOFT, ALC_FLOAT_SOFT)) {
        alcCloseDevice(device_);
        device_ = nullptr;
        throw HuntError("OpenAL cannot render stereo float at " + std::to_string(sampleRate) +
                        " Hz");
    }
}

std::vector<ALCint> LoopbackAudioDevice::contextAttributes() const {
    // Levels must come out as mixed: no limiter, no HRTF filtering.
    return {ALC_FORMAT_CHANNELS_SOFT,
            ALC_STEREO_SOFT,
            ALC_FORMAT_TYPE_SOFT,
            ALC_FLOAT_SOFT,
            ALC_FREQUENCY,
            sampleRate_,
            ALC_HRTF_SOFT,
            ALC_FALSE,
            ALC_OUTPUT_LIMITER_SOFT,
            ALC_FALSE,
            0};
}

void LoopbackAudioDevice::render(float *out, std::size_t frames) {
    alcRenderSamplesSOFT(device_, out, static_cast<ALCsizei>(frames));
}

std::vector<float> LoopbackAudioDevice::render(std::size_t frames) {
    std::vector<float> out(frames * 2);
    render(out.data(), frames);
    return out;
}

SilentAudioDevice::SilentAudioDevice(int sampleRate) : LoopbackAudioDevice(sampleRate) {}

SilentAudioDevice::~SilentAudioDevice() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
}

void SilentAudioDevice::started() {
    if (!thread_.joinable())
        thread_ = std::thread([this] { run(); });
}

void SilentAudioDevice::setObserver(Observer observer) {
    std::lock_guard lock(observerMutex_);
    observer_ = std::move(observer);
}

void SilentAudioDevice::run() {
    using clock = std::chrono::steady_clock;
    const auto start = clock::now();
    std::size_t rendered = 0;
    std::vector<float> block;
    while (!stop_) {
        // Render every frame that a device would have played by now, then sleep one period.
        const auto elapsed =
            std::chrono::duration_cast<std::chrono::microseconds>(clock::now() - start);
        const auto due = static_cast<std::size_t>(elapsed.count() * sampleRate() / 1000000);
        if (due > rendered) {
            const std::size_t frames = due - rendered;
            block.resize(frames * 2);
            render(block.data(), frames);
            rendered = due;
            std::lock_guard lock(observerMutex_);
            if (observer_)
                observer_(block.data(), frames);
        }
        const auto periodsDone = static_cast<long long>(
            rendered * 1000000 / static_cast<std::size_t>(sampleRate() * period.count()));
        std::this_thread::sleep_until(start + period * (periodsDone + 1));
    }
}

std::unique_ptr<AudioDevice> openAudioDevice(std::string &message) {
    message.clear();
    try {
        return std::make_unique<RealAudioDevice>();
    } catch (const HuntError &) {
        message = noSoundDeviceMessage;
        return std::make_unique<SilentAudioDevice>();
    }
}

} // namespace hunt
