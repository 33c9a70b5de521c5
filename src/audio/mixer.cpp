#include "mixer.h"

#include "runtime/errors.h"

#include <AL/alc.h>

#include <algorithm>
#include <cmath>

namespace hunt {
namespace {

// OpenAL's current context is process-wide: every mixer call holds this lock while its own
// context is current, which also serialises the speech thread against the UI thread.
std::recursive_mutex &alMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

constexpr std::size_t speechBufferSamples = 1024; // ~46 ms at 22050 Hz

ALenum formatOf(const SoundItem &item) {
    if (item.channels == 1)
        return item.bitsPerSample == 8 ? AL_FORMAT_MONO8 : AL_FORMAT_MONO16;
    return item.bitsPerSample == 8 ? AL_FORMAT_STEREO8 : AL_FORMAT_STEREO16;
}

float gainOf(int32_t hundredthsOfDecibel) {
    if (hundredthsOfDecibel <= -10000)
        return 0.0f;
    return static_cast<float>(std::pow(10.0, hundredthsOfDecibel / 2000.0));
}

} // namespace

class Mixer::Current {
public:
    explicit Current(const Mixer &mixer) : lock_(alMutex()) {
        alcMakeContextCurrent(mixer.context_);
    }

private:
    std::lock_guard<std::recursive_mutex> lock_;
};

Mixer::Mixer(std::unique_ptr<AudioDevice> device, std::string deviceMessage)
    : device_(std::move(device)), deviceMessage_(std::move(deviceMessage)) {
    const std::vector<ALCint> attributes = device_->contextAttributes();
    {
        std::lock_guard lock(alMutex());
        context_ = alcCreateContext(device_->handle(), attributes.data());
        if (!context_)
            throw HuntError("The sound device refused a mixing context");
        alcMakeContextCurrent(context_);
        alGenSources(1, &speechSource_);
        if (alGetError() != AL_NO_ERROR) {
            alcMakeContextCurrent(nullptr);
            alcDestroyContext(context_);
            throw HuntError("The sound device has no source for speech");
        }
        alSourcei(speechSource_, AL_SOURCE_RELATIVE, AL_TRUE);
        alSourcef(speechSource_, AL_GAIN, 1.0f);
    }
    device_->started();
}

Mixer::~Mixer() {
    {
        Current current(*this);
        alSourceStop(speechSource_);
        alSourcei(speechSource_, AL_BUFFER, 0);
        alDeleteSources(1, &speechSource_);
        for (const auto &entry : queued_)
            freeBuffers_.push_back(entry.first);
        if (!freeBuffers_.empty())
            alDeleteBuffers(static_cast<ALsizei>(freeBuffers_.size()), freeBuffers_.data());
        releaseItems();
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
    }
    device_.reset();
}

std::unique_ptr<Mixer> Mixer::openDefault() {
    std::string message;
    auto device = openAudioDevice(message);
    if (message.empty()) {
        try {
            return std::make_unique<Mixer>(std::move(device));
        } catch (const HuntError &) {
            // A device that opens but refuses to mix is as good as none: play silently.
            message = noSoundDeviceMessage;
            device = std::make_unique<SilentAudioDevice>();
        }
    }
    return std::make_unique<Mixer>(std::move(device), message);
}

void Mixer::releaseItems() {
    for (Item &item : items_) {
        if (item.source) {
            alSourceStop(item.source);
            alSourcei(item.source, AL_BUFFER, 0);
            alDeleteSources(1, &item.source);
        }
        alDeleteBuffers(1, &item.buffer);
    }
    items_.clear();
}

void Mixer::loadBank(const SoundBank &bank) {
    Current current(*this);
    releaseItems();
    alGetError();
    for (const SoundItem &sound : bank.items) {
        Item item;
        item.name = sound.name;
        item.bufferRate = sound.sampleRate;
        item.rate = sound.sampleRate;
        item.seconds = static_cast<double>(sound.frames()) / sound.sampleRate;
        alGenBuffers(1, &item.buffer);
        if (alGetError() != AL_NO_ERROR)
            throw HuntError("The sound device has no room for the sound '" + sound.name + "'");
        alBufferData(item.buffer, formatOf(sound), sound.data.data(),
                     static_cast<ALsizei>(sound.data.size()),
                     static_cast<ALsizei>(sound.sampleRate));
        if (alGetError() != AL_NO_ERROR) {
            alDeleteBuffers(1, &item.buffer);
            throw HuntError("The sound device refused the sound '" + sound.name + "'");
        }
        item.looped = sound.looped;
        items_.push_back(std::move(item));
    }
}

std::size_t Mixer::itemCount() const {
    std::lock_guard lock(alMutex());
    return items_.size();
}

std::optional<std::size_t> Mixer::find(std::string_view name) const {
    std::lock_guard lock(alMutex());
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (sameItemName(items_[i].name, name))
            return i;
    return std::nullopt;
}

const Mixer::Item &Mixer::at(std::size_t item) const {
    if (item >= items_.size())
        throw HuntError("No sound number " + std::to_string(item));
    return items_[item];
}

Mixer::Item &Mixer::at(std::size_t item) {
    return const_cast<Item &>(static_cast<const Mixer &>(*this).at(item));
}

const std::string &Mixer::itemName(std::size_t item) const {
    std::lock_guard lock(alMutex());
    return at(item).name;
}

double Mixer::itemSeconds(std::size_t item) const {
    std::lock_guard lock(alMutex());
    return at(item).seconds;
}

ALuint Mixer::sourceOf(Item &item) {
    if (item.source)
        return item.source;
    alGetError();
    ALuint source = 0;
    alGenSources(1, &source);
    if (alGetError() != AL_NO_ERROR)
        throw HuntError("The sound device cannot play more sounds at once");
    alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
    alSourcei(source, AL_BUFFER, static_cast<ALint>(item.buffer));
    alSourcei(source, AL_LOOPING, item.looped ? AL_TRUE : AL_FALSE);
    alSourcef(source, AL_PITCH, static_cast<float>(item.rate / item.bufferRate));
    alSourcef(source, AL_GAIN, gainOf(item.volume));
    item.source = source;
    return source;
}

void Mixer::setLooped(std::size_t index, bool looped) {
    Current current(*this);
    Item &item = at(index);
    if (item.looped == looped)
        return;
    const ALuint source = sourceOf(item);
    alSourceStop(source);
    alSourcei(source, AL_LOOPING, looped ? AL_TRUE : AL_FALSE);
    item.looped = looped;
}

bool Mixer::looped(std::size_t index) const {
    std::lock_guard lock(alMutex());
    return at(index).looped;
}

void Mixer::setRate(std::size_t index, double framesPerSecond) {
    Current current(*this);
    Item &item = at(index);
    if (!(framesPerSecond > 0) || !std::isfinite(framesPerSecond))
        return;
    alGetError();
    alSourcef(sourceOf(item), AL_PITCH, static_cast<float>(framesPerSecond / item.bufferRate));
    if (alGetError() == AL_NO_ERROR)
        item.rate = framesPerSecond;
}

double Mixer::rate(std::size_t index) const {
    Current current(*this);
    const Item &item = at(index);
    if (!item.source)
        return item.rate;
    ALfloat pitch = 1.0f;
    alGetSourcef(item.source, AL_PITCH, &pitch);
    return pitch * item.bufferRate;
}

void Mixer::setVolume(std::size_t index, int32_t hundredthsOfDecibel) {
    Current current(*this);
    Item &item = at(index);
    if (hundredthsOfDecibel < -10000 || hundredthsOfDecibel > 0)
        return;
    alSourcef(sourceOf(item), AL_GAIN, gainOf(hundredthsOfDecibel));
    item.volume = hundredthsOfDecibel;
}

int32_t Mixer::volume(std::size_t index) const {
    std::lock_guard lock(alMutex());
    return at(index).volume;
}

void Mixer::play(std::size_t index) {
    Current current(*this);
    const ALuint source = sourceOf(at(index));
    alSourceRewind(source);
    alSourcePlay(source);
}

void Mixer::stop(std::size_t index) {
    Current current(*this);
    Item &item = at(index);
    if (item.source)
        alSourceStop(item.source);
}

bool Mixer::playing(std::size_t index) const {
    Current current(*this);
    const Item &item = at(index);
    if (!item.source)
        return false;
    ALint state = AL_STOPPED;
    alGetSourcei(item.source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

// Unqueues the speech buffers already heard. A stopped stream has been heard entirely.
void Mixer::reclaimSpeech() const {
    ALint state = AL_STOPPED;
    alGetSourcei(speechSource_, AL_SOURCE_STATE, &state);
    std::size_t heard = queued_.size();
    if (state == AL_PLAYING) {
        ALint processed = 0;
        alGetSourcei(speechSource_, AL_BUFFERS_PROCESSED, &processed);
        heard = std::min(static_cast<std::size_t>(std::max(processed, 0)), queued_.size());
    }
    for (std::size_t i = 0; i < heard; ++i) {
        ALuint buffer = queued_.front().first;
        alSourceUnqueueBuffers(speechSource_, 1, &buffer);
        freeBuffers_.push_back(queued_.front().first);
        queued_.pop_front();
    }
}

void Mixer::write(const int16_t *samples, std::size_t count, int sampleRate) {
    if (count == 0 || sampleRate <= 0)
        return;
    Current current(*this);
    reclaimSpeech();
    // Buffers queued together must share one rate: convert a different rate while the
    // previous speech is still queued (linear interpolation).
    std::vector<int16_t> converted;
    if (queued_.empty()) {
        speechRate_ = sampleRate;
    } else if (sampleRate != speechRate_) {
        const double step = static_cast<double>(sampleRate) / speechRate_;
        const auto length = static_cast<std::size_t>(static_cast<double>(count) / step);
        converted.resize(length);
        for (std::size_t i = 0; i < length; ++i) {
            const double position = static_cast<double>(i) * step;
            const auto at = static_cast<std::size_t>(position);
            const double fraction = position - static_cast<double>(at);
            const double next = at + 1 < count ? samples[at + 1] : samples[at];
            converted[i] =
                static_cast<int16_t>(std::lround(samples[at] * (1 - fraction) + next * fraction));
        }
        samples = converted.data();
        count = converted.size();
        if (count == 0)
            return;
    }
    alGetError();
    for (std::size_t start = 0; start < count; start += speechBufferSamples) {
        const std::size_t length = std::min(speechBufferSamples, count - start);
        ALuint buffer = 0;
        if (!freeBuffers_.empty()) {
            buffer = freeBuffers_.back();
            freeBuffers_.pop_back();
        } else {
            alGenBuffers(1, &buffer);
            if (alGetError() != AL_NO_ERROR)
                throw HuntError("The sound device has no room for speech");
        }
        alBufferData(buffer, AL_FORMAT_MONO16, samples + start,
                     static_cast<ALsizei>(length * sizeof(int16_t)), speechRate_);
        alSourceQueueBuffers(speechSource_, 1, &buffer);
        if (alGetError() != AL_NO_ERROR) {
            freeBuffers_.push_back(buffer);
            throw HuntError("The sound device refused speech");
        }
        queued_.emplace_back(buffer, length);
        // Start at once (or again after running dry) so that the first words are not held back.
        ALint state = AL_STOPPED;
        alGetSourcei(speechSource_, AL_SOURCE_STATE, &state);
        if (state != AL_PLAYING) {
            // A stopped stream has played everything before this buffer: drop it first, or
            // it would be heard again.
            while (queued_.size() > 1) {
                ALuint heard = queued_.front().first;
                alSourceUnqueueBuffers(speechSource_, 1, &heard);
                freeBuffers_.push_back(heard);
                queued_.pop_front();
            }
            alSourcePlay(speechSource_);
        }
    }
}

void Mixer::flush() {
    Current current(*this);
    alSourceStop(speechSource_);
    alSourcei(speechSource_, AL_BUFFER, 0);
    for (const auto &entry : queued_)
        freeBuffers_.push_back(entry.first);
    queued_.clear();
}

std::size_t Mixer::pending() const {
    Current current(*this);
    reclaimSpeech();
    std::size_t total = 0;
    for (const auto &entry : queued_)
        total += entry.second;
    if (total == 0)
        return 0;
    ALint offset = 0;
    alGetSourcei(speechSource_, AL_SAMPLE_OFFSET, &offset);
    return total - std::min(total, static_cast<std::size_t>(std::max(offset, 0)));
}

} // namespace hunt
