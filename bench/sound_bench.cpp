// Measures the sound path: the time from playsound to the first audible frame the mixer
// renders, and the CPU used while playsound waits for a one-second tone.
//
// Usage: sound_bench [--silent]; sound_bench_qt waits in Qt's event loop instead of the core's.
// Uses the real default device when one opens (then the latency cannot be observed here and
// only the CPU is reported), otherwise, or with --silent, the silent device that renders in
// real time like a sound card would.
#include "audio/mixer.h"
#include "audio/sound_effects.h"
#include "audio/sound_recipe.h"
#include "runtime/queue_event_loop.h"
#ifdef HUNT_BENCH_QT
#include "shell/qt_event_loop.h"

#include <QCoreApplication>
#endif

#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <thread>
#include <vector>

using namespace hunt;
using Clock = std::chrono::steady_clock;

namespace {

double cpuSeconds(int who) {
    rusage usage{};
    getrusage(who, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

} // namespace

int main(int argc, char **argv) {
    const bool forceSilent = argc > 1 && std::strcmp(argv[1], "--silent") == 0;
    std::unique_ptr<Mixer> mixer;
    SilentAudioDevice *silent = nullptr;
    if (forceSilent) {
        auto device = std::make_unique<SilentAudioDevice>();
        silent = device.get();
        mixer = std::make_unique<Mixer>(std::move(device), noSoundDeviceMessage);
    } else {
        mixer = Mixer::openDefault();
        if (std::strcmp(mixer->device().kind(), "silent") == 0)
            silent = static_cast<SilentAudioDevice *>(&mixer->device());
    }
    std::printf("device: %s%s\n", mixer->device().kind(),
                silent ? " (no sound card: OpenAL loopback rendered in real time)" : "");
    mixer->loadBank(generateSoundBank(HUNT_SOURCE_DIR "/data/sounds.recipe"));

#ifdef HUNT_BENCH_QT
    QCoreApplication application(argc, argv);
    QtEventLoop events;
    std::printf("event loop: Qt\n");
#else
    QueueEventLoop events;
    std::printf("event loop: the core's queue\n");
#endif
    auto timer = events.createTimer();
    GlobalSettings settings;
    ToneState tone;
    SoundEffects effects(*mixer, events, *timer, settings, tone);

    if (silent) {
        std::atomic<Clock::rep> heard{0};
        silent->setObserver([&](const float *frames, std::size_t count) {
            if (heard.load() != 0)
                return;
            for (std::size_t i = 0; i < 2 * count; ++i)
                if (std::abs(frames[i]) > 1e-4f) {
                    heard = Clock::now().time_since_epoch().count();
                    return;
                }
        });
        std::vector<double> latencies;
        for (int trial = 0; trial < 100; ++trial) {
            heard = 0;
            const auto start = Clock::now();
            effects.playsound({440}, 20, 0);
            while (heard.load() == 0 && Clock::now() - start < std::chrono::seconds(2))
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            const auto at = Clock::time_point(Clock::duration(heard.load()));
            latencies.push_back(std::chrono::duration<double, std::milli>(at - start).count());
            std::this_thread::sleep_for(std::chrono::milliseconds(7)); // let the tail pass
        }
        silent->setObserver(nullptr);
        std::sort(latencies.begin(), latencies.end());
        double sum = 0;
        for (double l : latencies)
            sum += l;
        std::printf("playsound to first audible rendered frame: mean %.2f ms, median %.2f ms, "
                    "max %.2f ms (%zu tones; render period %.1f ms)\n",
                    sum / static_cast<double>(latencies.size()), latencies[latencies.size() / 2],
                    latencies.back(), latencies.size(),
                    static_cast<double>(SilentAudioDevice::period.count()) / 1000);
    } else {
        ALCint updatesPerSecond = 0;
        alcGetIntegerv(mixer->device().handle(), ALC_REFRESH, 1, &updatesPerSecond);
        std::printf("playsound to first audible frame: not observable on a real device; it mixes "
                    "%d times a second\n",
                    updatesPerSecond);
    }

    const double threadBefore = cpuSeconds(RUSAGE_THREAD);
    const double processBefore = cpuSeconds(RUSAGE_SELF);
    const auto start = Clock::now();
    effects.playsound({440}, 1000, 0);
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double thread = cpuSeconds(RUSAGE_THREAD) - threadBefore;
    const double process = cpuSeconds(RUSAGE_SELF) - processBefore;
    std::printf("1 s tone: waited %.3f s; CPU of the waiting thread %.2f %% of a core, of the "
                "whole process (with the mixer) %.2f %%\n",
                wall, 100 * thread / wall, 100 * process / wall);
    return 0;
}
