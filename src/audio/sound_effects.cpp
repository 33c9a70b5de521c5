#include "sound_effects.h"

#include "localization/string_table.h"
#include "runtime/errors.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <thread>

namespace hunt {
namespace {

// Truncates toward zero into 32 bits; out-of-range values saturate and NaN becomes 0, where a
// bare cast would be undefined.
int32_t truncated(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (value <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

constexpr auto pollInterval = std::chrono::milliseconds(10);
// A one-shot sound waits at most this long beyond its own length (a looped item would
// otherwise keep the thread forever).
constexpr double oneShotGraceSeconds = 1.0;

} // namespace

std::string missingBankMessage(const std::string &text42) {
    return text42 + " sounds.dat";
}

std::string missingBankMessage(int32_t languagebase) {
    return missingBankMessage(TResourceLocalizer::GetText(languagebase, 42));
}

SoundEffects::SoundEffects(Mixer &mixer, EventLoop &events, Timer &timer, GlobalSettings &settings,
                           ToneState &tone)
    : mixer_(mixer), events_(events), timer_(timer), settings_(settings), tone_(tone) {
    timer_.ontimer = [this] { TimerTimer(); };
}

void SoundEffects::loadsounds(const std::string &path) {
    mixer_.loadBank(readSoundBankFile(path));
}

std::size_t SoundEffects::item(const std::string &name) const {
    if (const auto index = mixer_.find(name))
        return *index;
    throw HuntError("Wave '" + name + "' not found");
}

void SoundEffects::playsound(const std::vector<double> &frequencies, double duration,
                             double timbre) {
    if (!settings_.vintrasounds)
        return;
    if (timbre > 9)
        timbre = tone_.lasttimbre;
    if (!(duration >= 0))
        duration = tone_.lastduration;
    const int32_t t = truncated(timbre);
    const int32_t milliseconds = truncated(duration);
    tone_.lasttimbre = static_cast<uint8_t>(t);
    tone_.lastduration = milliseconds;
    tone_.soundwait = true;

    const std::string suffix = std::to_string(t);
    for (std::size_t k = 1; k <= frequencies.size(); ++k) {
        int32_t f = truncated(frequencies[k - 1]);
        if (f == 0)
            f = 2;
        const std::size_t index = item("snd" + std::to_string(k) + suffix);
        mixer_.setLooped(index, true);
        mixer_.setRate(index, f * 64.0);
        mixer_.setVolume(index, settings_.sndvolume);
        mixer_.play(index);
    }
    timer_.setInterval(milliseconds);
    timer_.setEnabled(true);
    waitWhile(events_, [this] { return tone_.soundwait; });
    for (std::size_t k = 1; k <= frequencies.size(); ++k)
        mixer_.stop(item("snd" + std::to_string(k) + suffix));
}

void SoundEffects::playAndWait(const std::string &name) {
    const std::size_t index = item(name);
    mixer_.setVolume(index, settings_.sndvolume);
    mixer_.play(index);
    const auto limit =
        std::chrono::steady_clock::now() +
        std::chrono::duration_cast<std::chrono::steady_clock::duration>(
            std::chrono::duration<double>(mixer_.itemSeconds(index) + oneShotGraceSeconds));
    while (mixer_.playing(index)) {
        if (std::chrono::steady_clock::now() > limit) {
            mixer_.stop(index);
            break;
        }
        std::this_thread::sleep_for(pollInterval);
    }
}

void SoundEffects::beep() {
    if (!settings_.vintrasounds)
        return;
    playAndWait("beep");
}

void SoundEffects::click(double n) {
    if (!settings_.vintrasounds)
        return;
    playAndWait("click" + std::to_string(truncated(n)));
}

void SoundEffects::TimerTimer() {
    tone_.soundwait = false;
    timer_.setEnabled(false);
}

void SoundEffects::keyDown() {
    if (tone_.soundwait) {
        tone_.soundwait = false;
        timer_.setEnabled(false);
    }
}

} // namespace hunt
