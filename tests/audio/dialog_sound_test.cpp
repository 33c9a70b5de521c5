// The sound dialog driven with real key events: the volume it sets and the sample it plays.
#include "input/dialog_driver.h"

#include "audio/mixer.h"
#include "audio/sound_dialog.h"
#include "audio/sound_effects.h"
#include "audio/sound_test_support.h"
#include "runtime/globals.h"
#include "runtime/input_dialog.h"
#include "shell/qt_event_loop.h"

#include <QAccessible>
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSlider>

namespace hunt {
namespace {

using testing::EventLog;
using testing::tap;

class DialogSound : public ::testing::Test {
protected:
    // Fills the dialog as the Sounds command does, then shows it and runs the script.
    int open(int position, std::function<void()> script) {
        form.voicecheckbox->setChecked(true);
        form.vintrasoundschk->setChecked(settings.vintrasounds);
        form.sndvoltrackbar->setValue(position);
        form.sndvoltrackbar->setFocus();
        return testing::runModal(
            form, [this] { return form.exec(); }, std::move(script));
    }

    EventLog log;
    testing::RecordingSound sound{log};
    GlobalSettings settings = testing::englishSettings();
    TForm5 form{settings, sound};
};

TEST_F(DialogSound, MovingTheTrackBarSetsTheVolumeAndPlaysTheSample) {
    open(50, [&] {
        EXPECT_EQ(settings.sndvolume, -5000);
        EXPECT_EQ(log, EventLog{}) << "a position set before showing plays nothing";
        tap(form.sndvoltrackbar, Qt::Key_Right);
        EXPECT_EQ(form.sndvoltrackbar->value(), 51);
        EXPECT_EQ(settings.sndvolume, -4900);
        EXPECT_EQ(log, EventLog{"tone:1000/100/1"});
    });
}

TEST_F(DialogSound, EndsOfTheRange) {
    open(1, [&] {
        tap(form.sndvoltrackbar, Qt::Key_Left);
        EXPECT_EQ(settings.sndvolume, -10000);
        tap(form.sndvoltrackbar, Qt::Key_End);
        EXPECT_EQ(form.sndvoltrackbar->value(), 100);
        EXPECT_EQ(settings.sndvolume, 0);
        tap(form.sndvoltrackbar, Qt::Key_Right);
        EXPECT_EQ(settings.sndvolume, 0);
    });
}

TEST_F(DialogSound, TheSoundsCheckBoxEnablesTheTrackBarAtOnce) {
    settings.vintrasounds = false;
    open(50, [&] {
        EXPECT_FALSE(form.sndvoltrackbar->isEnabled());
        form.vintrasoundschk->setFocus();
        tap(form.vintrasoundschk, Qt::Key_Space, " ");
        EXPECT_TRUE(form.vintrasoundschk->isChecked());
        EXPECT_TRUE(form.sndvoltrackbar->isEnabled());
        EXPECT_FALSE(settings.vintrasounds) << "the switch acts only after OK";
        tap(form.vintrasoundschk, Qt::Key_Space, " ");
        EXPECT_FALSE(form.sndvoltrackbar->isEnabled());
    });
}

TEST_F(DialogSound, ResultsOfTheButtons) {
    EXPECT_EQ(open(50, [&] { tap(form.sndvoltrackbar, Qt::Key_Return, "\r"); }), modalOk);
    EXPECT_EQ(open(50, [&] { tap(form.sndvoltrackbar, Qt::Key_Escape, "\x1b"); }), modalCancel);
    EXPECT_EQ(open(50, [&] { form.cancelbitbtn->click(); }), modalCancel);
    EXPECT_EQ(open(50, [&] { form.close(); }), modalCancel);
    EXPECT_EQ(form.windowTitle(), "Sounds settings");
    EXPECT_EQ(form.vintrasoundschk->text(), "&Vintra sounds");
}

// The sample played through the real sound effects, rendered offline: its level follows the
// track bar, and nothing sounds while sound effects are off.
class DialogSoundRendered : public ::testing::Test {
protected:
    DialogSoundRendered() { mixer.loadBank(testing::defaultBank()); }

    // The level of 1000 Hz in the output while the sample of one track bar move plays.
    double levelOfMove(Qt::Key key) {
        double level = -1;
        QTimer::singleShot(20, &form, [&] {
            const std::vector<float> frames = output.render(4800);
            level = testing::amplitudeAt(testing::leftChannel(frames), 1000, output.sampleRate());
        });
        tap(form.sndvoltrackbar, key);
        QTest::qWait(60); // the render has run, during the sample or after it
        return level;
    }
    int open(int position, std::function<void()> script) {
        form.vintrasoundschk->setChecked(settings.vintrasounds);
        form.sndvoltrackbar->setValue(position);
        form.sndvoltrackbar->setFocus();
        return testing::runModal(
            form, [this] { return form.exec(); }, std::move(script));
    }

    GlobalSettings settings = testing::englishSettings();
    ToneState tone;
    std::unique_ptr<LoopbackAudioDevice> device = std::make_unique<LoopbackAudioDevice>(48000);
    LoopbackAudioDevice &output = *device;
    Mixer mixer{std::move(device)};
    QtEventLoop events;
    std::unique_ptr<Timer> timer = events.createTimer();
    SoundEffects effects{mixer, events, *timer, settings, tone};
    TForm5 form{settings, effects};
};

TEST_F(DialogSoundRendered, SampleSoundsAtTheNewVolume) {
    open(99, [&] {
        const double full = levelOfMove(Qt::Key_Right); // 100: 0 dB
        EXPECT_EQ(settings.sndvolume, 0);
        form.sndvoltrackbar->setValue(52);
        const double quieter = levelOfMove(Qt::Key_Left); // 51: -49 dB
        EXPECT_EQ(settings.sndvolume, -4900);
        ASSERT_GT(full, 0.01);
        EXPECT_NEAR(20 * std::log10(quieter / full), -49, 1.0);
    });
}

TEST_F(DialogSoundRendered, SilentWithSoundEffectsOff) {
    settings.vintrasounds = false;
    open(50, [&] {
        form.vintrasoundschk->setChecked(true); // ticking the box changes nothing yet
        EXPECT_LT(levelOfMove(Qt::Key_Right), 1e-6);
        EXPECT_EQ(settings.sndvolume, -4900);
    });
}

// Screen readers find every control by the name its caption or label gives it.
TEST_F(DialogSound, ControlsHaveAccessibleNames) {
    const auto name = [](QWidget *w) {
        return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name);
    };
    EXPECT_EQ(name(form.sndvoltrackbar), "Sound volume");
    EXPECT_EQ(name(form.vintrasoundschk), "Vintra sounds");
    EXPECT_EQ(name(form.okbitbtn), "OK");
    EXPECT_EQ(form.sndvolstatic->buddy(), form.sndvoltrackbar);
}

// Writes docs/sound-dialog.png when HUNT_SCREENSHOT_DIR is set (run under Xvfb).
TEST_F(DialogSound, Screenshot) {
    if (!testing::screenshotsWanted())
        GTEST_SKIP() << "HUNT_SCREENSHOT_DIR not set";
    open(80, [&] { testing::screenshot(form, "sound-dialog.png"); });
}

} // namespace
} // namespace hunt
