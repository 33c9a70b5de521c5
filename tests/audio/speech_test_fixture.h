#pragma once
// A whole speech stack for tests: the speech layer, the voice selection with the real
// espeak-ng voice source, and real-time audio that keeps what was played.
#include "audio/espeak_engine.h"
#include "audio/speech_layer.h"
#include "audio/speech_log.h"
#include "audio/speech_test_audio.h"
#include "audio/voice_selection.h"
#include "braille/echo_keys.h"
#include "localization/codepage.h"
#include "runtime/queue_event_loop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace hunt::testing {

// Passes tones on to the real output and notes each call.
class NotingSound final : public SoundOutput {
public:
    explicit NotingSound(SoundOutput &out) : out_(out) {}
    void playsound(const std::vector<double> &f, double duration, double timbre) override {
        calls.push_back(f.empty() ? 0 : f[0]);
        out_.playsound(f, duration, timbre);
    }
    void beep() override { out_.beep(); }
    void click(double n) override { out_.click(n); }
    std::vector<double> calls; // first frequency of each tone

private:
    SoundOutput &out_;
};

class SpeechStack : public ::testing::Test {
protected:
    explicit SpeechStack(SystemVoiceFactory systemVoice = nullptr)
        : layer(settings, loop, sound, echokeys, std::move(systemVoice)),
          selection(settings, layer, layer.notifysink,
                    [this] { return makeEspeakVoiceSource(loop, audio.pcm()); }) {
        std::random_device random;
        logPath = std::filesystem::temp_directory_path() /
                  ("hunt-speech-" + std::to_string(random()) + ".log");
        layer.setSpeechLog(std::make_shared<SpeechLog>(logPath.string()));
        layer.setVoiceSelection(&selection);
    }
    ~SpeechStack() override {
        std::error_code ec;
        std::filesystem::remove(logPath, ec);
    }

    // The embedded engine ready with its preferred voice, speech allowed.
    void openEngine() {
        selection.initsapi4();
        selection.listvoices();
        selection.selectvoice();
        settings.voiceallowed = true;
    }

    // Fills the next slot of the key-echo table.
    void setEcho(unsigned char code, const std::string &text) {
        echokeys.echokeys.at(echoSlots++) = echokeytype{code, text};
    }

    std::vector<std::string> logLines() const {
        std::ifstream in(logPath);
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        return lines;
    }

    // Lets the output play on for a while.
    void playFor(std::chrono::milliseconds duration) {
        const auto end = std::chrono::steady_clock::now() + duration;
        while (std::chrono::steady_clock::now() < end)
            loop.waitForEvents(std::chrono::milliseconds(5));
    }

    QueueEventLoop loop;
    GlobalSettings settings;
    SpeechTestAudio audio{loop, settings};
    NotingSound sound{audio.sound()};
    EchoKeys echokeys;
    std::size_t echoSlots = 0;
    SpeechLayer layer;
    VoiceSelection selection;
    std::filesystem::path logPath;
};

// Measurements of the played output.
inline bool audible(float sample) {
    return std::abs(sample) > 0.01f;
}
inline std::size_t countAudible(const std::vector<float> &x, std::size_t from,
                                std::size_t to = SIZE_MAX) {
    to = std::min(to, x.size());
    std::size_t n = 0;
    for (std::size_t i = from; i < to; ++i)
        n += audible(x[i]);
    return n;
}
inline std::size_t firstAudible(const std::vector<float> &x, std::size_t from) {
    for (std::size_t i = from; i < x.size(); ++i)
        if (audible(x[i]))
            return i;
    return x.size();
}
// The frequency of a clean tone from its rising zero crossings.
inline double zeroCrossingFrequency(const std::vector<float> &x, std::size_t from, std::size_t to,
                                    int rate) {
    std::vector<double> crossings;
    for (std::size_t i = from + 1; i < std::min(to, x.size()); ++i)
        if (x[i - 1] < 0 && x[i] >= 0)
            crossings.push_back(double(i - 1) + x[i - 1] / (x[i - 1] - x[i]));
    if (crossings.size() < 2)
        return 0;
    return double(crossings.size() - 1) * rate / (crossings.back() - crossings.front());
}

} // namespace hunt::testing
