#include "sound_recipe.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <map>
#include <numbers>
#include <sstream>

namespace hunt {
namespace {

constexpr double tonePeak = 0.4;
constexpr double shotPeak = 0.5;
constexpr uint32_t shotRate = 44100;

void appendSample(std::vector<uint8_t> &data, double value) {
    const auto sample = static_cast<int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * 32767.0));
    const auto bits = static_cast<uint16_t>(sample);
    data.push_back(static_cast<uint8_t>(bits & 0xff));
    data.push_back(static_cast<uint8_t>(bits >> 8));
}

// The waveform of harmonics, scaled to the wanted peak.
std::vector<double> scaled(std::vector<double> wave, double peak) {
    double largest = 0;
    for (double v : wave)
        largest = std::max(largest, std::abs(v));
    if (largest > 0)
        for (double &v : wave)
            v *= peak / largest;
    return wave;
}

class Parser {
public:
    Parser(const std::string &fileName) : fileName_(fileName) {}

    [[noreturn]] void fail(const std::string &what) const {
        throw HuntError(fileName_ + ":" + std::to_string(line_) + ": " + what);
    }
    double number(std::istringstream &fields, const char *what) {
        std::string text;
        if (!(fields >> text))
            fail(std::string("missing ") + what);
        try {
            std::size_t used = 0;
            const double value = std::stod(text, &used);
            if (used != text.size() || !std::isfinite(value))
                throw std::invalid_argument(text);
            return value;
        } catch (const std::exception &) {
            fail(std::string("bad ") + what + " '" + text + "'");
        }
    }
    std::vector<double> harmonics(std::istringstream &fields) {
        std::vector<double> amplitudes;
        std::string text;
        while (fields >> text) {
            std::istringstream one(text);
            amplitudes.push_back(number(one, "harmonic amplitude"));
        }
        if (amplitudes.empty())
            fail("no harmonics");
        if (amplitudes.size() > toneMaxHarmonics)
            fail("more than " + std::to_string(toneMaxHarmonics) + " harmonics");
        return amplitudes;
    }

    SoundBank parse(const std::string &recipe) {
        std::istringstream input(recipe);
        std::string text;
        int positions = 0;
        double toneRate = 0;
        int periods = 0;
        std::map<int, std::vector<double>> timbres;
        std::vector<SoundItem> shots;
        std::vector<int> shotLines;
        while (std::getline(input, text)) {
            ++line_;
            if (const auto hash = text.find('#'); hash != std::string::npos)
                text.erase(hash);
            std::istringstream fields(text);
            std::string keyword;
            if (!(fields >> keyword))
                continue;
            if (keyword == "tones") {
                positions = static_cast<int>(number(fields, "number of positions"));
                toneRate = number(fields, "sample rate");
                periods = static_cast<int>(number(fields, "number of periods"));
                if (positions < 1 || positions > 9 || periods < 1 || periods > 1024 ||
                    toneRate < 1000 || toneRate > 384000)
                    fail("tones: positions 1 to 9, rate 1000 to 384000, periods 1 to 1024");
            } else if (keyword == "timbre") {
                const double t = number(fields, "timbre number");
                if (t < 0 || t > 9 || t != std::floor(t))
                    fail("timbre numbers are 0 to 9");
                if (timbres.count(static_cast<int>(t)))
                    fail("timbre " + std::to_string(static_cast<int>(t)) + " given twice");
                timbres[static_cast<int>(t)] = harmonics(fields);
            } else if (keyword == "shot") {
                SoundItem item;
                if (!(fields >> item.name) || item.name.size() > 255)
                    fail("a shot needs a name of 1 to 255 characters");
                const double length = number(fields, "length");
                const double decay = number(fields, "decay");
                const double from = number(fields, "frequency");
                const double to = number(fields, "end frequency");
                if (length < 10 || length > 10000 || decay <= 0 || from <= 0 || to <= 0 ||
                    std::max(from, to) * toneMaxHarmonics > 200000)
                    fail("bad length, decay or frequency");
                const std::vector<double> amplitudes = harmonics(fields);
                if (std::max(from, to) * static_cast<double>(amplitudes.size()) >= shotRate / 2.0)
                    fail("harmonics above half the sample rate");
                item.sampleRate = shotRate;
                const auto frames = static_cast<std::size_t>(length * shotRate / 1000);
                std::vector<double> wave(frames);
                double phase = 0;
                for (std::size_t i = 0; i < frames; ++i) {
                    const double seconds = static_cast<double>(i) / shotRate;
                    const double progress = static_cast<double>(i) / static_cast<double>(frames);
                    const double frequency = from * std::pow(to / from, progress);
                    phase += 2 * std::numbers::pi * frequency / shotRate;
                    double value = 0;
                    for (std::size_t h = 0; h < amplitudes.size(); ++h)
                        value += amplitudes[h] * std::sin(static_cast<double>(h + 1) * phase);
                    const double rise = std::min(1.0, seconds / 0.002);
                    const double fall =
                        std::min(1.0, static_cast<double>(frames - i) / (0.005 * shotRate));
                    wave[i] = value * rise * fall * std::exp(-seconds * 1000 / decay);
                }
                for (double v : scaled(wave, shotPeak))
                    appendSample(item.data, v);
                shots.push_back(std::move(item));
                shotLines.push_back(line_);
            } else {
                fail("unknown statement '" + keyword + "'");
            }
        }
        SoundBank bank;
        if (positions > 0) {
            for (int k = 1; k <= positions; ++k)
                for (const auto &[t, amplitudes] : timbres) {
                    SoundItem item;
                    item.name = "snd" + std::to_string(k) + std::to_string(t);
                    item.looped = true;
                    item.sampleRate = static_cast<uint32_t>(toneRate);
                    std::vector<double> period(tonePeriodSamples);
                    for (int i = 0; i < tonePeriodSamples; ++i)
                        for (std::size_t h = 0; h < amplitudes.size(); ++h)
                            period[static_cast<std::size_t>(i)] +=
                                amplitudes[h] *
                                std::sin(2 * std::numbers::pi * static_cast<double>(h + 1) * i /
                                         tonePeriodSamples);
                    const std::vector<double> wave = scaled(period, tonePeak);
                    for (int p = 0; p < periods; ++p)
                        for (double v : wave)
                            appendSample(item.data, v);
                    bank.items.push_back(std::move(item));
                }
        } else if (!timbres.empty()) {
            fail("timbres without a tones statement");
        }
        // The player finds the first item of a name: a second one would never sound.
        for (std::size_t i = 0; i < shots.size(); ++i) {
            for (const SoundItem &earlier : bank.items)
                if (sameItemName(earlier.name, shots[i].name)) {
                    line_ = shotLines[i];
                    fail("a second sound named '" + shots[i].name + "'");
                }
            bank.items.push_back(std::move(shots[i]));
        }
        for (const SoundItem &item : bank.items)
            validateSoundItem(item);
        return bank;
    }

private:
    const std::string &fileName_;
    int line_ = 0;
};

} // namespace

SoundBank generateSoundBankFromText(const std::string &recipe, const std::string &fileName) {
    return Parser(fileName).parse(recipe);
}

SoundBank generateSoundBank(const std::string &recipePath) {
    std::ifstream file(recipePath);
    if (!file)
        throw HuntError(recipePath + ": cannot be opened for reading");
    std::stringstream text;
    text << file.rdbuf();
    return generateSoundBankFromText(text.str(), recipePath);
}

} // namespace hunt
