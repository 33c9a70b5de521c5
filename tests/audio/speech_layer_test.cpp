// The speech layer over real engines: espeak-ng rendered through the test output, and a private
// speech-dispatcher for the system voice.
#include "audio/speech_test_daemon.h"
#include "audio/speech_test_fixture.h"
#include "audio/speechd_voice.h"
#include "runtime/errors.h"
#include "support/doubles.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <sstream>
#include <unistd.h>

// libspeechd keeps a few bytes (glib strings) of a connection that failed to open; the leak
// checker of the sanitizer build is told so. Without frame pointers in those libraries the
// trace ends in glib.
extern "C" const char *__lsan_default_suppressions() {
    return "leak:spd_open2\nleak:libglib-2.0.so\n";
}

namespace hunt::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

const std::string longCzech =
    toCp1250("Toto je velmi dlouhý text, který by se četl mnoho sekund, kdyby ho nikdo nepřerušil. "
             "Ještě jedna dlouhá věta, aby řeč trvala opravdu dlouho a bylo co zastavit.");

class SpeechLayerTest : public SpeechStack {};

TEST_F(SpeechLayerTest, SpeakwaitPlaysTheTextAndReturnsWhenItHasBeenHeard) {
    openEngine();
    const std::size_t before = audio.renderedCount();
    const auto start = std::chrono::steady_clock::now();
    layer.speakwait(toCp1250("Dobrý den, jak se máte?"));
    const auto waited = std::chrono::steady_clock::now() - start;

    EXPECT_FALSE(layer.state.sapi4speaking);
    EXPECT_EQ(audio.pcm().pending(), 0u) << "returned before the last sample was played";
    const std::vector<float> played = audio.rendered();
    const std::size_t first = firstAudible(played, before);
    ASSERT_LT(first, played.size()) << "nothing was heard";
    // About a second of speech, all of it played before the wait returned.
    std::size_t last = played.size();
    while (last > first && !audible(played[last - 1]))
        --last;
    const double heardSeconds = double(last - first) / audio.rate();
    EXPECT_GT(heardSeconds, 0.5);
    EXPECT_GE(std::chrono::duration<double>(waited).count(), heardSeconds * 0.9);
    EXPECT_THAT(logLines(), ElementsAre("speakwait\tsapi4\tDobrý den, jak se máte?"));
}

TEST_F(SpeechLayerTest, StopspeechFromAKeyInsideTheWaitSilencesAtOnce) {
    openEngine();
    // A key handler running inside the wait: once speech has been heard for a while, a key goes
    // down and stops it.
    std::size_t stoppedAt = 0;
    const std::size_t before = audio.renderedCount();
    auto key = loop.createTimer();
    key->setInterval(10);
    key->ontimer = [&] {
        const std::vector<float> played = audio.rendered();
        const std::size_t first = firstAudible(played, before);
        if (first < played.size() && played.size() - first > std::size_t(audio.rate()) / 4) {
            key->setEnabled(false);
            layer.stopspeech();
            stoppedAt = audio.renderedCount();
        }
    };
    key->setEnabled(true);
    const auto start = std::chrono::steady_clock::now();
    layer.speakwait(longCzech);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s) << "the wait outlived the stop";
    ASSERT_GT(stoppedAt, 0u);
    EXPECT_FALSE(layer.state.sapi4speaking);
    playFor(100ms);
    const std::vector<float> played = audio.rendered();
    // A block rendered just before the stop may reach the recording after it; one mixer
    // period later everything is silent.
    const std::size_t silentFrom = stoppedAt + SpeechTestAudio::periodFrames;
    EXPECT_EQ(countAudible(played, silentFrom), 0u);
    EXPECT_EQ(audio.pcm().pending(), 0u);
}

TEST_F(SpeechLayerTest, SpeakDoesNotWaitAndTextsFollowInOrder) {
    openEngine();
    const auto start = std::chrono::steady_clock::now();
    layer.speak(toCp1250("První věta."));
    layer.speak(toCp1250("Druhá věta."));
    EXPECT_LT(std::chrono::steady_clock::now() - start, 200ms);
    // speakwait queues behind them and returns when all three have been heard.
    const std::size_t before = audio.renderedCount();
    layer.speakwait(toCp1250("Třetí."));
    EXPECT_EQ(audio.pcm().pending(), 0u);
    EXPECT_GT(countAudible(audio.rendered(), before), std::size_t(audio.rate()) / 2);
    EXPECT_THAT(logLines(), ElementsAre("speak\tsapi4\tPrvní věta.", "speak\tsapi4\tDruhá věta.",
                                        "speakwait\tsapi4\tTřetí."));
}

TEST_F(SpeechLayerTest, CapitalKeySoundsTheHighToneBeforeItsEcho) {
    openEngine();
    setEcho('A', "velké A");
    const std::size_t before = audio.renderedCount();
    layer.speakkey("A");
    const std::vector<float> played = audio.rendered();
    const std::size_t toneStart = firstAudible(played, before);
    ASSERT_LT(toneStart, played.size());
    const std::size_t toneEnd = toneStart + std::size_t(audio.rate()) * 20 / 1000;
    const double frequency =
        zeroCrossingFrequency(played, toneStart + 20, toneEnd - 20, audio.rate());
    EXPECT_NEAR(frequency, 2000, 40);
    // The echo follows the tone and is heard in full before speakkey returns.
    EXPECT_GT(countAudible(played, toneEnd + 10), std::size_t(audio.rate()) / 10);
    EXPECT_EQ(audio.pcm().pending(), 0u);
    EXPECT_THAT(sound.calls, ElementsAre(2000.0));
}

// What speakkey does with one key: the tone (or none) and the text it speaks.
struct KeyCase {
    const char *name;
    std::string key;
    bool tone;
    std::string spoken; // "" = nothing
};
void PrintTo(const KeyCase &c, std::ostream *out) {
    *out << c.name;
}

class SpeakkeyLookupTest : public SpeechLayerTest, public ::testing::WithParamInterface<KeyCase> {};

TEST_P(SpeakkeyLookupTest, TonesAndEchoes) {
    openEngine();
    // A key-echo file as the braille reader loads it; a later slot with the same code is never
    // reached.
    std::istringstream file(toCp1250("65=áčko\n193=velké á\n225=malé á\n167=paragraf\n"
                                     "113=\n65=druhé A\n"));
    loadechokeys(echokeys, file, "test.vky");
    const KeyCase &c = GetParam();
    layer.speakkey(c.key);
    EXPECT_EQ(sound.calls.size(), c.tone ? 1u : 0u);
    if (c.spoken.empty()) {
        EXPECT_THAT(logLines(), ::testing::Each(::testing::StartsWith("speakkey\tnone")));
    } else {
        EXPECT_THAT(logLines(), ElementsAre("speakkey\tsapi4\t" + c.spoken));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, SpeakkeyLookupTest,
    ::testing::Values(KeyCase{"CapitalA", "A", true, "áčko"},
                      KeyCase{"TwoCharactersNoTone", "AB", false, "áčko"},
                      KeyCase{"CapitalAcute", "\xC1", true, "velké á"},
                      KeyCase{"SmallAcute", "\xE1", false, "malé á"},
                      KeyCase{"SectionSignIsNoCapital", "\xA7", false, "paragraf"},
                      KeyCase{"CapitalWithoutSlot", "Z", true, ""},
                      KeyCase{"EmptySlotText", "q", false, ""},
                      KeyCase{"CodeZeroIsEmpty", std::string(1, '\0'), false, ""},
                      KeyCase{"EmptyText", "", false, ""}),
    [](const ::testing::TestParamInfo<KeyCase> &param) { return std::string(param.param.name); });

TEST_F(SpeechLayerTest, NoVoiceModeIsSilentButKeysStillEcho) {
    openEngine();
    settings.voiceallowed = false; // switched off in the sound dialog, engine still open
    setEcho('k', toCp1250("ká"));
    const std::size_t before = audio.renderedCount();
    const auto start = std::chrono::steady_clock::now();
    layer.speak("nic");
    layer.speakwait("nic");
    EXPECT_LT(std::chrono::steady_clock::now() - start, 100ms);
    playFor(100ms);
    EXPECT_EQ(countAudible(audio.rendered(), before), 0u);
    layer.speakkey("k");
    EXPECT_GT(countAudible(audio.rendered(), before), 0u);
    EXPECT_THAT(logLines(),
                ElementsAre("speak\tnone\tnic", "speakwait\tnone\tnic", "speakkey\tsapi4\tká"));
}

TEST_F(SpeechLayerTest, KeysFallSilentWhenNoEngineIsReady) {
    openEngine();
    settings.voiceready = false; // the system voice was switched off again
    setEcho('k', toCp1250("ká"));
    layer.speakkey("K");
    EXPECT_THAT(sound.calls, IsEmpty());
    EXPECT_THAT(logLines(), IsEmpty());
    // speak still uses the engine that stays open.
    layer.speakwait("ano");
    EXPECT_THAT(logLines(), ElementsAre("speakwait\tsapi4\tano"));
}

TEST_F(SpeechLayerTest, WithoutAnEngineNothingIsSpokenAndNothingWaits) {
    settings.voiceallowed = true;
    settings.voiceready = true;
    setEcho('k', toCp1250("ká"));
    layer.speakwait("ano");
    layer.speakkey("k");
    layer.stopspeech();
    EXPECT_THAT(logLines(), ElementsAre("speakwait\tnone\tano", "speakkey\tnone\tká"));
}

TEST_F(SpeechLayerTest, EmptyTextReturnsAtOnceInEveryMode) {
    openEngine();
    layer.speakwait("");
    layer.speak("");
    EXPECT_FALSE(layer.state.sapi4speaking);
    EXPECT_THAT(logLines(), ElementsAre("speakwait\tnone\t", "speak\tnone\t"));
}

TEST_F(SpeechLayerTest, StopspeechWithNothingPlayingLeavesTheEngineAlone) {
    openEngine();
    layer.stopspeech();
    EXPECT_THAT(logLines(), IsEmpty());
}

// The system voice: a private speech-dispatcher, started once per test process and stopped
// when the process ends.
PrivateSpeechd *daemon() {
    static PrivateSpeechd instance;
    return &instance;
}

class SystemVoiceTest : public SpeechStack {
protected:
    SystemVoiceTest()
        : SpeechStack([](EventLoop &l) { return makeSpeechdVoice(l, daemon()->socket(), false); }) {
    }
    void SetUp() override {
        if (!daemon()->running())
            GTEST_FAIL() << "private speech-dispatcher: " << daemon()->error();
        openEngine();
        settings.sapi5 = true;
        settings.voiceready = true;
    }
};

TEST_F(SystemVoiceTest, SpeakwaitGoesToTheSystemVoiceAndEndsWithItsStream) {
    setEcho('x', "<pitch absmiddle=\"5\">iks</pitch>");
    const std::size_t before = audio.renderedCount();
    layer.speakwait("Hello from the system voice.");
    EXPECT_FALSE(layer.state.sapi5speaking);
    layer.speakkey("x");
    layer.speak("queued");
    playFor(200ms);
    // The embedded engine, open as it is, said nothing.
    EXPECT_EQ(countAudible(audio.rendered(), before), 0u);
    EXPECT_THAT(logLines(), ElementsAre("speakwait\tsapi5\tHello from the system voice.",
                                        "speakkey\tsapi5\t<pitch absmiddle=\"5\">iks</pitch>",
                                        "speak\tsapi5\tqueued"));
}

TEST_F(SystemVoiceTest, StopspeechInsideTheWaitPurgesAndEndsIt) {
    auto key = loop.createTimer();
    key->setInterval(5);
    key->ontimer = [&] {
        if (layer.state.sapi5speaking) {
            key->setEnabled(false);
            layer.stopspeech();
        }
    };
    key->setEnabled(true);
    const auto start = std::chrono::steady_clock::now();
    layer.speakwait(longCzech + longCzech + longCzech);
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
    EXPECT_FALSE(layer.state.sapi5speaking);
}

TEST_F(SystemVoiceTest, EmptyTextsSayNothingAndSpeakwaitReturnsAtOnce) {
    layer.speakwait("");
    EXPECT_FALSE(layer.state.sapi5speaking);
    layer.speak("");
    playFor(100ms);
    EXPECT_FALSE(layer.state.sapi5speaking);
    EXPECT_THAT(logLines(), ElementsAre("speakwait\tnone\t", "speak\tnone\t"));
}

// A daemon without a working audio output says a text has started and never that it ended.
PrivateSpeechd *brokenDaemon() {
    static PrivateSpeechd instance(true);
    return &instance;
}

class BrokenSystemVoiceTest : public SpeechStack {
protected:
    BrokenSystemVoiceTest()
        : SpeechStack([](EventLoop &l) {
              return makeSpeechdVoice(l, brokenDaemon()->socket(), false, 1s);
          }) {}
};

TEST_F(BrokenSystemVoiceTest, AWaitForAnEndThatNeverComesStillEnds) {
    if (!brokenDaemon()->running())
        GTEST_FAIL() << "private speech-dispatcher: " << brokenDaemon()->error();
    settings.sapi5 = true;
    settings.voiceready = true;
    const auto start = std::chrono::steady_clock::now();
    layer.speakwait("Hi.");
    const auto waited = std::chrono::steady_clock::now() - start;
    EXPECT_FALSE(layer.state.sapi5speaking);
    EXPECT_GE(waited, 1s) << "ended before the daemon could have spoken";
    EXPECT_LT(waited, 30s);
}

class UnreachableSystemVoiceTest : public SpeechStack {
protected:
    UnreachableSystemVoiceTest()
        : SpeechStack([](EventLoop &l) {
              return makeSpeechdVoice(l, "/nonexistent/hunt-speechd.sock", false);
          }) {}
};

TEST_F(UnreachableSystemVoiceTest, FailsClearlyAndLeavesNoWaitBehind) {
    settings.sapi5 = true;
    settings.voiceready = true;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_THROW(layer.speakwait("hello"), HuntError);
    EXPECT_FALSE(layer.state.sapi5speaking);
    EXPECT_THROW(layer.speak("hello"), HuntError);
    // A key going down before the service was ever reached has nothing to stop.
    EXPECT_NO_THROW(layer.stopspeech());
    EXPECT_LT(std::chrono::steady_clock::now() - start, 10s);
}

TEST(SapiXmlTest, TagsAreRemovedAndEntitiesRead) {
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"<pitch middle=\"5\">A</pitch>", "A"},
        {"<silence msec=\"100\"/>dot", "dot"},
        {"&lt;less&gt; &amp; &quot;q&quot; &apos;", "<less> & \"q\" '"},
        {"a < b", "a < b"},
        {"&unknown;", "&unknown;"},
        {"<>", ""},
    };
    for (const auto &[in, out] : cases)
        EXPECT_EQ(stripSapiXml(in), out) << in;
}

} // namespace
} // namespace hunt::testing

namespace hunt::testing {
namespace {

TEST(SpeechLogTest, LinesAreUtf8WithControlCharactersEscaped) {
    EXPECT_EQ(SpeechLog::formatLine("speak", "sapi4", toCp1250("a\tb\\c\r\nžluť")),
              "speak\tsapi4\ta\\tb\\\\c\\r\\nžluť");
}

TEST(SpeechLogTest, TheEnvironmentNamesALogFile) {
    const auto path = std::filesystem::temp_directory_path() /
                      ("hunt-speech-env-" + std::to_string(::getpid()) + ".log");
    ::setenv("HUNT_SPEECH_LOG", path.c_str(), 1);
    {
        QueueEventLoop loop;
        GlobalSettings settings;
        EchoKeys echokeys;
        EventLog events;
        RecordingSound sound{events};
        SpeechLayer layer(settings, loop, sound, echokeys, nullptr);
        layer.speakwait(toCp1250("Dobrý den"));
    }
    ::unsetenv("HUNT_SPEECH_LOG");
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line, "speakwait\tnone\tDobrý den");
    std::filesystem::remove(path);
}

TEST(SpeechLogTest, AnUnwritableLogIsReportedAndSpeechGoesOn) {
    ::setenv("HUNT_SPEECH_LOG", "/nonexistent-dir/speech.log", 1);
    QueueEventLoop loop;
    GlobalSettings settings;
    EchoKeys echokeys;
    EventLog events;
    RecordingSound sound{events};
    EXPECT_NO_THROW({
        SpeechLayer layer(settings, loop, sound, echokeys, nullptr);
        layer.speakwait("x");
    });
    ::unsetenv("HUNT_SPEECH_LOG");
}

} // namespace
} // namespace hunt::testing
