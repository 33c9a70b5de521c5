// The tone statement, beep and click: their bookkeeping, their wait and its end.
#include "audio/mixer.h"
#include "audio/sound_effects.h"
#include "localization/codepage.h"
#include "runtime/queue_event_loop.h"
#include "sound_test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

namespace hunt {
namespace {

using namespace hunt::testing;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The main window's timer, remembering the intervals it was given.
class NotingTimer final : public Timer {
public:
    explicit NotingTimer(EventLoop &events) : timer_(events.createTimer()) {
        timer_->ontimer = [this] {
            if (ontimer)
                ontimer();
        };
    }
    void setInterval(int milliseconds) override {
        intervals.push_back(milliseconds);
        timer_->setInterval(milliseconds);
    }
    void setEnabled(bool enabled) override { timer_->setEnabled(enabled); }
    bool enabled() const override { return timer_->enabled(); }
    std::vector<int> intervals;

private:
    std::unique_ptr<Timer> timer_;
};

SoundItem shortSound(const std::string &name, bool looped = false, std::size_t frames = 2205) {
    SoundItem item;
    item.name = name;
    item.looped = looped;
    item.sampleRate = 44100;
    item.data = sineBytes(frames, 441, 44100);
    return item;
}

class SoundEffectsTest : public ::testing::Test {
protected:
    explicit SoundEffectsTest(
        std::unique_ptr<AudioDevice> device = std::make_unique<LoopbackAudioDevice>())
        : mixer(std::move(device)), timer(events), effects(mixer, events, timer, settings, tone) {
        mixer.loadBank(defaultBank());
    }

    bool isPlaying(const std::string &name) { return mixer.playing(*mixer.find(name)); }
    // What sounds while playsound waits: the names of the snd items playing, and their rates.
    std::vector<std::pair<std::string, double>> soundingDuring(std::function<void()> play,
                                                               bool endWithKey = true) {
        std::vector<std::pair<std::string, double>> sounding;
        events.post([&] {
            for (std::size_t i = 0; i < mixer.itemCount(); ++i)
                if (mixer.playing(i))
                    sounding.emplace_back(mixer.itemName(i), mixer.rate(i));
            if (endWithKey)
                effects.keyDown();
        });
        play();
        return sounding;
    }

    QueueEventLoop events;
    Mixer mixer;
    NotingTimer timer;
    GlobalSettings settings;
    ToneState tone;
    SoundEffects effects;
};

TEST_F(SoundEffectsTest, ToneItemAndRateFollowTimbreAndFrequency) {
    struct Case {
        std::vector<double> frequencies;
        double timbre;
        std::vector<std::pair<std::string, double>> sounding;
    };
    const Case cases[] = {
        {{0}, 5, {{"snd15", 128}}},
        {{0.9}, 5, {{"snd15", 128}}},
        {{440.9}, 5, {{"snd15", 28160}}},
        {{1000, 500}, 1, {{"snd11", 64000}, {"snd21", 32000}}},
        {{300}, 2.7, {{"snd12", 19200}}},
        {{200, 300, 400, 500},
         0,
         {{"snd10", 12800}, {"snd20", 19200}, {"snd30", 25600}, {"snd40", 32000}}},
    };
    for (const Case &c : cases) {
        const auto sounding =
            soundingDuring([&] { effects.playsound(c.frequencies, 60000, c.timbre); });
        ASSERT_EQ(sounding.size(), c.sounding.size());
        for (std::size_t i = 0; i < sounding.size(); ++i) {
            EXPECT_EQ(sounding[i].first, c.sounding[i].first);
            EXPECT_NEAR(sounding[i].second, c.sounding[i].second, 0.01);
            EXPECT_FALSE(isPlaying(sounding[i].first)) << "stopped after the wait";
            EXPECT_TRUE(mixer.looped(*mixer.find(sounding[i].first)));
        }
    }
    EXPECT_EQ(tone.lasttimbre, 0);
}

TEST_F(SoundEffectsTest, TimbreAboveNineAndNegativeDurationReuseTheLastOnes) {
    // Right after start-up the last duration is 1 ms.
    effects.playsound({360}, -1, 5);
    EXPECT_EQ(timer.intervals.back(), 1);
    EXPECT_EQ(tone.lasttimbre, 5);
    EXPECT_EQ(tone.lastduration, 1);

    effects.playsound({500}, 30, 5);
    const auto sounding = soundingDuring([&] { effects.playsound({600}, -5, 10); }, false);
    ASSERT_EQ(sounding.size(), 1u);
    EXPECT_EQ(sounding[0].first, "snd15");
    EXPECT_EQ(timer.intervals.back(), 30);
    EXPECT_EQ(tone.lasttimbre, 5);
    EXPECT_EQ(tone.lastduration, 30);
}

TEST_F(SoundEffectsTest, TimbreAndDurationAreTruncated) {
    effects.playsound({300}, 20.9, 2.7);
    EXPECT_EQ(timer.intervals.back(), 20);
    EXPECT_EQ(tone.lastduration, 20);
    EXPECT_EQ(tone.lasttimbre, 2);
    // A duration below 1 ms ends at the timer's first pass instead of waiting for a key.
    effects.playsound({300}, 0.5, 2);
    EXPECT_EQ(timer.intervals.back(), 0);
    EXPECT_FALSE(tone.soundwait);
}

TEST_F(SoundEffectsTest, TimerTickEndsTheToneAndDisablesTheTimer) {
    const auto start = Clock::now();
    effects.playsound({440}, 50, 0);
    EXPECT_GE(Clock::now() - start, 45ms);
    EXPECT_FALSE(tone.soundwait);
    EXPECT_FALSE(timer.enabled());
    EXPECT_FALSE(isPlaying("snd10"));
}

TEST_F(SoundEffectsTest, KeyGoingDownEndsTheWait) {
    // The key arrives from outside while the wait blocks on the queue.
    std::thread keyboard([this] {
        std::this_thread::sleep_for(50ms);
        events.post([this] { effects.keyDown(); });
    });
    effects.playsound({440}, 600000, 0);
    keyboard.join();
    EXPECT_FALSE(tone.soundwait);
    EXPECT_FALSE(timer.enabled());
    EXPECT_FALSE(isPlaying("snd10"));
    // With no tone being waited for, a key leaves the timer alone.
    timer.setEnabled(true);
    effects.keyDown();
    EXPECT_TRUE(timer.enabled());
}

TEST_F(SoundEffectsTest, ToneStartedDuringAnotherOnesWaitEndsBothWaits) {
    // One flag and one timer: the inner tone's end also ends the outer wait.
    bool innerSounded = false;
    events.post([&] {
        events.post([&] { innerSounded = isPlaying("snd11") && isPlaying("snd10"); });
        effects.playsound({600}, 20, 1);
    });
    effects.playsound({440}, 600000, 0);
    EXPECT_TRUE(innerSounded);
    EXPECT_EQ(timer.intervals, (std::vector<int>{600000, 20}));
    EXPECT_FALSE(timer.enabled());
    EXPECT_FALSE(isPlaying("snd10"));
    EXPECT_FALSE(isPlaying("snd11"));
}

TEST_F(SoundEffectsTest, SoundEffectsOffReturnAtOnceAndChangeNothing) {
    settings.vintrasounds = false;
    tone.lasttimbre = 7;
    tone.lastduration = 123;
    const auto start = Clock::now();
    effects.playsound({500}, 600000, 5);
    effects.beep();
    effects.click(16);
    EXPECT_LT(Clock::now() - start, 5s);
    EXPECT_EQ(tone.lasttimbre, 7);
    EXPECT_EQ(tone.lastduration, 123);
    EXPECT_FALSE(tone.soundwait);
    EXPECT_TRUE(timer.intervals.empty());
    for (const char *name : {"snd15", "beep", "click16"})
        EXPECT_FALSE(isPlaying(name)) << name;
}

TEST_F(SoundEffectsTest, MissingItemIsAnErrorAndEarlierTonesKeepSounding) {
    SoundBank bank;
    bank.items = {shortSound("snd10", true), shortSound("beep")};
    mixer.loadBank(bank);
    try {
        effects.playsound({440, 550}, 10, 0);
        FAIL() << "no error";
    } catch (const HuntError &error) {
        EXPECT_STREQ(error.what(), "Wave 'snd20' not found");
    }
    EXPECT_TRUE(isPlaying("snd10"));
    EXPECT_THROW(effects.click(3), HuntError);
    try {
        effects.click(6);
        FAIL() << "no error";
    } catch (const HuntError &error) {
        EXPECT_STREQ(error.what(), "Wave 'click6' not found");
    }
}

TEST_F(SoundEffectsTest, VolumeIsGivenJustBeforePlaying) {
    settings.sndvolume = -1500;
    effects.playsound({440}, 5, 3);
    EXPECT_EQ(mixer.volume(*mixer.find("snd13")), -1500);
}

// beep and click wait for their sound to finish, so they need a device that plays in real time.
class SoundEffectsRealTime : public SoundEffectsTest {
protected:
    SoundEffectsRealTime() : SoundEffectsTest(std::make_unique<SilentAudioDevice>()) {}
};

TEST_F(SoundEffectsRealTime, ClickPlaysTheTruncatedNumberAndWaitsForItsEnd) {
    SoundBank bank;
    bank.items = {shortSound("click2", false, 4410), shortSound("beep", false, 4410)};
    mixer.loadBank(bank);
    for (double n : {2.0, 2.5}) {
        const auto start = Clock::now();
        effects.click(n);
        EXPECT_GE(Clock::now() - start, 90ms);
        EXPECT_FALSE(isPlaying("click2"));
    }
    const auto start = Clock::now();
    effects.beep();
    EXPECT_GE(Clock::now() - start, 90ms);
    EXPECT_FALSE(isPlaying("beep"));
}

TEST_F(SoundEffectsRealTime, LoopedBeepDoesNotHoldTheProgramForever) {
    SoundBank bank;
    bank.items = {shortSound("beep", true)};
    mixer.loadBank(bank);
    const auto start = Clock::now();
    effects.beep();
    EXPECT_LT(Clock::now() - start, 30s);
    EXPECT_FALSE(isPlaying("beep"));
}

TEST(SoundEffectsLoading, MissingBankIsToldApartFromADamagedOne) {
    TempDir dir;
    QueueEventLoop events;
    Mixer mixer(std::make_unique<LoopbackAudioDevice>());
    auto timer = events.createTimer();
    GlobalSettings settings;
    ToneState tone;
    SoundEffects effects(mixer, events, *timer, settings, tone);

    try {
        effects.loadsounds(dir.file("sounds.dat"));
        FAIL() << "no error";
    } catch (const SoundBankMissing &missing) {
        EXPECT_EQ(missing.fileName(), dir.file("sounds.dat"));
    }
    EXPECT_EQ(missingBankMessage(2000), "Can't find the file sounds.dat");
    EXPECT_EQ(missingBankMessage(1000), toCp1250("Nelze nalézt soubor sounds.dat"));
    EXPECT_EQ(missingBankMessage(3000), toCp1250("Nie je možné nájsť súbor sounds.dat"));

    {
        std::ofstream damaged(dir.file("sounds.dat"), std::ios::binary);
        damaged << "HUNTSNDB\x01";
    }
    try {
        effects.loadsounds(dir.file("sounds.dat"));
        FAIL() << "no error";
    } catch (const SoundBankMissing &) {
        FAIL() << "a damaged bank reported as missing";
    } catch (const HuntError &error) {
        EXPECT_NE(std::string(error.what()).find("sounds.dat"), std::string::npos);
    }

    writeSoundBankFile(dir.file("sounds.dat"), defaultBank());
    effects.loadsounds(dir.file("sounds.dat"));
    EXPECT_EQ(mixer.itemCount(), defaultBank().items.size());
    EXPECT_TRUE(mixer.find("click19"));
}

} // namespace
} // namespace hunt
