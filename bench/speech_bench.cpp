// Key-echo and speech latency of the embedded engine, and the CPU a waiting speakwait uses.
// Latency: from the call to the moment the first audible sample has been handed to OpenAL
// (the mixer's write has returned). The mixer renders on a silent device in real time, as on a
// machine without a sound card; a real device adds its period (256 frames) before it is heard.
#include "audio/audio_device.h"
#include "audio/espeak_engine.h"
#include "audio/mixer.h"
#include "audio/speech_layer.h"
#include "audio/voice_selection.h"
#include "braille/echo_keys.h"
#include "localization/codepage.h"
#include "runtime/queue_event_loop.h"

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace hunt;
using Clock = std::chrono::steady_clock;

// Passes PCM on to the output and notes when the first audible sample has been handed over.
class TimingPcm final : public PcmStream {
public:
    explicit TimingPcm(PcmStream &out) : out_(out) {}
    void arm() {
        first_ = Clock::time_point{};
        armed_ = true;
    }
    Clock::time_point first() const { return first_; }

    void write(const int16_t *samples, std::size_t count, int rate) override {
        out_.write(samples, count, rate);
        if (armed_ &&
            std::any_of(samples, samples + count, [](int16_t s) { return std::abs(s) > 33; })) {
            first_ = Clock::now();
            armed_ = false;
        }
    }
    void flush() override { out_.flush(); }
    std::size_t pending() const override { return out_.pending(); }

private:
    PcmStream &out_;
    std::atomic<bool> armed_{false};
    Clock::time_point first_{};
};

class NoSound final : public SoundOutput {
public:
    void playsound(const std::vector<double> &, double, double) override {}
    void beep() override {}
    void click(double) override {}
};

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

struct Figures {
    std::vector<double> ms;
    void print(const char *what) {
        std::sort(ms.begin(), ms.end());
        std::printf("%-44s median %6.2f ms   p90 %6.2f ms   max %6.2f ms   (n=%zu)\n", what,
                    ms[ms.size() / 2], ms[ms.size() * 9 / 10], ms.back(), ms.size());
    }
};

double msSince(Clock::time_point start, Clock::time_point end) {
    return std::chrono::duration<double, std::milli>(end - start).count();
}

} // namespace

int main(int argc, char **argv) {
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 30;
    QueueEventLoop loop;
    GlobalSettings settings;
    Mixer mixer(std::make_unique<SilentAudioDevice>(48000));
    TimingPcm pcm(mixer);
    NoSound sound;
    EchoKeys echokeys;
    echokeys.echokeys[0] = echokeytype{'k', toCp1250("ká")};
    SpeechLayer layer(settings, loop, sound, echokeys, nullptr);
    VoiceSelection selection(settings, layer, layer.notifysink,
                             [&] { return makeEspeakVoiceSource(loop, pcm); });
    layer.setVoiceSelection(&selection);
    selection.initsapi4();
    selection.listvoices();
    selection.selectvoice();
    settings.voiceallowed = true;
    layer.speakwait("a"); // loads the voice

    const std::string sentence =
        toCp1250("Dobrý den, vítejte ve hře na hledání pokladu v zahradě.");
    std::printf("speech latency, voice %s, sentence of %zu characters\n",
                selection.currentmode()->modeName.c_str(), sentence.size());

    Figures key, one, longer;
    // Each measurement starts with the engine idle, as between two keys.
    const auto idle = [&] { loop.waitForEvents(std::chrono::milliseconds(30)); };
    for (int i = 0; i < rounds; ++i) {
        idle();
        pcm.arm();
        auto start = Clock::now();
        layer.speakkey("k");
        key.ms.push_back(msSince(start, pcm.first()));

        idle();
        pcm.arm();
        start = Clock::now();
        layer.speakwait("a");
        one.ms.push_back(msSince(start, pcm.first()));

        idle();
        pcm.arm();
        start = Clock::now();
        layer.speak(sentence);
        while (pcm.first() == Clock::time_point{})
            loop.waitForEvents(std::chrono::milliseconds(1));
        longer.ms.push_back(msSince(start, pcm.first()));
        layer.stopspeech();
        loop.processEvents();
    }
    key.print("speakkey(\"k\") to first audible frame");
    one.print("speakwait(\"a\") to first audible frame");
    longer.print("speak(55-character sentence) to first");

    // CPU while a speakwait waits for a sentence to be heard.
    const double threadBefore = cpuSeconds(RUSAGE_THREAD);
    const double processBefore = cpuSeconds(RUSAGE_SELF);
    const auto start = Clock::now();
    layer.speakwait(sentence + " " + sentence);
    const double wall = msSince(start, Clock::now()) / 1000;
    const double thread = cpuSeconds(RUSAGE_THREAD) - threadBefore;
    const double process = cpuSeconds(RUSAGE_SELF) - processBefore;
    std::printf("speakwait of %.2f s: waiting thread %.1f ms CPU (%.2f %%), whole process %.1f ms "
                "(%.2f %%, includes synthesis and the output thread)\n",
                wall, thread * 1000, 100 * thread / wall, process * 1000, 100 * process / wall);
    return 0;
}
