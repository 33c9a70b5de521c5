// The voice dialog driven with real key events over the voice selection, with a recording
// engine in place of the embedded one.
#include "input/dialog_driver.h"

#include "audio/audio_device.h"
#include "audio/espeak_engine.h"
#include "audio/mixer.h"
#include "audio/tts_engine.h"
#include "audio/voice_dialog.h"
#include "audio/voice_selection.h"
#include "runtime/errors.h"
#include "runtime/input_dialog.h"
#include "shell/ini_file.h"
#include "shell/qt_event_loop.h"

#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <algorithm>

namespace hunt {
namespace {

using testing::EventLog;
using testing::tap;
using testing::withoutStops;

// An engine that logs what the dialog asks of it; speed 80-450, pitch 0-100, 16-bit volume.
class RecordingEngine final : public TtsEngine {
public:
    explicit RecordingEngine(EventLog &log) : log_(log) {}
    void textData(const std::string &text) override { log_.push_back("engine:" + text); }
    void audioReset() override { log_.push_back("reset"); }
    void inject(const std::string &tags) override {
        if (failInject)
            throw HuntError("engine refused " + tags);
        log_.push_back("inject:" + tags);
    }
    static inline bool failInject = false;
    uint32_t registerSink(TtsNotifySink *) override { return 1; }
    void unregisterSink(uint32_t) override {}
    std::optional<uint32_t> attributeGet(TtsAttribute attribute) const override {
        return values_[index(attribute)];
    }
    bool attributeSet(TtsAttribute attribute, uint32_t value) override {
        static constexpr uint32_t low[] = {80, 0, 0}, high[] = {450, 100, 65535};
        const int i = index(attribute);
        values_[i] = std::clamp(value, low[i], high[i]);
        return true;
    }

private:
    static int index(TtsAttribute attribute) { return static_cast<int>(attribute); }
    EventLog &log_;
    uint32_t values_[3] = {150, 50, 200 * 256};
};

class RecordingSource final : public TtsVoiceSource {
public:
    explicit RecordingSource(EventLog &log) : log_(log) {}
    std::vector<TtsModeInfo> modes() const override {
        return {{"adam", "Adam"}, {"jakub", "Jakub"}, {"eva", "Eva"}};
    }
    std::unique_ptr<TtsEngine> select(const TtsModeInfo &) override {
        return std::make_unique<RecordingEngine>(log_);
    }

private:
    EventLog &log_;
};

class NoSink final : public TtsNotifySink {
public:
    void AttribChanged(uint32_t) override {}
    void AudioStart(uint64_t) override {}
    void AudioStop(uint64_t) override {}
};

class DialogVoice : public ::testing::Test {
protected:
    // The Voice command: the saved settings applied (the engine opened), the list focused,
    // the dialog shown.
    int open(std::function<void()> script) {
        voices.selectvoice();
        log.clear();
        form.voicelist->setFocus();
        return testing::runModal(
            form, [this] { return form.exec(); }, std::move(script));
    }

    EventLog log;
    testing::RecordingSpeech speech{log};
    GlobalSettings settings = testing::englishSettings();
    NoSink sink;
    VoiceSelection voices{settings, speech, sink,
                          [this] { return std::make_unique<RecordingSource>(log); }};
    bool sourceCreated = (voices.initsapi4(), true); // as at start-up, before the dialog
    IniFile ini{"/nonexistent-directory/hunt.ini"};  // no file: the voice is allowed
    TForm4 form{voices, settings, speech, ini};
};

TEST_F(DialogVoice, CreationListsTheVoicesAndPrefersJakub) {
    EXPECT_TRUE(settings.voiceallowed);
    ASSERT_EQ(form.voicelist->count(), 3);
    EXPECT_EQ(form.voicelist->currentItem()->text(), "Jakub");
    EXPECT_EQ(form.windowTitle(), "Voice settings");
    EXPECT_EQ(form.speedstatic->text(), "&Speed");
    EXPECT_EQ(form.speedstatic->buddy(), form.speedtb);
    EXPECT_FALSE(form.speedtb->isEnabled()) << "no engine yet";
    EXPECT_EQ(log, EventLog{}) << "nothing is said while the dialog is not active";
}

TEST_F(DialogVoice, OpeningAnnouncesTheDialogAndTheVoice) {
    open([&] {
        EXPECT_EQ(log, (EventLog{"say:Voice settings", "say:&Voices Jakub"}));
        EXPECT_TRUE(form.voicedialogactivated);
        EXPECT_TRUE(form.speedtb->isEnabled());
    });
    EXPECT_FALSE(form.voicedialogactivated);
}

TEST_F(DialogVoice, TrackBarsSayTheirNameAndValueAndInjectEachMove) {
    open([&] {
        log.clear();
        tap(form.voicelist, Qt::Key_Tab, "\t");
        EXPECT_EQ(withoutStops(log), (EventLog{"reset", "say:&Pitch 50"}));
        log.clear();
        tap(form.pitchtb, Qt::Key_Tab, "\t");
        EXPECT_EQ(withoutStops(log), (EventLog{"reset", "say:&Speed 150"}));
        log.clear();
        tap(form.speedtb, Qt::Key_Right);
        EXPECT_EQ(withoutStops(log), (EventLog{"reset", "inject:\\Spd=151\\", "say:151"}));
        log.clear();
        tap(form.speedtb, Qt::Key_Tab, "\t");
        EXPECT_EQ(withoutStops(log), (EventLog{"reset", "say:Vo&lume 200"}));
        log.clear();
        tap(form.volumetb, Qt::Key_Right);
        EXPECT_EQ(withoutStops(log), (EventLog{"reset", "inject:\\Vol=51456\\", "say:201"}));
        log.clear();
        tap(form.volumetb, Qt::Key_Tab, "\t");
        tap(form.vyberhlasbitbtn, Qt::Key_Tab, "\t");
        EXPECT_EQ(withoutStops(log),
                  (EventLog{"reset", "say:&Choose voice", "reset", "say:&Close"}));
    });
    EXPECT_EQ(voices.speedtb.position(), 151);
    EXPECT_EQ(voices.volumetb.position(), 201);
}

TEST_F(DialogVoice, ChoosingAVoiceSaysItsName) {
    open([&] {
        log.clear();
        tap(form.voicelist, Qt::Key_Down);
        EXPECT_EQ(withoutStops(log), (EventLog{"reset", "say:Eva"}));
        EXPECT_EQ(voices.currentmode()->modeName, "Eva");
    });
}

TEST_F(DialogVoice, MovesByTheProgramInjectSilentlyWhenNotActive) {
    voices.selectvoice();
    // Enabled as soon as the engine gives the ranges, before the dialog is shown again.
    const std::vector<QWidget *> controls = {form.speedtb,     form.pitchtb,     form.volumetb,
                                             form.speedstatic, form.pitchstatic, form.volumestatic};
    for (QWidget *control : controls)
        EXPECT_TRUE(control->isEnabled()) << control->objectName().toStdString();
    log.clear();
    voices.speedtb.setPosition(200);
    EXPECT_EQ(log, (EventLog{"reset", "inject:\\Spd=200\\"}));
    EXPECT_EQ(form.speedtb->value(), 200);
    EXPECT_EQ(form.speedtb->minimum(), 80);
    EXPECT_EQ(form.speedtb->maximum(), 450);
    EXPECT_EQ(form.volumetb->maximum(), 255);
}

TEST_F(DialogVoice, EnterChoosesAndEscapeCloses) {
    EXPECT_EQ(open([&] { tap(form.voicelist, Qt::Key_Return, "\r"); }), modalOk);
    EXPECT_EQ(open([&] { tap(form.voicelist, Qt::Key_Escape, "\x1b"); }), modalCancel);
    EXPECT_EQ(open([&] { form.close(); }), modalCancel);
}

TEST_F(DialogVoice, AnEngineErrorIsShownAndTheDialogGoesOn) {
    QString shown;
    open([&] {
        RecordingEngine::failInject = true;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown = box->text();
            box->accept();
        });
        form.speedtb->setFocus();
        tap(form.speedtb, Qt::Key_Right);
        RecordingEngine::failInject = false;
        EXPECT_EQ(shown, "engine refused \\Spd=151\\");
        EXPECT_TRUE(form.isVisible());
        ASSERT_TRUE(testing::waitActive(form));
        log.clear();
        tap(form.speedtb, Qt::Key_Right);
        EXPECT_EQ(withoutStops(log), (EventLog{"reset", "inject:\\Spd=152\\", "say:152"}));
    });
}

// Writes docs/voice-dialog.png when HUNT_SCREENSHOT_DIR is set (run under Xvfb).
TEST_F(DialogVoice, Screenshot) {
    if (!testing::screenshotsWanted())
        GTEST_SKIP() << "HUNT_SCREENSHOT_DIR not set";
    open([&] { testing::screenshot(form, "voice-dialog.png"); });
}

// The dialog over the embedded engine itself: its voices, its ranges, and the tags of each
// move changing the engine's own speed and volume.
TEST(DialogVoiceEngine, TrackBarMovesReachTheEmbeddedEngine) {
    QtEventLoop events;
    Mixer mixer(std::make_unique<LoopbackAudioDevice>());
    EventLog log;
    testing::RecordingSpeech speech{log};
    GlobalSettings settings = testing::englishSettings();
    NoSink sink;
    VoiceSelection voices{settings, speech, sink,
                          [&] { return makeEspeakVoiceSource(events, mixer); }};
    voices.initsapi4();
    IniFile ini{"/nonexistent-directory/hunt.ini"};
    TForm4 form{voices, settings, speech, ini};
    ASSERT_GT(form.voicelist->count(), 1);
    EXPECT_EQ(form.voicelist->currentItem()->text(), "Jakub");

    voices.selectvoice();
    EXPECT_EQ(form.speedtb->minimum(), 80);
    EXPECT_EQ(form.speedtb->maximum(), 450);
    EXPECT_EQ(form.volumetb->maximum(), 255);
    const int speed = form.speedtb->value();
    const int volume = form.volumetb->value();

    form.voicelist->setFocus();
    testing::runModal(
        form, [&] { return form.exec(); },
        [&] {
            form.speedtb->setFocus();
            log.clear();
            tap(form.speedtb, Qt::Key_Right);
            EXPECT_EQ(withoutStops(log), EventLog{"say:" + std::to_string(speed + 1)});
            form.volumetb->setFocus();
            tap(form.volumetb, Qt::Key_Left);
        });
    TtsEngine *engine = voices.ttscentral();
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(engine->attributeGet(TtsAttribute::speed), static_cast<uint32_t>(speed + 1));
    EXPECT_EQ(engine->attributeGet(TtsAttribute::volume),
              static_cast<uint32_t>((volume - 1) * 256));
}

TEST(DialogVoiceSettings, VoiceNotAllowedListsNothing) {
    QTemporaryDir dir;
    IniFile ini(dir.filePath("hunt.ini").toStdString());
    ini.writeFlag("voice", "voiceallowed", false);
    EventLog log;
    testing::RecordingSpeech speech{log};
    GlobalSettings settings = testing::englishSettings();
    NoSink sink;
    VoiceSelection voices{settings, speech, sink,
                          [&] { return std::make_unique<RecordingSource>(log); }};
    voices.initsapi4();
    TForm4 form{voices, settings, speech, ini};
    EXPECT_FALSE(settings.voiceallowed);
    EXPECT_EQ(form.voicelist->count(), 0);
}

} // namespace
} // namespace hunt
