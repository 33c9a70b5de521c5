#include "audio/espeak_engine.h"

#include "localization/codepage.h"
#include "runtime/errors.h"

#include <espeak-ng/speak_lib.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <exception>
#include <map>
#include <mutex>
#include <string_view>
#include <thread>

namespace hunt {

namespace {

using Clock = std::chrono::steady_clock;

// espeak-ng is one library-wide synthesiser: every call into it holds this lock.
std::mutex &espeakMutex() {
    static std::mutex mutex;
    return mutex;
}

// Samples quieter than this (about -60 dB) before the first sound of a text are dropped, so a
// key echo starts with its first audible sample.
constexpr int silenceThreshold = 33;

int synthCallback(short *wav, int numsamples, espeak_EVENT *events);

struct Library {
    int sampleRate = 0;
    std::string voiceLoaded; // the voice espeak-ng has loaded now; guarded by espeakMutex
};

Library &library() {
    static Library lib = [] {
        Library l;
        std::lock_guard lock(espeakMutex());
        // Short buffers: the first samples of a text arrive after 20 ms of audio, not more.
        const int rate =
            espeak_Initialize(AUDIO_OUTPUT_SYNCHRONOUS, 20, nullptr, espeakINITIALIZE_DONT_EXIT);
        if (rate > 0) {
            l.sampleRate = rate;
            espeak_SetSynthCallback(&synthCallback);
        }
        return l;
    }();
    return lib;
}

uint64_t timestampNow() {
    return static_cast<uint64_t>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(Clock::now().time_since_epoch())
            .count());
}

class EspeakEngine;

// The text being synthesised on this thread, for the callback.
struct SynthJob {
    EspeakEngine *engine;
    uint64_t generation;
    bool heard = false; // an audible sample has been passed on
};
thread_local SynthJob *currentJob = nullptr;

// What the engine keeps on the UI thread; posted notifications find it through a weak pointer,
// so those that arrive after the engine is gone do nothing.
struct UiSide {
    std::map<uint32_t, TtsNotifySink *> sinks;
    uint32_t nextKey = 1;
    bool runActive = false; // AudioStart delivered (or posted), AudioStop not yet
    uint64_t submitted = 0; // number of the last text queued

    void deliver(bool start) {
        const auto sinks_ = sinks; // a sink may unregister while being told
        const uint64_t now = timestampNow();
        for (const auto &[key, sink] : sinks_)
            if (sinks.count(key)) {
                if (start)
                    sink->AudioStart(now);
                else
                    sink->AudioStop(now);
            }
    }
};

class EspeakEngine final : public TtsEngine {
public:
    EspeakEngine(EventLoop &loop, PcmStream &pcm, std::string voiceId)
        : loop_(loop), pcm_(pcm), voiceId_(std::move(voiceId)), ui_(std::make_shared<UiSide>()),
          worker_([this] { run(); }) {}

    ~EspeakEngine() override {
        {
            std::lock_guard lock(mutex_);
            quit_ = true;
            ++generation_;
            queue_.clear();
            if (ui_->runActive)
                silence();
        }
        wake_.notify_all();
        worker_.join();
    }

    void textData(const std::string &text) override {
        // The text ends at its first NUL, as a C string would.
        const std::string utf8 = toUtf8(std::string_view(text.c_str()));
        const uint64_t seq = ++ui_->submitted;
        if (!ui_->runActive) {
            // Posted now, as the engine takes the text: a wait that starts after this call sees
            // AudioStart in its first pass. Synthesis begins at once and sound follows within
            // milliseconds.
            ui_->runActive = true;
            post(true);
        }
        {
            std::lock_guard lock(mutex_);
            queue_.push_back({seq, utf8});
        }
        wake_.notify_all();
    }

    void audioReset() override {
        {
            std::lock_guard lock(mutex_);
            ++generation_;
            queue_.clear();
            silence();
        }
        wake_.notify_all();
        if (ui_->runActive) {
            ui_->runActive = false;
            post(false);
        }
    }

    void inject(const std::string &tags) override {
        // \Name=value\ ... ; names in any letter case, values decimal.
        std::size_t pos = 0;
        while ((pos = tags.find('\\', pos)) != std::string::npos) {
            const std::size_t end = tags.find('\\', pos + 1);
            if (end == std::string::npos)
                break;
            applyTag(std::string_view(tags).substr(pos + 1, end - pos - 1));
            pos = end + 1;
        }
    }

    uint32_t registerSink(TtsNotifySink *sink) override {
        const uint32_t key = ui_->nextKey++;
        ui_->sinks[key] = sink;
        return key;
    }
    void unregisterSink(uint32_t key) override { ui_->sinks.erase(key); }

    std::optional<uint32_t> attributeGet(TtsAttribute attribute) const override {
        return value(attribute).load();
    }
    bool attributeSet(TtsAttribute attribute, uint32_t v) override {
        uint32_t low = 0, high = 0;
        switch (attribute) {
        case TtsAttribute::speed:
            low = EspeakUnits::speedMin, high = EspeakUnits::speedMax;
            break;
        case TtsAttribute::pitch:
            low = EspeakUnits::pitchMin, high = EspeakUnits::pitchMax;
            break;
        case TtsAttribute::volume:
            low = EspeakUnits::volumeMin, high = EspeakUnits::volumeMax;
            break;
        }
        value(attribute) = std::clamp(v, low, high);
        return true;
    }

    // Called from synthCallback on the worker thread: passes samples on unless the text was
    // reset. Returns false to stop the synthesis.
    bool deliver(const short *samples, std::size_t count, uint64_t generation) {
        std::lock_guard lock(mutex_);
        if (generation != generation_ || quit_)
            return false;
        if (count == 0)
            return true;
        try {
            pcm_.write(samples, count, library().sampleRate);
        } catch (const std::exception &error) {
            // The output refused the speech: drop this text rather than end the program
            // from the synthesiser's thread.
            std::fprintf(stderr, "hunt: speech output failed: %s\n", error.what());
            return false;
        }
        return true;
    }

private:
    struct Queued {
        uint64_t seq;
        std::string utf8;
    };

    std::atomic<uint32_t> &value(TtsAttribute attribute) const {
        switch (attribute) {
        case TtsAttribute::speed:
            return speed_;
        case TtsAttribute::pitch:
            return pitch_;
        case TtsAttribute::volume:
            break;
        }
        return volume_;
    }

    void applyTag(std::string_view tag) {
        const std::size_t eq = tag.find('=');
        if (eq == std::string_view::npos || eq + 1 >= tag.size())
            return;
        std::string name(tag.substr(0, eq));
        std::transform(name.begin(), name.end(), name.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        const std::string_view digits = tag.substr(eq + 1);
        if (digits.size() > 10 ||
            !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; }))
            return;
        const unsigned long long n = std::strtoull(std::string(digits).c_str(), nullptr, 10);
        const auto v = static_cast<uint32_t>(std::min<unsigned long long>(n, 0xFFFFFFFFull));
        if (name == "spd")
            attributeSet(TtsAttribute::speed, v);
        else if (name == "pit")
            attributeSet(TtsAttribute::pitch, v);
        else if (name == "vol")
            attributeSet(TtsAttribute::volume, v);
    }

    // Drops what the output still holds. Called with mutex_ held.
    void silence() {
        try {
            pcm_.flush();
        } catch (const std::exception &error) {
            std::fprintf(stderr, "hunt: speech output failed: %s\n", error.what());
        }
    }

    // Posts AudioStart (start) or AudioStop to the registered sinks.
    void post(bool start) {
        loop_.post([weak = std::weak_ptr<UiSide>(ui_), start] {
            if (const auto ui = weak.lock())
                ui->deliver(start);
        });
    }

    // Posts the AudioStop that ends a run when seq is still the last text queued.
    void postEndOfRun(uint64_t seq) {
        loop_.post([weak = std::weak_ptr<UiSide>(ui_), seq] {
            const auto ui = weak.lock();
            if (!ui || !ui->runActive || ui->submitted != seq)
                return; // reset meanwhile, or more text came: its own end will follow
            ui->runActive = false;
            ui->deliver(false);
        });
    }

    // Loads the voice if espeak-ng has another one loaded. Holds espeakMutex.
    bool loadVoice() {
        Library &lib = library();
        if (lib.voiceLoaded == voiceId_)
            return true;
        if (espeak_SetVoiceByName(voiceId_.c_str()) != EE_OK)
            return false;
        lib.voiceLoaded = voiceId_;
        return true;
    }

    void run() {
        {
            // Load the voice now, so that the first key echo does not wait for its dictionary.
            std::lock_guard espeak(espeakMutex());
            loadVoice();
        }
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return quit_ || !queue_.empty(); });
            if (quit_)
                return;
            Queued text = std::move(queue_.front());
            queue_.pop_front();
            const uint64_t generation = generation_;
            lock.unlock();
            synthesise(text.utf8, generation);
            lock.lock();
            // The end of the run is the moment the last sample has been played.
            while (!quit_ && queue_.empty() && generation == generation_) {
                std::size_t pending = 0;
                try {
                    pending = pcm_.pending();
                } catch (const std::exception &) {
                    pending = 0; // an output that cannot tell has nothing left to play
                }
                if (pending == 0)
                    break;
                const auto left = std::chrono::milliseconds(
                    pending * 1000 / static_cast<std::size_t>(library().sampleRate));
                wake_.wait_for(lock, std::clamp(left, std::chrono::milliseconds(1),
                                                std::chrono::milliseconds(20)));
            }
            if (quit_ || !queue_.empty() || generation != generation_)
                continue;
            postEndOfRun(text.seq);
        }
    }

    void synthesise(const std::string &utf8, uint64_t generation) {
        std::lock_guard lock(espeakMutex());
        if (!loadVoice())
            return;
        espeak_SetParameter(espeakRATE, static_cast<int>(speed_.load()), 0);
        espeak_SetParameter(espeakPITCH, static_cast<int>(pitch_.load()), 0);
        espeak_SetParameter(espeakVOLUME,
                            static_cast<int>((volume_.load() * 100 + EspeakUnits::volumeMax / 2) /
                                             EspeakUnits::volumeMax),
                            0);
        SynthJob job{this, generation};
        currentJob = &job;
        espeak_Synth(utf8.c_str(), utf8.size() + 1, 0, POS_CHARACTER, 0, espeakCHARS_UTF8, nullptr,
                     nullptr);
        currentJob = nullptr;
    }

    EventLoop &loop_;
    PcmStream &pcm_;
    const std::string voiceId_;
    std::shared_ptr<UiSide> ui_; // UI thread only

    mutable std::atomic<uint32_t> speed_{EspeakUnits::speedDefault};
    mutable std::atomic<uint32_t> pitch_{EspeakUnits::pitchDefault};
    mutable std::atomic<uint32_t> volume_{EspeakUnits::volumeDefault};

    std::mutex mutex_; // guards the queue, generation_, quit_ and writes to pcm_
    std::condition_variable wake_;
    std::deque<Queued> queue_;
    uint64_t generation_ = 0; // bumped by every reset: the text being synthesised is dropped
    bool quit_ = false;
    std::thread worker_; // last: starts after everything above exists
};

int synthCallback(short *wav, int numsamples, espeak_EVENT *) {
    SynthJob *job = currentJob;
    if (!job)
        return 0;
    const short *begin = wav;
    const short *end = wav ? wav + std::max(numsamples, 0) : wav;
    if (!job->heard) {
        begin = std::find_if(begin, end, [](short s) { return std::abs(s) > silenceThreshold; });
        job->heard = begin != end;
    }
    return job->engine->deliver(begin, static_cast<std::size_t>(end - begin), job->generation) ? 0
                                                                                               : 1;
}

class EspeakVoiceSource final : public TtsVoiceSource {
public:
    EspeakVoiceSource(EventLoop &loop, PcmStream &pcm) : loop_(loop), pcm_(pcm) {
        std::vector<TtsModeInfo> czech, slovak, english, others;
        std::lock_guard lock(espeakMutex());
        for (const espeak_VOICE **voice = espeak_ListVoices(nullptr); voice && *voice; ++voice) {
            const espeak_VOICE &v = **voice;
            if (!v.name || !v.identifier || !v.languages)
                continue;
            // languages: a priority byte, then the language name.
            const std::string language = v.languages[0] ? v.languages + 1 : "";
            TtsModeInfo mode{v.identifier, toCp1250(v.name)};
            if (language == "cs") {
                mode.modeName = "Jakub";
                czech.push_back(mode);
            } else if (language == "sk") {
                slovak.push_back(mode);
            } else if (language.rfind("en", 0) == 0) {
                english.push_back(mode);
            } else {
                others.push_back(mode);
            }
        }
        for (auto *group : {&czech, &slovak, &english, &others})
            modes_.insert(modes_.end(), group->begin(), group->end());
    }

    std::vector<TtsModeInfo> modes() const override { return modes_; }

    std::unique_ptr<TtsEngine> select(const TtsModeInfo &mode) override {
        const bool known = std::any_of(modes_.begin(), modes_.end(), [&](const TtsModeInfo &m) {
            return m.modeId == mode.modeId;
        });
        if (!known)
            throw HuntError("The voice \"" + mode.modeName + "\" is not installed.");
        return std::make_unique<EspeakEngine>(loop_, pcm_, mode.modeId);
    }

private:
    EventLoop &loop_;
    PcmStream &pcm_;
    std::vector<TtsModeInfo> modes_;
};

} // namespace

int espeakSampleRate() {
    return library().sampleRate;
}

std::unique_ptr<TtsVoiceSource> makeEspeakVoiceSource(EventLoop &loop, PcmStream &pcm) {
    if (library().sampleRate <= 0)
        throw HuntError("The speech synthesiser espeak-ng cannot start (are its data files "
                        "installed?).");
    return std::make_unique<EspeakVoiceSource>(loop, pcm);
}

} // namespace hunt
