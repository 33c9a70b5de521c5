// The review window driven with real key events.
#include "input/dialog_driver.h"

#include "review/review_window.h"
#include "runtime/globals.h"
#include "runtime/memory_image.h"
#include "runtime/screen.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>

namespace hunt {
namespace {

using testing::EventLog;
using testing::press;
using testing::release;
using testing::tap;
using testing::withoutStops;

std::string padded(std::string text) {
    text.resize(screencolumns, ' ');
    return text;
}

class DialogReview : public ::testing::Test {
protected:
    void SetUp() override {
        settings.voiceready = true;
        screen.setLine(0, padded("Hello, hunter"));
        screen.setLine(1, padded("abc word, next"));
        screen.setLine(2, std::string(80, 'x'));
        screen.setLine(23, padded("bottom"));
    }

    // Opens the review as the keyboard does and runs the script inside it.
    void open(std::function<void()> script) {
        testing::runModal(
            review,
            [this] {
                review.showvirtualscreen();
                return 0;
            },
            std::move(script));
    }
    QWidget *memo() { return review.virtualscrmemo; }
    void caretTo(int line, int column) {
        QTextCursor cursor(review.virtualscrmemo->document()->findBlockByNumber(line));
        cursor.movePosition(QTextCursor::Right, QTextCursor::MoveAnchor, column);
        review.virtualscrmemo->setTextCursor(cursor);
    }
    // A key held down: the first press, auto-repeated presses and releases, the last release.
    void hold(Qt::Key key, int repeats) {
        press(memo(), key);
        for (int i = 0; i < repeats; ++i) {
            QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(memo(), &up);
            QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QString(), true);
            QApplication::sendEvent(memo(), &down);
        }
        release(memo(), key);
    }

    EventLog log;
    testing::RecordingSpeech speech{log};
    testing::RecordingSound sound{log};
    GlobalSettings settings = testing::englishSettings();
    PlainScreen screen;
    MemoryImage memory;
    std::string pendingkey = "\x26";
    TForm6 review{settings, speech, sound, screen, memory, pendingkey};
};

TEST_F(DialogReview, OpeningReadsLineZeroAndEdgesClickOnTheSecondArrival) {
    review.atedge = false;
    open([&] {
        EXPECT_EQ(log, (EventLog{"tone:300+450/100/5", "speak:Screen"}));
        EXPECT_EQ(pendingkey, "") << "the key that opened the review is not delivered";
        EXPECT_EQ(review.virtualscrmemo->toPlainText().left(13), "Hello, hunter");
        log.clear();
        release(memo(), Qt::Key_Up); // the release of the key that opened it
        EXPECT_EQ(withoutStops(log), EventLog{"say:" + padded("Hello, hunter")});
        EXPECT_TRUE(review.atedge);
        log.clear();
        tap(memo(), Qt::Key_Up);
        EXPECT_EQ(withoutStops(log), (EventLog{"click:16", "say:" + padded("Hello, hunter")}));
        log.clear();
        tap(memo(), Qt::Key_Down);
        EXPECT_EQ(withoutStops(log), EventLog{"say:" + padded("abc word, next")});
        EXPECT_FALSE(review.atedge);
        log.clear();
        tap(memo(), Qt::Key_Up);
        EXPECT_EQ(withoutStops(log), EventLog{"say:" + padded("Hello, hunter")})
            << "the next arrival on line 0 only sets the flag again";
        log.clear();
        tap(memo(), Qt::Key_Escape, "\x1b");
    });
    EXPECT_EQ(withoutStops(log), (EventLog{"tone:300+450/100/5", "say:end of screen"}));
    EXPECT_FALSE(review.isVisible());
}

TEST_F(DialogReview, DownFromTheLastLineReachesTheEmptyPositionAtTheEdge) {
    open([&] {
        caretTo(22, 0);
        tap(memo(), Qt::Key_Down);
        log.clear();
        tap(memo(), Qt::Key_Down);
        EXPECT_EQ(withoutStops(log), EventLog{"say:empty line"});
        log.clear();
        tap(memo(), Qt::Key_Down);
        EXPECT_EQ(withoutStops(log), (EventLog{"click:16", "say:empty line"}));
        log.clear();
        caretTo(5, 0);
        tap(memo(), Qt::Key_Down);
        EXPECT_EQ(withoutStops(log), EventLog{"say:empty line"}) << "an empty screen line";
    });
}

TEST_F(DialogReview, HeldDownSpeaksOnceAtTheRelease) {
    open([&] {
        log.clear();
        hold(Qt::Key_Down, 1); // two presses: from line 0 to line 2
        EXPECT_EQ(withoutStops(log), EventLog{"say:" + std::string(80, 'x')});
        EXPECT_EQ(std::count(log.begin(), log.end(), "stop"), 2) << "every press stops speech";
    });
}

TEST_F(DialogReview, F2AnnouncesLineAndColumn) {
    open([&] {
        caretTo(2, 0);
        log.clear();
        tap(memo(), Qt::Key_F2);
        EXPECT_EQ(withoutStops(log), EventLog{"say:line 3, column 1"});
        caretTo(1, 4);
        log.clear();
        tap(memo(), Qt::Key_F2);
        EXPECT_EQ(withoutStops(log), EventLog{"say:line 2, column 5"});
        EXPECT_EQ(review.caretposition(), 82u + 4u);
    });
}

TEST_F(DialogReview, CharactersAndWordsAtTheCaret) {
    open([&] {
        caretTo(2, 0);
        log.clear();
        tap(memo(), Qt::Key_End); // a full line: the caret stops before the line break
        EXPECT_EQ(withoutStops(log), EventLog{"key:\r"});
        caretTo(1, 0);
        log.clear();
        tap(memo(), Qt::Key_Right, {}, Qt::ControlModifier);
        EXPECT_EQ(withoutStops(log), EventLog{"say:word"}) << "the comma is left out";
        caretTo(1, 2);
        log.clear();
        tap(memo(), Qt::Key_Left);
        EXPECT_EQ(withoutStops(log), EventLog{"key:b"});
        caretTo(23, 3);
        log.clear();
        tap(memo(), Qt::Key_Left, {}, Qt::ControlModifier);
        EXPECT_EQ(withoutStops(log), EventLog{"say:bottom"});
        // The start of the text is an edge: the second arrival clicks.
        caretTo(0, 1);
        tap(memo(), Qt::Key_Left);
        log.clear();
        tap(memo(), Qt::Key_Left);
        EXPECT_EQ(withoutStops(log), (EventLog{"click:16", "key:H"}));
        log.clear();
        tap(memo(), Qt::Key_Home, {}, Qt::ControlModifier);
        EXPECT_EQ(withoutStops(log), EventLog{"click:16"}) << "Ctrl+Home checks the edge only";
    });
}

TEST_F(DialogReview, CtrlArrowsStepOverACommaOntoTheNextWord) {
    open([&] {
        caretTo(0, 0);
        log.clear();
        tap(memo(), Qt::Key_Right, {}, Qt::ControlModifier); // "Hello, hunter"
        EXPECT_EQ(review.virtualscrmemo->textCursor().positionInBlock(), 7);
        tap(memo(), Qt::Key_Left, {}, Qt::ControlModifier);
        EXPECT_EQ(review.virtualscrmemo->textCursor().positionInBlock(), 0);
        EXPECT_EQ(withoutStops(log), (EventLog{"say:hunter", "say:Hello"}));
        caretTo(0, 8);
        log.clear();
        tap(memo(), Qt::Key_Right, {}, Qt::ControlModifier); // over the padding and the break
        EXPECT_EQ(review.virtualscrmemo->textCursor().blockNumber(), 1);
        EXPECT_EQ(review.virtualscrmemo->textCursor().positionInBlock(), 0);
        EXPECT_EQ(withoutStops(log), EventLog{"say:abc"});
    });
}

TEST_F(DialogReview, ControlCharactersDoNotSplitALine) {
    screen.setLine(4, padded("a\rb\nc"));
    open([&] {
        caretTo(5, 0);
        EXPECT_EQ(review.caretposition(), 4u * 82 + 2); // line 3 is empty
        log.clear();
        tap(memo(), Qt::Key_Up);
        EXPECT_EQ(withoutStops(log), EventLog{"say:" + padded("a\rb\nc")});
    });
}

TEST_F(DialogReview, SwitchByteTurnsTheReviewOff) {
    memory.bytes[MemoryImage::reviewswitch] = 1;
    review.showvirtualscreen(); // returns at once: no modal loop
    EXPECT_EQ(log, EventLog{});
    EXPECT_EQ(pendingkey, "\x26");
    EXPECT_FALSE(review.isVisible());
}

TEST_F(DialogReview, WithoutAVoiceOnlyEscapeActs) {
    settings.voiceready = false;
    open([&] {
        log.clear();
        tap(memo(), Qt::Key_Down);
        tap(memo(), Qt::Key_F2);
        tap(memo(), Qt::Key_Up);
        tap(memo(), Qt::Key_Up);
        EXPECT_EQ(log, EventLog{});
        tap(memo(), Qt::Key_Escape, "\x1b");
    });
    EXPECT_EQ(log, (EventLog{"tone:300+450/100/5", "say:end of screen"}));
}

TEST_F(DialogReview, TheCloseButtonAndTheCloseBoxEndItToo) {
    open([&] { review.closebitbtn->click(); });
    EXPECT_EQ(log.back(), "say:end of screen");
    log.clear();
    open([&] { review.close(); });
    EXPECT_EQ(log.back(), "say:end of screen");
    log.clear();
    open([&] { tap(memo(), Qt::Key_Return, "\r"); }); // the close button is the default one
    EXPECT_EQ(log.back(), "say:end of screen");
    EXPECT_EQ(review.closebitbtn->focusPolicy(), Qt::NoFocus);
}

// Writes docs/review-window.png when HUNT_SCREENSHOT_DIR is set (run under Xvfb).
TEST_F(DialogReview, Screenshot) {
    if (!testing::screenshotsWanted())
        GTEST_SKIP() << "HUNT_SCREENSHOT_DIR not set";
    const char *lines[] = {"Good evening. Let us hunt for the treasure.",
                           "Do you know the rules? (Y/N)",
                           "The treasure lies on a board of 10 rows and 10 columns.",
                           "Row and column, please",
                           "? 3,7",
                           "Colder. 4 attempts left."};
    for (int i = 0; i < 24; ++i)
        screen.setLine(i, i < 6 ? padded(lines[i]) : std::string());
    open([&] {
        caretTo(3, 0);
        testing::screenshot(review, "review-window.png");
    });
}

} // namespace
} // namespace hunt
