// Renders tones and speech through OpenAL's loopback device and measures what came out.
#include "audio/mixer.h"
#include "audio/sound_effects.h"
#include "runtime/queue_event_loop.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace hunt {
namespace {

using namespace hunt::testing;

constexpr int deviceRate = 48000;

class MixerRender : public ::testing::Test {
protected:
    MixerRender() {
        auto device = std::make_unique<LoopbackAudioDevice>(deviceRate);
        output = device.get();
        mixer = std::make_unique<Mixer>(std::move(device));
        mixer->loadBank(defaultBank());
        timer = events.createTimer();
        effects = std::make_unique<SoundEffects>(*mixer, events, *timer, settings, tone);
    }

    // Plays a tone through playsound and renders it while playsound waits for its end; a key
    // going down then ends the tone. The first 10 ms are dropped.
    std::vector<double> renderTone(const std::vector<double> &frequencies, double timbre,
                                   std::size_t frames = deviceRate / 2) {
        std::vector<float> out;
        events.post([&] {
            out = output->render(frames + deviceRate / 100);
            effects->keyDown();
        });
        effects->playsound(frequencies, 60000, timbre);
        return leftChannel(out, deviceRate / 100);
    }

    QueueEventLoop events;
    LoopbackAudioDevice *output = nullptr;
    std::unique_ptr<Mixer> mixer;
    std::unique_ptr<Timer> timer;
    GlobalSettings settings;
    ToneState tone;
    std::unique_ptr<SoundEffects> effects;
};

TEST_F(MixerRender, ToneSoundsAtItsFrequency) {
    for (double timbre : {0.0, 5.0})
        for (double frequency : {100.0, 440.0, 2000.0}) {
            SCOPED_TRACE(::testing::Message() << frequency << " Hz, timbre " << timbre);
            const std::vector<double> left = renderTone({frequency}, timbre);
            ASSERT_GT(rms(left), 0.01);
            EXPECT_NEAR(fundamental(left, deviceRate), frequency, frequency * 0.005);
        }
}

TEST_F(MixerRender, ChordSoundsBothFrequencies) {
    const std::vector<double> left = renderTone({440, 660}, 0);
    const double low = amplitudeAt(left, 440, deviceRate);
    const double high = amplitudeAt(left, 660, deviceRate);
    const double between = amplitudeAt(left, 550, deviceRate);
    EXPECT_GT(low, 0.05);
    EXPECT_NEAR(20 * std::log10(high / low), 0.0, 1.0);
    EXPECT_LT(between, low / 100);
}

TEST_F(MixerRender, ToneEndsWhenTheWaitEnds) {
    renderTone({440}, 0);
    EXPECT_LT(peak(leftChannel(output->render(deviceRate / 10), deviceRate / 100)), 1e-6);
}

TEST_F(MixerRender, VolumeIsHundredthsOfDecibel) {
    const double full = rms(renderTone({440}, 0));
    settings.sndvolume = -2000;
    const double lowered = rms(renderTone({440}, 0));
    EXPECT_NEAR(20 * std::log10(full / lowered), 20.0, 0.5);
    settings.sndvolume = -10000;
    EXPECT_EQ(peak(renderTone({440}, 0)), 0.0);
}

TEST_F(MixerRender, TimbresSoundDifferent) {
    // Each timbre has its own balance of harmonics 1 to 4.
    std::vector<std::vector<double>> spectra;
    for (int t = 0; t <= 9; ++t) {
        const std::vector<double> left = renderTone({220}, t);
        std::vector<double> spectrum;
        for (int h = 1; h <= 4; ++h)
            spectrum.push_back(amplitudeAt(left, 220.0 * h, deviceRate) / rms(left));
        spectra.push_back(spectrum);
    }
    for (std::size_t a = 0; a < spectra.size(); ++a)
        for (std::size_t b = a + 1; b < spectra.size(); ++b) {
            double difference = 0;
            for (std::size_t h = 0; h < 4; ++h)
                difference = std::max(difference, std::abs(spectra[a][h] - spectra[b][h]));
            EXPECT_GT(difference, 0.05) << "timbres " << a << " and " << b;
        }
}

TEST_F(MixerRender, ClickIsShortAndEnds) {
    const std::size_t click = *mixer->find("click16");
    mixer->play(click);
    const std::vector<double> sound = leftChannel(output->render(deviceRate / 5));
    EXPECT_GT(peak(sound), 0.05);
    EXPECT_FALSE(mixer->playing(click));
    EXPECT_LT(peak(leftChannel(output->render(deviceRate / 10))), 1e-6);
}

TEST_F(MixerRender, SpeechStreamPlaysEveryWrittenSampleThenReportsNothingPending) {
    const std::vector<uint8_t> bytes = sineBytes(22050 / 4, 300, 22050);
    std::vector<int16_t> samples(bytes.size() / 2);
    std::memcpy(samples.data(), bytes.data(), bytes.size());
    settings.sndvolume = -10000; // speech does not follow the sound effects' volume
    mixer->write(samples.data(), samples.size(), 22050);
    EXPECT_EQ(mixer->pending(), samples.size());

    const std::vector<double> first = leftChannel(output->render(deviceRate / 10));
    EXPECT_GT(rms(first), 0.05);
    EXPECT_NEAR(fundamental(first, deviceRate), 300, 3);
    const std::size_t left = mixer->pending();
    EXPECT_NEAR(static_cast<double>(left), static_cast<double>(samples.size()) - 2205.0, 300);

    output->render(deviceRate / 10);
    EXPECT_GT(mixer->pending(), 0u);
    output->render(deviceRate / 10);
    EXPECT_EQ(mixer->pending(), 0u);
    EXPECT_LT(peak(leftChannel(output->render(deviceRate / 20))), 1e-6);
}

TEST_F(MixerRender, SpeechResumesAfterRunningDryAndFlushSilencesAtOnce) {
    std::vector<int16_t> samples(2205);
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<int16_t>(
            8000 * std::sin(2 * std::numbers::pi * 200 * static_cast<double>(i) / 22050));
    mixer->write(samples.data(), samples.size(), 22050);
    output->render(deviceRate / 5);
    EXPECT_EQ(mixer->pending(), 0u);
    // Written again after running dry: heard once, not replayed from the earlier buffers.
    mixer->write(samples.data(), samples.size(), 22050);
    EXPECT_GT(rms(leftChannel(output->render(deviceRate / 20))), 0.01);
    output->render(deviceRate / 10);
    EXPECT_EQ(mixer->pending(), 0u);
    EXPECT_LT(peak(leftChannel(output->render(deviceRate / 10))), 1e-6);

    for (int i = 0; i < 10; ++i)
        mixer->write(samples.data(), samples.size(), 22050);
    output->render(deviceRate / 20);
    mixer->flush();
    EXPECT_EQ(mixer->pending(), 0u);
    EXPECT_LT(peak(leftChannel(output->render(deviceRate / 10), 256)), 1e-6);
}

TEST_F(MixerRender, SettingAnotherLoopedFlagStopsTheItem) {
    const std::size_t item = *mixer->find("SND10");
    mixer->play(item);
    output->render(480);
    EXPECT_TRUE(mixer->playing(item));
    mixer->setLooped(item, true);
    EXPECT_TRUE(mixer->playing(item));
    mixer->setLooped(item, false);
    EXPECT_FALSE(mixer->playing(item));
}

TEST(MixerDevices, TwoMixersLiveAtOnce) {
    auto first = std::make_unique<LoopbackAudioDevice>();
    LoopbackAudioDevice &firstOutput = *first;
    Mixer a(std::move(first));
    Mixer b(std::make_unique<LoopbackAudioDevice>());
    a.loadBank(defaultBank());
    b.loadBank(defaultBank());
    a.play(*a.find("snd10"));
    EXPECT_GT(peak(leftChannel(firstOutput.render(4800))), 0.05);
    EXPECT_FALSE(b.playing(*b.find("snd10")));
}

TEST(MixerDevices, SilentDeviceConsumesSpeechInRealTime) {
    Mixer mixer(std::make_unique<SilentAudioDevice>());
    std::vector<int16_t> samples(22050 * 3 / 10, 1000); // 0.3 s
    const auto start = std::chrono::steady_clock::now();
    mixer.write(samples.data(), samples.size(), 22050);
    while (mixer.pending() > 0) {
        ASSERT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(30));
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(280));
}

TEST(MixerDevices, RealDeviceUpdatesOftenEnoughForKeyEchoes) {
    // OpenAL reads its drivers and configuration once per process, so the other tests of this
    // program would have set them already: check in a process of its own.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            // OpenAL's own "no output" driver stands in for a sound card.
            unsetenv("ALSOFT_CONF");
            setenv("ALSOFT_DRIVERS", "null", 1);
            Mixer mixer(std::make_unique<RealAudioDevice>());
            ALCint updatesPerSecond = 0;
            alcGetIntegerv(mixer.device().handle(), ALC_REFRESH, 1, &updatesPerSecond);
            std::fprintf(stderr, "%d updates a second\n", updatesPerSecond);
            // OpenAL's default is 43; the temporary configuration is gone again.
            std::exit(updatesPerSecond >= 100 && !std::getenv("ALSOFT_CONF") ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "updates a second");
}

TEST(MixerDevices, DefaultOpensSomethingAndSaysWhenSilent) {
    auto mixer = Mixer::openDefault();
    if (std::string(mixer->device().kind()) == "silent")
        EXPECT_EQ(mixer->deviceMessage(), noSoundDeviceMessage);
    else
        EXPECT_TRUE(mixer->deviceMessage().empty());
}

} // namespace
} // namespace hunt
