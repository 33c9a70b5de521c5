#pragma once
// Helpers shared by the sound tests: the default bank, temporary directories and measurements
// of rendered output.
#include "audio/sound_bank.h"
#include "audio/sound_recipe.h"

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace hunt::testing {

inline const SoundBank &defaultBank() {
    static const SoundBank bank = generateSoundBank(HUNT_SOURCE_DIR "/data/sounds.recipe");
    return bank;
}

// A fresh directory under the system's temporary directory, removed afterwards.
class TempDir {
public:
    TempDir() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() /
                ("hunt-sound-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(path_);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    std::string file(const std::string &name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// The left channel of interleaved stereo frames.
inline std::vector<double> leftChannel(const std::vector<float> &stereo, std::size_t skip = 0) {
    std::vector<double> out;
    for (std::size_t i = 2 * skip; i + 1 < stereo.size(); i += 2)
        out.push_back(stereo[i]);
    return out;
}

inline double rms(const std::vector<double> &x) {
    double sum = 0;
    for (double v : x)
        sum += v * v;
    return x.empty() ? 0 : std::sqrt(sum / static_cast<double>(x.size()));
}

inline double peak(const std::vector<double> &x) {
    double largest = 0;
    for (double v : x)
        largest = std::max(largest, std::abs(v));
    return largest;
}

inline double autocorrelation(const std::vector<double> &x, std::size_t lag, std::size_t window) {
    double sum = 0;
    for (std::size_t i = 0; i < window; ++i)
        sum += x[i] * x[i + lag];
    return sum;
}

// The fundamental frequency of a periodic signal: the first strong autocorrelation peak gives
// the period roughly; peaks near ever larger multiples of it refine it.
inline double fundamental(const std::vector<double> &x, double sampleRate) {
    const std::size_t window = x.size() / 2;
    auto r = [&](std::size_t lag) { return autocorrelation(x, lag, window); };
    // The peak near a lag, refined to a fraction of a sample.
    auto peakNear = [&](double lag) {
        auto best = static_cast<std::size_t>(std::lround(lag));
        for (std::size_t candidate = best - 2; candidate <= best + 2; ++candidate)
            if (r(candidate) > r(best))
                best = candidate;
        const double left = r(best - 1), middle = r(best), right = r(best + 1);
        return static_cast<double>(best) + 0.5 * (left - right) / (left - 2 * middle + right);
    };
    const double energy = r(0);
    double period = 0;
    for (std::size_t lag = 4; lag + 3 < window; ++lag)
        if (r(lag) > 0.9 * energy && r(lag) >= r(lag - 1) && r(lag) >= r(lag + 1)) {
            period = peakNear(static_cast<double>(lag));
            break;
        }
    if (period == 0)
        return 0;
    for (double multiple = 2; multiple * period + 4 < static_cast<double>(window); multiple *= 2)
        period = peakNear(multiple * period) / multiple;
    return sampleRate / period;
}

// The amplitude of one frequency in a Hann-windowed signal.
inline double amplitudeAt(const std::vector<double> &x, double frequency, double sampleRate) {
    double re = 0, im = 0, weight = 0;
    const auto n = static_cast<double>(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        const double w = 0.5 - 0.5 * std::cos(2 * std::numbers::pi * static_cast<double>(i) / n);
        const double phase = 2 * std::numbers::pi * frequency * static_cast<double>(i) / sampleRate;
        re += w * x[i] * std::cos(phase);
        im += w * x[i] * std::sin(phase);
        weight += w;
    }
    return 2 * std::hypot(re, im) / weight;
}

// 16-bit mono little-endian samples of a sine.
inline std::vector<uint8_t> sineBytes(std::size_t frames, double frequency, double rate) {
    std::vector<uint8_t> data;
    for (std::size_t i = 0; i < frames; ++i) {
        const auto v = static_cast<int16_t>(
            10000 * std::sin(2 * std::numbers::pi * frequency * static_cast<double>(i) / rate));
        data.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) & 0xff));
        data.push_back(static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8));
    }
    return data;
}

} // namespace hunt::testing
