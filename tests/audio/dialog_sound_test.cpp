// The sound dialog driven with real key events: the volume it sets and the sample it plays.
#include "input/dialog_driver.h"

#include "audio/sound_dialog.h"
#include "runtime/globals.h"
#include "runtime/input_dialog.h"

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
