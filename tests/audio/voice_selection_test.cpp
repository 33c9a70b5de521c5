// Voice selection over the real espeak-ng voice source.
#include "audio/speech_test_fixture.h"
#include "runtime/errors.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace hunt::testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class VoiceSelectionTest : public SpeechStack {};

TEST_F(VoiceSelectionTest, JakubTheCzechVoiceComesFirstAndIsSelected) {
    selection.initsapi4();
    ASSERT_TRUE(selection.hasvoices());
    int changes = 0;
    selection.voicelist.onchange = [&] { ++changes; };
    selection.listvoices();
    const auto &items = selection.voicelist.items;
    ASSERT_GT(items.size(), 50u);
    EXPECT_EQ(items[0], "Jakub");
    EXPECT_EQ(items[1], "Slovak");
    EXPECT_EQ(items[2].rfind("English", 0), 0u) << items[2];
    EXPECT_EQ(selection.voicelist.selected, 0);
    ASSERT_TRUE(selection.currentmode());
    EXPECT_EQ(selection.currentmode()->modeId, "zlw/cs");
    EXPECT_GE(changes, 1);
    // Listing again leaves every voice once.
    const auto first = items;
    selection.listvoices();
    EXPECT_EQ(items, first);
    EXPECT_FALSE(selection.engineopen()) << "listing opens no engine";
    EXPECT_FALSE(settings.voiceready);
}

TEST_F(VoiceSelectionTest, ClickingAVoiceMakesItTheCurrentMode) {
    selection.initsapi4();
    selection.listvoices();
    selection.voicelist.selected = 2;
    selection.voicelistClick();
    EXPECT_EQ(selection.currentmode()->modeName, selection.voicelist.items[2]);
    // Nothing selected: the mode stays.
    selection.voicelist.selected = -1;
    selection.voicelistClick();
    EXPECT_EQ(selection.currentmode()->modeName, selection.voicelist.items[2]);
    EXPECT_THAT(logLines(), IsEmpty()) << "the dialog is not active: nothing said";
}

TEST_F(VoiceSelectionTest, ClickInTheActiveDialogSaysTheNameInTheOldVoice) {
    openEngine();
    selection.voicedialogactive = [] { return true; };
    selection.voicelist.selected = 1;
    selection.voicelistClick();
    EXPECT_EQ(selection.currentmode()->modeName, "Slovak");
    EXPECT_THAT(logLines(), ElementsAre("speakwait\tsapi4\tSlovak"));
}

TEST_F(VoiceSelectionTest, TrackBarsTakeTheEngineRanges) {
    openEngine();
    EXPECT_TRUE(settings.voiceready);
    ASSERT_TRUE(selection.engineopen());
    const auto &s = selection.speedtb, &p = selection.pitchtb, &v = selection.volumetb;
    EXPECT_EQ(std::tuple(s.min(), s.max(), s.position(), s.frequency),
              std::tuple(80, 450, 175, 37));
    EXPECT_EQ(std::tuple(p.min(), p.max(), p.position(), p.frequency), std::tuple(0, 100, 50, 10));
    EXPECT_EQ(std::tuple(v.min(), v.max(), v.position()), std::tuple(0, 255, 255));
    EXPECT_TRUE(s.enabled && p.enabled && v.enabled);
}

// The voice dialog's change handlers, as the dialog wires them: reset and inject.
void wireLikeTheDialog(VoiceSelection &sel) {
    sel.speedtb.onpositionchange = [&sel] {
        sel.audioreset();
        sel.inject("\\Spd=" + std::to_string(sel.speedtb.position()) + "\\");
    };
    sel.pitchtb.onpositionchange = [&sel] {
        sel.audioreset();
        sel.inject("\\Pit=" + std::to_string(sel.pitchtb.position()) + "\\");
    };
    sel.volumetb.onpositionchange = [&sel] {
        sel.audioreset();
        sel.inject("\\Vol=" + std::to_string(sel.volumetb.position() * 256) + "\\");
    };
}

TEST_F(VoiceSelectionTest, InjectedTagsChangeTheEngineValues) {
    openEngine();
    wireLikeTheDialog(selection);
    TtsEngine &engine = *selection.ttscentral();
    selection.speedtb.setPosition(300);
    selection.pitchtb.setPosition(70);
    selection.volumetb.setPosition(200);
    EXPECT_EQ(engine.attributeGet(TtsAttribute::speed), 300u);
    EXPECT_EQ(engine.attributeGet(TtsAttribute::pitch), 70u);
    EXPECT_EQ(engine.attributeGet(TtsAttribute::volume), 51200u);
    // Values out of range are stored as the nearest allowed value; junk is ignored.
    selection.inject("\\Spd=9999\\\\Pit=0\\");
    EXPECT_EQ(engine.attributeGet(TtsAttribute::speed), 450u);
    EXPECT_EQ(engine.attributeGet(TtsAttribute::pitch), 0u);
    selection.inject("\\Vol=abc\\ \\Spd=\\ \\Xyz=5\\ \\Spd=-5\\");
    EXPECT_EQ(engine.attributeGet(TtsAttribute::speed), 450u);
    EXPECT_EQ(engine.attributeGet(TtsAttribute::volume), 51200u);
}

TEST_F(VoiceSelectionTest, InjectedSpeedAndVolumeAreHeard) {
    openEngine();
    const std::string text = toCp1250("Jedna dva tři čtyři pět.");
    const auto speakAndMeasure = [&](const std::string &tags) {
        selection.inject(tags);
        const std::size_t before = audio.renderedCount();
        layer.speakwait(text);
        const std::vector<float> played = audio.rendered();
        std::size_t first = firstAudible(played, before), last = played.size();
        while (last > first && !audible(played[last - 1]))
            --last;
        double peak = 0;
        for (std::size_t i = first; i < last; ++i)
            peak = std::max(peak, double(std::abs(played[i])));
        return std::pair(double(last - first) / audio.rate(), peak);
    };
    const auto [slowSeconds, fullPeak] = speakAndMeasure("\\Spd=100\\\\Vol=65280\\");
    const auto [fastSeconds, quietPeak] = speakAndMeasure("\\Spd=400\\\\Vol=16384\\");
    EXPECT_GT(slowSeconds, 2 * fastSeconds);
    EXPECT_LT(quietPeak, fullPeak * 0.4);
    EXPECT_GT(quietPeak, fullPeak * 0.1);
}

TEST_F(VoiceSelectionTest, ANewEngineEndsWithTheValuesTheTrackBarsShow) {
    // The bars held other ranges before (as after a previous voice): moving into the engine's
    // ranges runs the change handlers, and the engine ends equal to the bars.
    selection.speedtb.setMax(1000);
    selection.speedtb.setPosition(900);
    selection.volumetb.setPosition(3);
    wireLikeTheDialog(selection);
    openEngine();
    TtsEngine &engine = *selection.ttscentral();
    EXPECT_EQ(engine.attributeGet(TtsAttribute::speed), uint32_t(selection.speedtb.position()));
    EXPECT_EQ(engine.attributeGet(TtsAttribute::volume).value() % 65536 / 256,
              uint32_t(selection.volumetb.position()));
}

// Notes how the sink is registered with each engine; everything else goes to the real ones.
class NotingEngine final : public TtsEngine {
public:
    NotingEngine(std::unique_ptr<TtsEngine> real, std::vector<std::string> &notes, int number)
        : real_(std::move(real)), notes_(notes), number_(std::to_string(number)) {}
    void textData(const std::string &t) override { real_->textData(t); }
    void audioReset() override { real_->audioReset(); }
    void inject(const std::string &t) override { real_->inject(t); }
    uint32_t registerSink(TtsNotifySink *sink) override {
        const uint32_t key = real_->registerSink(sink);
        notes_.push_back("register " + number_);
        return key;
    }
    void unregisterSink(uint32_t key) override {
        notes_.push_back("unregister " + number_);
        real_->unregisterSink(key);
    }
    std::optional<uint32_t> attributeGet(TtsAttribute a) const override {
        return real_->attributeGet(a);
    }
    bool attributeSet(TtsAttribute a, uint32_t v) override { return real_->attributeSet(a, v); }

private:
    std::unique_ptr<TtsEngine> real_;
    std::vector<std::string> &notes_;
    std::string number_;
};

class NotingSource final : public TtsVoiceSource {
public:
    NotingSource(std::unique_ptr<TtsVoiceSource> real, std::vector<std::string> &notes)
        : real_(std::move(real)), notes_(notes) {}
    std::vector<TtsModeInfo> modes() const override { return real_->modes(); }
    std::unique_ptr<TtsEngine> select(const TtsModeInfo &mode) override {
        notes_.push_back("select " + mode.modeName);
        return std::make_unique<NotingEngine>(real_->select(mode), notes_, ++opened_);
    }

private:
    std::unique_ptr<TtsVoiceSource> real_;
    std::vector<std::string> &notes_;
    int opened_ = 0;
};

TEST_F(VoiceSelectionTest, SelectingTwiceWithdrawsTheFirstRegistration) {
    std::vector<std::string> notes;
    VoiceSelection noted(settings, layer, layer.notifysink, [&] {
        return std::make_unique<NotingSource>(makeEspeakVoiceSource(loop, audio.pcm()), notes);
    });
    layer.setVoiceSelection(&noted);
    noted.initsapi4();
    noted.listvoices();
    noted.selectvoice();
    noted.voicelist.selected = 1;
    noted.voicelistClick();
    noted.selectvoice();
    EXPECT_THAT(notes, ElementsAre("select Jakub", "register 1", "unregister 1", "select Slovak",
                                   "register 2"));
    // The sink now hears the new engine.
    settings.voiceallowed = true;
    layer.speakwait("Ahoj.");
    EXPECT_FALSE(layer.state.sapi4speaking);
    layer.setVoiceSelection(&selection);
}

TEST_F(VoiceSelectionTest, NoVoiceSourceMeansNothingToListOrOpen) {
    VoiceSelection none(settings, layer, layer.notifysink,
                        []() -> std::unique_ptr<TtsVoiceSource> { throw HuntError("no voices"); });
    none.initsapi4();
    EXPECT_FALSE(none.hasvoices());
    none.listvoices();
    EXPECT_THAT(none.voicelist.items, IsEmpty());
    none.selectvoice();
    EXPECT_FALSE(none.engineopen());
    EXPECT_FALSE(settings.voiceready);
    EXPECT_FALSE(none.speedtb.enabled);
    none.audioreset();
    none.inject("\\Spd=100\\");
}

// An output that refuses speech, as a device that has gone away would.
class RefusingPcm final : public PcmStream {
public:
    void write(const int16_t *, std::size_t, int) override {
        throw HuntError("The sound device refused speech");
    }
    void flush() override { throw HuntError("The sound device is gone"); }
    std::size_t pending() const override { throw HuntError("The sound device is gone"); }
};

TEST_F(VoiceSelectionTest, AnOutputThatRefusesSpeechEndsTheTextNotTheProgram) {
    RefusingPcm refusing;
    VoiceSelection broken(settings, layer, layer.notifysink,
                          [&] { return makeEspeakVoiceSource(loop, refusing); });
    layer.setVoiceSelection(&broken);
    broken.initsapi4();
    broken.listvoices();
    broken.selectvoice();
    settings.voiceallowed = true;
    layer.speakwait("Ahoj.");
    EXPECT_FALSE(layer.state.sapi4speaking);
    layer.speak("Ahoj.");
    loop.processEvents();
    layer.stopspeech();
    playFor(std::chrono::milliseconds(50));
    EXPECT_FALSE(layer.state.sapi4speaking);
    layer.setVoiceSelection(&selection);
}

TEST_F(VoiceSelectionTest, ReplacingTheEngineEndsAWaitOnTheOldOne) {
    openEngine();
    // A handler inside the wait opens another voice: the old engine's end can no longer come.
    auto handler = loop.createTimer();
    handler->setInterval(20);
    handler->ontimer = [&] {
        handler->setEnabled(false);
        selection.voicelist.selected = 1;
        selection.voicelistClick();
        selection.selectvoice();
    };
    handler->setEnabled(true);
    const auto start = std::chrono::steady_clock::now();
    layer.speakwait(toCp1250("Dlouhá věta, která se nedočká svého konce, protože hlas se změní."));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

} // namespace
} // namespace hunt::testing
