// keywait with sound effects off is a loop of takekey calls. Prints what one idle second of that
// loop costs in CPU time, and how soon a key posted from another thread comes out of it.

#include "runtime/queue_event_loop.h"
#include "runtime/runtime.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <thread>
#include <vector>

namespace {

class SilentSpeech final : public hunt::SpeechOutput {
public:
    void speak(const std::string &) override {}
    void speakwait(const std::string &) override {}
    void speakkey(const std::string &) override {}
    void stopspeech() override {}
};

class SilentSound final : public hunt::SoundOutput {
public:
    void playsound(const std::vector<double> &, double, double) override {}
    void beep() override {}
    void click(double) override {}
};

class NoDialog final : public hunt::InputDialog {
public:
    int showInput(std::string &) override { return hunt::modalCancel; }
};

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

} // namespace

int main() {
    using clock = std::chrono::steady_clock;
    hunt::PlainScreen screen;
    hunt::QueueEventLoop events;
    SilentSpeech speech;
    SilentSound sound;
    NoDialog dialog;
    hunt::SystemClock systemClock;
    hunt::GlobalSettings settings;
    hunt::ToneState tone;
    hunt::Runtime runtime({screen, events, speech, sound, dialog, systemClock, settings, tone});

    // One idle second.
    long passes = 0;
    const double cpuStart = cpuSeconds();
    const auto end = clock::now() + std::chrono::seconds(1);
    while (clock::now() < end) {
        runtime.takekey();
        ++passes;
    }
    const double cpu = cpuSeconds() - cpuStart;
    std::printf("idle keywait: %ld takekey passes in 1 s, %.1f ms CPU (%.2f %% of a core)\n",
                passes, cpu * 1e3, cpu * 100);

    // Keys posted from another thread at uneven moments: time from post to takekey's return.
    std::vector<double> latencies;
    for (int k = 0; k < 50; ++k) {
        std::atomic<long long> postedAt{0};
        std::thread typist([&] {
            std::this_thread::sleep_for(std::chrono::microseconds(3000 + 977 * k % 7000));
            postedAt = clock::now().time_since_epoch().count();
            events.post([&runtime] { runtime.pendingkey.assign(1, 'a'); });
        });
        while (runtime.takekey().empty()) {
        }
        const auto now = clock::now().time_since_epoch().count();
        typist.join();
        const auto waited = clock::duration(now - postedAt.load());
        latencies.push_back(std::chrono::duration<double, std::milli>(waited).count());
    }
    std::sort(latencies.begin(), latencies.end());
    std::printf("key latency: median %.3f ms, max %.3f ms over %zu keys\n",
                latencies[latencies.size() / 2], latencies.back(), latencies.size());
    return 0;
}
