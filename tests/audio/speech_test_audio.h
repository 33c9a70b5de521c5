#pragma once
// Audio output for the speech tests: speech PCM and tones rendered in real time into a
// recording that the tests measure.
#include "audio/pcm_stream.h"
#include "runtime/event_loop.h"
#include "runtime/globals.h"
#include "runtime/sound_output.h"

#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace hunt::testing {

// Plays speech PCM and tones at the pace of a device (4 ms blocks) and keeps everything it
// played, mono, at rate().
class SpeechTestAudio final : public PcmStream, public SoundOutput {
public:
    SpeechTestAudio(EventLoop &loop, GlobalSettings &settings)
        : loop_(loop), settings_(settings), thread_([this] { run(); }) {}
    ~SpeechTestAudio() override {
        stop_ = true;
        thread_.join();
    }

    PcmStream &pcm() { return *this; }
    SoundOutput &sound() { return *this; }
    int rate() const { return rate_; }
    static constexpr std::size_t periodFrames = 22050 * 4 / 1000;

    // Everything played so far.
    std::vector<float> rendered() const {
        std::lock_guard lock(mutex_);
        return played_;
    }
    std::size_t renderedCount() const {
        std::lock_guard lock(mutex_);
        return played_.size();
    }

    void write(const int16_t *samples, std::size_t count, int) override {
        std::lock_guard lock(mutex_);
        speech_.insert(speech_.end(), samples, samples + count);
    }
    void flush() override {
        std::lock_guard lock(mutex_);
        speech_.clear();
    }
    std::size_t pending() const override {
        std::lock_guard lock(mutex_);
        return speech_.size();
    }

    // A sine tone of the first frequency; returns when it has been played.
    void playsound(const std::vector<double> &frequencies, double duration, double) override {
        if (!settings_.vintrasounds || frequencies.empty())
            return;
        const auto frames = static_cast<std::size_t>(duration * rate_ / 1000);
        {
            std::lock_guard lock(mutex_);
            for (std::size_t i = 0; i < frames; ++i)
                tone_.push_back(static_cast<float>(
                    0.5 * std::sin(2 * 3.14159265358979 * frequencies[0] * double(i) / rate_)));
        }
        for (;;) {
            {
                std::lock_guard lock(mutex_);
                if (tone_.empty())
                    break;
            }
            loop_.waitForEvents(std::chrono::milliseconds(2));
        }
    }
    void beep() override {}
    void click(double) override {}

private:
    void run() {
        auto next = std::chrono::steady_clock::now();
        while (!stop_) {
            next += std::chrono::milliseconds(4);
            std::this_thread::sleep_until(next);
            std::lock_guard lock(mutex_);
            for (std::size_t i = 0; i < periodFrames; ++i) {
                float sample = 0;
                if (!speech_.empty()) {
                    sample += static_cast<float>(speech_.front()) / 32768.0f;
                    speech_.pop_front();
                }
                if (!tone_.empty()) {
                    sample += tone_.front();
                    tone_.pop_front();
                }
                played_.push_back(sample);
            }
        }
    }

    EventLoop &loop_;
    GlobalSettings &settings_;
    const int rate_ = 22050;
    mutable std::mutex mutex_;
    std::deque<int16_t> speech_;
    std::deque<float> tone_;
    std::vector<float> played_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

} // namespace hunt::testing
