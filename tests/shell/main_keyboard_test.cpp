// The main window's keyboard, driven with key events through the real window.
#include "main_fixture.h"

#include "braille/held_keys.h"

namespace hunt::testing {
namespace {

class MainKeyboardTest : public AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        start();
    }
    void press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyPress(keys(), key, mods);
    }
    void release(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
        QTest::keyRelease(keys(), key, mods);
    }
    int pendingCode() const {
        const std::string key = pending();
        return key.size() == 1 ? static_cast<unsigned char>(key[0]) : -1;
    }
};

struct ArrowCase {
    std::vector<Qt::Key> held; // held first, in this order; the last one is the key pressed
    int code;                  // without Shift or Space
};

// Every combination of the arrow keys held together when the last of them goes down.
const std::vector<ArrowCase> arrowTable = {
    {{Qt::Key_Up}, 129},
    {{Qt::Key_Down}, 130},
    {{Qt::Key_Up, Qt::Key_Down}, 131},
    {{Qt::Key_Left}, 132},
    {{Qt::Key_Left, Qt::Key_Up}, 133},
    {{Qt::Key_Left, Qt::Key_Down}, 134},
    {{Qt::Key_Left, Qt::Key_Up, Qt::Key_Down}, 135},
    {{Qt::Key_Right}, 136},
    {{Qt::Key_Right, Qt::Key_Up}, 137},
    {{Qt::Key_Right, Qt::Key_Down}, 138},
    {{Qt::Key_Right, Qt::Key_Up, Qt::Key_Down}, 139},
    {{Qt::Key_Right, Qt::Key_Left}, 140},
    {{Qt::Key_Right, Qt::Key_Left, Qt::Key_Up}, 141},
    {{Qt::Key_Right, Qt::Key_Left, Qt::Key_Down}, 142},
    {{Qt::Key_Up, Qt::Key_Down, Qt::Key_Left, Qt::Key_Right}, 143},
};

TEST_F(MainKeyboardTest, EveryArrowCombinationWithShiftAndSpaceGivesItsCode) {
    for (const bool shift : {false, true}) {
        for (const bool space : {false, true}) {
            for (const ArrowCase &c : arrowTable) {
                const Qt::KeyboardModifiers mods = shift ? Qt::ShiftModifier : Qt::NoModifier;
                if (space)
                    press(Qt::Key_Space, mods);
                for (Qt::Key key : c.held)
                    press(key, mods);
                const int expected = c.code + (shift ? 16 : 0) + (space ? 32 : 0);
                EXPECT_EQ(pendingCode(), expected)
                    << "code " << c.code << " shift " << shift << " space " << space;
                for (auto key = c.held.rbegin(); key != c.held.rend(); ++key)
                    release(*key, mods);
                if (space)
                    release(Qt::Key_Space, mods);
            }
        }
    }
}

TEST_F(MainKeyboardTest, ControlKeysDeliverTheirCodesWhenTheyGoDown) {
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
        int code;
    } cases[] = {
        {Qt::Key_Backspace, Qt::NoModifier, 8}, {Qt::Key_Backspace, Qt::ShiftModifier, 25},
        {Qt::Key_F6, Qt::NoModifier, 8},        {Qt::Key_F6, Qt::ShiftModifier, 25},
        {Qt::Key_Return, Qt::NoModifier, 13},   {Qt::Key_F8, Qt::NoModifier, 13},
        {Qt::Key_Escape, Qt::NoModifier, 27},   {Qt::Key_F7, Qt::NoModifier, 7},
    };
    for (const auto &c : cases) {
        app->runtime.pendingkey.clear();
        press(c.key, c.mods);
        EXPECT_EQ(pendingCode(), c.code) << "key " << c.key;
        release(c.key, c.mods);
    }
}

TEST_F(MainKeyboardTest, EnterStaysPendingAfterItsRelease) {
    QTest::keyClick(keys(), Qt::Key_Return);
    EXPECT_EQ(pending(), "\r");
    QTest::keyClick(keys(), Qt::Key_Escape);
    EXPECT_EQ(pending(), "\x1b");
}

TEST_F(MainKeyboardTest, AnUntakenArrowOrFunctionKeyIsLostOnRelease) {
    press(Qt::Key_Left);
    EXPECT_EQ(pendingCode(), 132);
    release(Qt::Key_Left);
    EXPECT_EQ(pending(), "");
    press(Qt::Key_F7);
    EXPECT_EQ(pendingCode(), 7);
    release(Qt::Key_F7);
    EXPECT_EQ(pending(), "");
}

TEST_F(MainKeyboardTest, TypedCharactersArriveOnReleaseAndShiftClears) {
    press(Qt::Key_A);
    EXPECT_EQ(pending(), "");
    release(Qt::Key_A);
    EXPECT_EQ(pending(), "a");
    press(Qt::Key_Shift);
    EXPECT_EQ(pending(), "");
    release(Qt::Key_Shift);
    EXPECT_EQ(pending(), "");

    QTest::keyClick(keys(), Qt::Key_Space);
    EXPECT_EQ(pending(), " ");
    // A key that types nothing empties the pending key when released.
    for (Qt::Key silent : {Qt::Key_F1, Qt::Key_Print, Qt::Key_ScrollLock, Qt::Key_NumLock,
                           Qt::Key_Super_L, Qt::Key_VolumeUp}) {
        QTest::keyClick(keys(), Qt::Key_Space);
        QTest::keyClick(keys(), silent);
        EXPECT_EQ(pending(), "") << silent;
    }
}

TEST_F(MainKeyboardTest, AnyKeyStopsSpeechAndEndsTheToneBeingWaitedFor) {
    app->tone.soundwait = true;
    form().Timer->setInterval(100000);
    form().Timer->setEnabled(true);
    log.clear();
    QTest::keyClick(keys(), Qt::Key_X);
    EXPECT_FALSE(app->tone.soundwait);
    EXPECT_FALSE(form().Timer->enabled());
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front(), "stop");
}

TEST_F(MainKeyboardTest, UpOrDownAloneOpensTheReviewOnlyAfterARun) {
    press(Qt::Key_Up);
    EXPECT_EQ(pendingCode(), 129) << "before any run the arrow is delivered";
    release(Qt::Key_Up);

    app->settings.runstarted = true;
    bool reviewed = false;
    {
        ModalWatcher watcher([&](QWidget *modal) {
            reviewed = true;
            QTest::keyClick(modal, Qt::Key_Escape);
            return true;
        });
        press(Qt::Key_Up);
    }
    EXPECT_TRUE(reviewed);
    EXPECT_EQ(pending(), "") << "the review took the arrow";
    activate();
    release(Qt::Key_Up);
    press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(pendingCode(), 146) << "Shift+Down goes to the program";
    release(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Space);
    press(Qt::Key_Up);
    EXPECT_EQ(pendingCode(), 161) << "Space+Up goes to the program";
    release(Qt::Key_Up);
    release(Qt::Key_Space);
}

TEST_F(MainKeyboardTest, HeldKeysAreForgottenWhenTheWindowLosesTheKeyboard) {
    press(Qt::Key_Left);
    EXPECT_TRUE(app->heldkeys.held(vk::left));
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(&form(), &deactivate);
    EXPECT_FALSE(app->heldkeys.held(vk::left));
    press(Qt::Key_Up);
    EXPECT_EQ(pendingCode(), 129) << "Left no longer counts as held";
}

TEST_F(MainKeyboardTest, BrailleChordsBecomeThePendingKey) {
    QTest::keyClick(keys(), Qt::Key_B, Qt::ControlModifier);
    ASSERT_TRUE(app->settings.braillekeys);

    press(Qt::Key_F);
    press(Qt::Key_D);
    release(Qt::Key_F);
    EXPECT_EQ(pending(), "b") << "the chord is committed when its first key is released";
    release(Qt::Key_D);
    EXPECT_EQ(pending(), "") << "the other key's release delivers an empty pattern";

    // Space with a dot key held is ignored; alone it is the space chord.
    press(Qt::Key_F);
    press(Qt::Key_Space);
    release(Qt::Key_Space);
    EXPECT_EQ(pending(), "a");
    release(Qt::Key_F);
    QTest::keyClick(keys(), Qt::Key_Space);
    EXPECT_EQ(pending(), " ");

    // A letter that is not a dot key delivers nothing; control keys keep their codes.
    QTest::keyClick(keys(), Qt::Key_A);
    EXPECT_EQ(pending(), "");
    QTest::keyClick(keys(), Qt::Key_Return);
    EXPECT_EQ(pending(), "\r");

    // The capital sign applies to the next chord.
    QTest::keyClick(keys(), Qt::Key_L);
    EXPECT_EQ(pending(), "");
    QTest::keyClick(keys(), Qt::Key_F);
    EXPECT_EQ(pending(), "A");
}

} // namespace
} // namespace hunt::testing
