#include "runtime_fixture.h"

#include <gtest/gtest.h>

#include <thread>

namespace hunt::testing {
namespace {

std::string padded(const std::string &text) {
    return text + std::string(80 - text.size(), ' ');
}

TEST(WriteScreen, LongTextFillsWholeLinesThenTheRest) {
    RuntimeFixture f;
    f.placeCursor(0, 5);
    std::string text;
    for (int i = 0; i < 200; ++i)
        text += static_cast<char>('a' + i % 26);
    f.write(text, 0);
    EXPECT_EQ(f.screen.line(5), text.substr(0, 80));
    EXPECT_EQ(f.screen.line(6), text.substr(80, 80));
    EXPECT_EQ(f.screen.line(7), padded(text.substr(160)));
    EXPECT_EQ(f.screen.line(8), "");
    EXPECT_EQ(f.column(), 0);
    EXPECT_EQ(f.row(), 8);
}

TEST(WriteScreen, WrapsInTheMiddleOfAWordAtColumn80) {
    RuntimeFixture f;
    f.placeCursor(78, 3);
    f.write("xyz", 1);
    EXPECT_EQ(f.screen.line(3), std::string(78, ' ') + "xy");
    EXPECT_EQ(f.screen.line(4), padded("z"));
    EXPECT_EQ(f.column(), 1);
    EXPECT_EQ(f.row(), 4);
}

TEST(WriteScreen, TextEndingAtColumn80StaysThereUntilTheNextText) {
    RuntimeFixture f;
    f.placeCursor(70, 0);
    f.write("0123456789", 1);
    EXPECT_EQ(f.column(), 80);
    EXPECT_EQ(f.row(), 0);
    f.write("", 1); // an empty text at column 80 only pads
    EXPECT_EQ(f.column(), 80);
    EXPECT_EQ(f.row(), 0);
    f.write("next", 1);
    EXPECT_EQ(f.screen.line(0), std::string(70, ' ') + "0123456789");
    EXPECT_EQ(f.screen.line(1), padded("next"));
    EXPECT_EQ(f.column(), 4);
    EXPECT_EQ(f.row(), 1);
}

TEST(WriteScreen, OverwritesWithinAWrittenLine) {
    RuntimeFixture f;
    f.write("hello world", 1);
    f.placeCursor(6, 0);
    f.write("there", 1);
    EXPECT_EQ(f.screen.line(0), padded("hello there"));
}

TEST(WriteScreen, EmptyTextPadsTheLineAndAppliesTheMode) {
    RuntimeFixture f;
    f.placeCursor(0, 2);
    f.write("", 0);
    EXPECT_EQ(f.screen.line(2), std::string(80, ' '));
    EXPECT_EQ(f.column(), 0);
    EXPECT_EQ(f.row(), 3);
    EXPECT_EQ(f.screen.line(3), "");
}

TEST(WriteScreen, CommaMovesToTheNextTabStop) {
    struct Case {
        int start, expectedColumn, expectedRowStep;
    };
    const Case cases[] = {{0, 0, 0},   {1, 2, 0},   {5, 8, 0},   {8, 8, 0},
                          {9, 10, 0},  {13, 16, 0}, {17, 18, 0}, {71, 72, 0},
                          {72, 72, 0}, {73, 0, 1},  {79, 0, 1},  {80, 0, 1}};
    for (const Case &c : cases) {
        RuntimeFixture f;
        f.placeCursor(c.start, 4);
        f.write("", 2);
        EXPECT_EQ(f.column(), c.expectedColumn) << "from column " << c.start;
        EXPECT_EQ(f.row(), 4 + c.expectedRowStep) << "from column " << c.start;
    }
}

TEST(WriteScreen, UnknownModesBehaveLikeSemicolon) {
    for (int mode : {1, 3, 255}) {
        RuntimeFixture f;
        f.write("abc", mode);
        EXPECT_EQ(f.column(), 3);
        EXPECT_EQ(f.row(), 0);
    }
}

TEST(WriteScreen, ScrollsFromTheBottomLine) {
    RuntimeFixture f;
    for (int i = 0; i < 24; ++i)
        f.write("line " + std::to_string(i), 0);
    EXPECT_EQ(f.row(), 23);
    EXPECT_EQ(f.screen.count(), 24);
    EXPECT_EQ(f.screen.line(0), padded("line 1"));
    EXPECT_EQ(f.screen.line(22), padded("line 23"));
    EXPECT_EQ(f.screen.line(23), "");
    f.write("last", 1);
    EXPECT_EQ(f.screen.line(23), padded("last"));
    EXPECT_EQ(f.screen.count(), 24);
}

TEST(WriteScreen, LongTextOnTheBottomLineScrollsAsItWraps) {
    RuntimeFixture f;
    f.placeCursor(0, 23);
    f.write(std::string(170, 'q'), 1);
    EXPECT_EQ(f.screen.count(), 24);
    EXPECT_EQ(f.row(), 23);
    EXPECT_EQ(f.column(), 10);
    EXPECT_EQ(f.screen.line(21), std::string(80, 'q'));
    EXPECT_EQ(f.screen.line(22), std::string(80, 'q'));
    EXPECT_EQ(f.screen.line(23), padded(std::string(10, 'q')));
}

TEST(WriteScreen, CursorOutsideTheScreenIsClampedNotACrash) {
    RuntimeFixture f;
    f.placeCursor(200, 200);
    f.write("ab", 1);
    EXPECT_EQ(f.screen.count(), 24);
    EXPECT_EQ(f.row(), 23);
    EXPECT_EQ(f.column(), 2);
    EXPECT_EQ(f.screen.line(23), padded("ab"));
}

TEST(ResetRun, ClearsRunStateButKeepsTheRow) {
    RuntimeFixture f;
    f.placeCursor(17, 9);
    f.runtime.inputbuffer = "4, 5";
    f.tone.lasttimbre = 7;
    f.tone.lastduration = 300;
    f.runtime.resetrun();
    EXPECT_EQ(f.runtime.inputbuffer, "");
    EXPECT_EQ(f.tone.lasttimbre, 1);
    EXPECT_EQ(f.tone.lastduration, 1);
    EXPECT_EQ(f.column(), 0);
    EXPECT_EQ(f.row(), 9);
    f.write("go", 1);
    EXPECT_EQ(f.screen.line(9), padded("go"));
}

TEST(TakeKey, EmptyWithoutAKeyAndEachKeyOnce) {
    RuntimeFixture f;
    EXPECT_EQ(f.runtime.takekey(), "");
    // The key handler runs from the event queue, as a key event would.
    f.events.post([&] { f.runtime.pendingkey = "a"; });
    EXPECT_EQ(f.runtime.takekey(), "a");
    EXPECT_EQ(f.runtime.takekey(), "");
}

TEST(TakeKey, KeyPostedFromAnotherThreadArrivesInALoop) {
    RuntimeFixture f;
    std::thread typist([&] { f.events.post([&] { f.runtime.pendingkey = "\r"; }); });
    std::string key;
    while (key.empty()) {
        key = f.runtime.takekey();
        if (key.empty())
            std::this_thread::yield();
    }
    typist.join();
    EXPECT_EQ(key, "\r");
    EXPECT_EQ(f.runtime.takekey(), "");
}

TEST(TakeKey, LaterKeyOverwritesAnEarlierOne) {
    RuntimeFixture f;
    f.events.post([&] { f.runtime.pendingkey = "a"; });
    f.events.post([&] { f.runtime.pendingkey = "b"; });
    EXPECT_EQ(f.runtime.takekey(), "b");
}

} // namespace
} // namespace hunt::testing
