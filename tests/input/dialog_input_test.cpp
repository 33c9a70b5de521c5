// The input dialog driven with real key events: what it says, which sounds it plays, what it
// hands back.
#include "input/dialog_driver.h"

#include "audio/speech_layer.h"
#include "audio/speech_log.h"
#include "braille/braille_table.h"
#include "braille/echo_keys.h"
#include "braille/held_keys.h"
#include "input/input_form.h"
#include "review/review_window.h"
#include "runtime/globals.h"
#include "runtime/memory_image.h"
#include "runtime/screen.h"
#include "shell/qt_event_loop.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <fstream>
#include <memory>

namespace hunt {
namespace {

using testing::EventLog;
using testing::press;
using testing::release;
using testing::runModal;
using testing::tap;
using testing::withoutStops;

class DialogInput : public ::testing::Test {
protected:
    void SetUp() override {
        settings.voiceready = true;
        loadbrailletable(tables, HUNT_SOURCE_DIR "/data/czech.vbt");
        form = std::make_unique<TForm2>(
            settings, speech, sound, held, braille, tables, [this] { log.push_back("review"); },
            [this] { log.push_back("exit"); });
    }

    // Opens the dialog as INPUT does, runs the script inside it and returns the result.
    int open(std::function<void()> script) {
        return runModal(
            *form, [this] { return form->showInput(line); }, std::move(script));
    }
    // Gives the edit box a text and a caret position, then forgets what was said so far.
    void edit(const QString &text, int caret) {
        form->inputedit->setText(text);
        form->inputedit->setCursorPosition(caret);
        log.clear();
    }
    QLineEdit *box() { return form->inputedit; }

    EventLog log;
    testing::RecordingSpeech speech{log};
    testing::RecordingSound sound{log};
    GlobalSettings settings = testing::englishSettings();
    HeldKeys held;
    BrailleState braille;
    BrailleTables tables;
    std::unique_ptr<TForm2> form;
    std::string line;
};

TEST_F(DialogInput, FirstFocusIsSilentAndTabbingSpeaksCaptions) {
    open([&] {
        EXPECT_EQ(log, EventLog{});
        EXPECT_TRUE(box()->hasFocus());
        tap(box(), Qt::Key_Tab, "\t");
        tap(form->Enterbitbtn, Qt::Key_Backtab, {}, Qt::ShiftModifier);
        tap(box(), Qt::Key_Tab, "\t");
        tap(form->Enterbitbtn, Qt::Key_Tab, "\t");
    });
    EXPECT_EQ(log, (EventLog{"stop", "say:&OK", "stop", "say:empty line", "stop", "say:&OK", "stop",
                             "say:E&xit program"}));
    // The next opening starts silent again.
    log.clear();
    open([&] { EXPECT_EQ(log, EventLog{}); });
}

TEST_F(DialogInput, CzechCaptionsAreShownInUnicodeAndSpokenInWindows1250) {
    settings.languagebase = 1000;
    form =
        std::make_unique<TForm2>(settings, speech, sound, held, braille, tables, nullptr, nullptr);
    EXPECT_EQ(form->windowTitle(), QString::fromUtf8("Vlož data"));
    EXPECT_EQ(form->exitprogrambtn->text(), QString::fromUtf8("U&končit program"));
    open([&] {
        tap(box(), Qt::Key_Tab, "\t");
        tap(form->Enterbitbtn, Qt::Key_Tab, "\t");
    });
    EXPECT_EQ(withoutStops(log), (EventLog{"say:&Ok", "say:U&kon\xe8it program"}));
}

TEST_F(DialogInput, BackspaceAndDeleteClickAndEchoTheCharacterTheyRemove) {
    struct Case {
        const char *name;
        QString text;
        int caret;
        Qt::Key key;
        EventLog expected;
        QString after;
    };
    const std::vector<Case> cases = {
        {"backspace at 0", "", 0, Qt::Key_Backspace, {"click:2", "beep"}, ""},
        {"backspace at the end of 12", "12", 2, Qt::Key_Backspace, {"click:2", "key:2"}, "1"},
        {"delete at the end", "12", 2, Qt::Key_Delete, {"click:2", "beep"}, "12"},
        {"delete at 0", "12", 0, Qt::Key_Delete, {"click:2", "key:1"}, "2"},
    };
    open([&] {
        for (const Case &c : cases) {
            edit(c.text, c.caret);
            tap(box(), c.key, c.key == Qt::Key_Backspace ? "\b" : "\x7f");
            EXPECT_EQ(withoutStops(log), c.expected) << c.name;
            EXPECT_EQ(box()->text(), c.after) << c.name;
        }
    });
}

TEST_F(DialogInput, AltUpReadsTheLine) {
    open([&] {
        edit("", 0);
        tap(box(), Qt::Key_Up, {}, Qt::AltModifier);
        EXPECT_EQ(withoutStops(log), EventLog{"say:empty line"});
        edit("12 34", 1);
        tap(box(), Qt::Key_Up, {}, Qt::AltModifier);
        EXPECT_EQ(withoutStops(log), EventLog{"say:12 34"});
    });
}

TEST_F(DialogInput, KeysAreEchoedWithTheCharacterTheyType) {
    open([&] {
        edit("", 0);
        tap(box(), Qt::Key_A, "a");
        press(box(), Qt::Key_Shift, {}, Qt::ShiftModifier);
        tap(box(), Qt::Key_A, "A", Qt::ShiftModifier);
        release(box(), Qt::Key_Shift);
        tap(box(), Qt::Key_Slash, "/"); // the key 191 is never echoed
        tap(box(), Qt::Key_unknown, QString::fromUtf8("š"));
        tap(box(), Qt::Key_Left); // types nothing: no echo on the way down
    });
    EXPECT_EQ(withoutStops(log)[0], "key:a");
    EXPECT_EQ(withoutStops(log)[1], "key:A");
    EXPECT_EQ(withoutStops(log)[2], "key:\x9a"); // š in Windows-1250
    EXPECT_EQ(line, "aA/\x9a");
}

TEST_F(DialogInput, CtrlArrowsReadTheWordReached) {
    open([&] {
        edit("ab cd", 0);
        tap(box(), Qt::Key_Right, {}, Qt::ControlModifier);
        EXPECT_EQ(box()->cursorPosition(), 3);
        edit("ab cd", 5);
        tap(box(), Qt::Key_Left, {}, Qt::ControlModifier);
        EXPECT_EQ(box()->cursorPosition(), 3);
    });
    EXPECT_EQ(withoutStops(log), (EventLog{"say:cd"}));
}

TEST_F(DialogInput, CtrlArrowsStepOverACommaOntoTheNextWord) {
    open([&] {
        edit("ab, cd", 0);
        tap(box(), Qt::Key_Right, {}, Qt::ControlModifier);
        EXPECT_EQ(box()->cursorPosition(), 4);
        tap(box(), Qt::Key_Left, {}, Qt::ControlModifier);
        EXPECT_EQ(box()->cursorPosition(), 0);
    });
    EXPECT_EQ(withoutStops(log), (EventLog{"say:cd", "say:ab"}));
}

TEST_F(DialogInput, EdgesOfTheTextBeepOnTheSecondArrival) {
    open([&] {
        edit("ab", 1);
        tap(box(), Qt::Key_Left);
        EXPECT_EQ(withoutStops(log), (EventLog{"key:a"}));
        log.clear();
        tap(box(), Qt::Key_Left);
        EXPECT_EQ(withoutStops(log), (EventLog{"key:a", "beep"}));
        log.clear();
        tap(box(), Qt::Key_Right);
        EXPECT_EQ(withoutStops(log), (EventLog{"key:b"}));
        log.clear();
        tap(box(), Qt::Key_Right);
        EXPECT_EQ(withoutStops(log), (EventLog{"click:2"}));
        log.clear();
        tap(box(), Qt::Key_Right);
        EXPECT_EQ(withoutStops(log), (EventLog{"click:2", "beep"}));

        edit("", 0);
        tap(box(), Qt::Key_Left);
        EXPECT_EQ(withoutStops(log), (EventLog{"beep"})) << "Left in an empty box";
        edit("ab", 2);
        tap(box(), Qt::Key_Home);
        EXPECT_EQ(withoutStops(log), (EventLog{"key:a"}));
        log.clear();
        tap(box(), Qt::Key_End);
        EXPECT_EQ(withoutStops(log), (EventLog{"click:2", "beep"}));
    });
}

TEST_F(DialogInput, EnterConfirmsAndTheCloseBoxCancels) {
    EXPECT_EQ(open([&] {
                  edit("3,4", 3);
                  tap(box(), Qt::Key_Return, "\r");
              }),
              modalOk);
    EXPECT_EQ(line, "3,4");
    EXPECT_EQ(open([&] { form->close(); }), modalCancel);
    EXPECT_EQ(open([&] { tap(box(), Qt::Key_Escape, "\x1b"); }), 99)
        << "Escape does not close the dialog (the script closes it with 99)";
    // Each opening starts with an empty line.
    EXPECT_EQ(open([&] { form->Enterbitbtn->click(); }), modalOk);
    EXPECT_EQ(line, "");
}

TEST_F(DialogInput, ExitButtonAndAltF4EndTheApplication) {
    open([&] {
        form->exitprogrambtn->click();
        EXPECT_EQ(log, EventLog{"exit"});
        log.clear();
        tap(box(), Qt::Key_F4, {}, Qt::AltModifier);
        EXPECT_EQ(withoutStops(log), EventLog{"exit"});
        // Enter on the focused exit button presses it, not the default button.
        form->exitprogrambtn->setFocus();
        log.clear();
        tap(form->exitprogrambtn, Qt::Key_Return, "\r");
        EXPECT_EQ(log, EventLog{"exit"});
    });
}

TEST_F(DialogInput, UpOrDownOpensTheReviewOnlyFromTheEditBox) {
    open([&] {
        tap(box(), Qt::Key_Up);
        tap(box(), Qt::Key_Down);
        tap(box(), Qt::Key_Down, {}, Qt::AltModifier);
        EXPECT_EQ(withoutStops(log), (EventLog{"review", "review"}));

        // On the buttons keys are neither echoed nor open anything.
        form->Enterbitbtn->setFocus();
        log.clear();
        tap(form->Enterbitbtn, Qt::Key_A, "a");
        tap(form->Enterbitbtn, Qt::Key_F, "f");
        EXPECT_EQ(log, EventLog{});
        tap(form->exitprogrambtn, Qt::Key_Down);
        EXPECT_EQ(std::count(log.begin(), log.end(), "review"), 0);
    });
}

TEST_F(DialogInput, ChordsAreEchoedAndInsertedAtTheCaret) {
    settings.braillekeys = true;
    open([&] {
        edit("ac", 1);
        press(box(), Qt::Key_F, "f"); // dot 1
        press(box(), Qt::Key_D, "d"); // dots 1 2
        EXPECT_EQ(box()->text(), "ac") << "letters never reach the box directly";
        release(box(), Qt::Key_F, "f"); // the chord is committed here
        release(box(), Qt::Key_D, "d"); // nothing more
        EXPECT_EQ(withoutStops(log), (EventLog{"key:a", "key:b"}));
        EXPECT_EQ(box()->text(), "abc");
        EXPECT_EQ(box()->cursorPosition(), 2);

        // A letter that is no dot key gives nothing.
        log.clear();
        tap(box(), Qt::Key_A, "a");
        EXPECT_EQ(box()->text(), "abc");
        EXPECT_EQ(withoutStops(log), EventLog{});

        // The capital sign (dot 6) then dot 1: the echo and the text agree on "A".
        tap(box(), Qt::Key_L, "l");
        tap(box(), Qt::Key_F, "f");
        EXPECT_EQ(withoutStops(log), EventLog{"key:A"});
        EXPECT_EQ(box()->text(), "abAc");

        // The space chord, and Backspace still edits.
        tap(box(), Qt::Key_Space, " ");
        EXPECT_EQ(box()->text(), "abA c");
        tap(box(), Qt::Key_Backspace, "\b");
        EXPECT_EQ(box()->text(), "abAc");
        tap(box(), Qt::Key_Left);
        tap(box(), Qt::Key_Delete, "\x7f");
        EXPECT_EQ(box()->text(), "abc") << "Left and Delete still edit";
        tap(box(), Qt::Key_Return, "\r");
    });
    EXPECT_EQ(line, "abc");
}

TEST_F(DialogInput, AChordGoesToTheStartOfASelectionAndKeepsTheSelectedText) {
    settings.braillekeys = true;
    open([&] {
        // Selected up to the end with the caret at the end: not an append.
        edit("xyz", 1);
        box()->setSelection(1, 2);
        ASSERT_EQ(box()->cursorPosition(), 3);
        tap(box(), Qt::Key_F, "f");
        EXPECT_EQ(box()->text(), "xayz");
        EXPECT_EQ(box()->cursorPosition(), 2);
        // Selected backwards, the caret at the selection's start.
        box()->setSelection(4, -2);
        tap(box(), Qt::Key_F, "f");
        EXPECT_EQ(box()->text(), "xaayz");
        EXPECT_EQ(box()->cursorPosition(), 3);
    });
}

TEST_F(DialogInput, UpOpensTheRealReviewOverTheDialog) {
    PlainScreen screen;
    screen.setLine(0, "first line");
    MemoryImage memory;
    std::string pendingkey = "x";
    TForm6 review(settings, speech, sound, screen, memory, pendingkey);
    review.heldkeys = &held;
    form = std::make_unique<TForm2>(
        settings, speech, sound, held, braille, tables, [&] { review.showvirtualscreen(); },
        [this] { log.push_back("exit"); });
    open([&] {
        QTimer::singleShot(0, &review, [&] {
            ASSERT_TRUE(QTest::qWaitForWindowActive(&review, 5000));
            release(review.virtualscrmemo, Qt::Key_Up); // the opening key's release lands here
            tap(review.virtualscrmemo, Qt::Key_Escape, "\x1b");
        });
        press(box(), Qt::Key_Up);
        EXPECT_FALSE(held.held(vk::up)) << "released in the review";
        ASSERT_TRUE(testing::waitActive(*form));
        EXPECT_TRUE(box()->hasFocus());
        tap(box(), Qt::Key_A, "a");
    });
    EXPECT_EQ(withoutStops(log), (EventLog{"tone:300+450/100/5", "speak:Screen", "say:first line",
                                           "tone:300+450/100/5", "say:end of screen", "key:a"}));
    EXPECT_EQ(pendingkey, "");
}

// Through the speech layer and the English key-echo file: a key speaks the echo text of the
// character it types, a capital after its high tone.
TEST(DialogInputEcho, KeysSpeakTheirKeyEchoTexts) {
    EchoKeys echo;
    loadechokeys(echo, HUNT_SOURCE_DIR "/data/english.vky");
    QTemporaryDir dir;
    const std::string logPath = dir.filePath("speech.log").toStdString();
    EventLog sounds;
    testing::RecordingSound sound{sounds};
    GlobalSettings settings = testing::englishSettings();
    settings.voiceready = true;
    QtEventLoop events;
    SpeechLayer speech(
        settings, events, sound, [&](unsigned char code) { return echoTextFor(echo, code); },
        nullptr);
    speech.setSpeechLog(std::make_shared<SpeechLog>(logPath));
    HeldKeys held;
    BrailleState braille;
    BrailleTables tables;
    TForm2 form(settings, speech, sound, held, braille, tables, nullptr, nullptr);
    std::string line;
    testing::runModal(
        form, [&] { return form.showInput(line); },
        [&] {
            tap(form.inputedit, Qt::Key_A, "a");
            tap(form.inputedit, Qt::Key_A, "A", Qt::ShiftModifier);
        });
    std::ifstream in(logPath);
    std::vector<std::string> said;
    for (std::string entry; std::getline(in, entry);)
        if (entry.rfind("speakkey", 0) == 0)
            said.push_back(entry);
    EXPECT_EQ(said, (std::vector<std::string>{
                        SpeechLog::formatLine("speakkey", "none", echoTextFor(echo, 'a')),
                        SpeechLog::formatLine("speakkey", "none", echoTextFor(echo, 'A'))}));
    EXPECT_EQ(echoTextFor(echo, 'a'), "ay");
    EXPECT_EQ(sounds.size(), 1u) << "the capital's tone";
}

// Writes docs/input-dialog.png when HUNT_SCREENSHOT_DIR is set (run under Xvfb).
TEST_F(DialogInput, Screenshot) {
    if (!testing::screenshotsWanted())
        GTEST_SKIP() << "HUNT_SCREENSHOT_DIR not set";
    open([&] {
        edit("12, 34", 6);
        testing::screenshot(*form, "input-dialog.png");
    });
}

} // namespace
} // namespace hunt
