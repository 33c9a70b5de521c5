#include "runtime_fixture.h"

#include <gtest/gtest.h>

#include <clocale>

namespace hunt::testing {
namespace {

std::string padded(const std::string &text) {
    return text + std::string(80 - text.size(), ' ');
}

TEST(PrintStr, LeadingPunctuationBecomesSilences) {
    struct Case {
        std::string text;
        EventLog expected;
    };
    // Texts are Windows-1250; "\xE1" is á, "\x9D" is ť.
    const Case cases[] = {
        {";hra zlato.", {"sleep:300", "say:hra zlato."}},
        {",a,; kladn\xE1 odpove\xEF na ot\xE1zku.",
         {"sleep:300", "say:a,; kladn\xE1 odpove\xEF na ot\xE1zku."}},
        {"  ;x", {"sleep:300", "say:x"}},
        {"; x", {"sleep:300", "say: x"}},
        {";;", {"sleep:300", "sleep:300"}},
        {".,;?go", {"sleep:300", "sleep:300", "sleep:300", "sleep:300", "say:go"}},
        {"\t\x01?x", {"sleep:300", "say:x"}},
        {"pr\xEDklad;", {"say:pr\xEDklad;"}},
        {"  hello", {"say:  hello"}},
        {"   ", {"say:   "}},
        {"", {}},
    };
    for (const Case &c : cases) {
        RuntimeFixture f;
        f.runtime.printstr(c.text, 1);
        EXPECT_EQ(f.log, c.expected) << "text: " << c.text;
        EXPECT_EQ(f.screen.line(0), padded(c.text)) << "the screen shows the whole text";
    }
}

TEST(PrintStr, ShowsTheTextWithItsSeparator) {
    RuntimeFixture f;
    f.runtime.printstr(";hra zlato.", 0);
    EXPECT_EQ(f.screen.line(0), padded(";hra zlato."));
    EXPECT_EQ(f.row(), 1);
    EXPECT_EQ(f.column(), 0);
    f.runtime.printstr("a", 2);
    EXPECT_EQ(f.column(), 2);
    f.runtime.printstr("", 0);
    EXPECT_EQ(f.row(), 2);
    EXPECT_EQ(f.screen.line(1), padded("a"));
    EXPECT_EQ(f.log, (EventLog{"sleep:300", "say:hra zlato.", "say:a"}));
}

TEST(PrintNum, ShowsAndSpeaksTheNumber) {
    RuntimeFixture f;
    f.runtime.printnum(2, 5);
    EXPECT_EQ(f.column(), 2); // from column 1 the tab moves one column only
    f.runtime.printnum(2, 100);
    EXPECT_EQ(f.column(), 8);
    EXPECT_EQ(f.row(), 0);
    f.runtime.printnum(0, 12);
    EXPECT_EQ(f.screen.line(0), padded("5 100   12"));
    EXPECT_EQ(f.row(), 1);
    EXPECT_EQ(f.column(), 0);
    f.runtime.printnum(1, -3);
    EXPECT_EQ(f.screen.line(1), padded("-3"));
    // Numbers get no punctuation handling: no pause before a negative or a fraction.
    EXPECT_EQ(f.log, (EventLog{"say:5", "say:100", "say:12", "say:-3"}));
}

TEST(SoundStatements, PassThroughToTheSoundOutput) {
    RuntimeFixture f;
    f.runtime.playsound({440, 660}, 250, 3);
    f.runtime.beep();
    f.runtime.click(4);
    EXPECT_EQ(f.log, (EventLog{"tone:440+660/250/3", "beep", "click:4"}));
}

TEST(TimeStr, NineCharactersWithTwoDigitsEach) {
    RuntimeFixture f;
    f.clock.time = {14, 5, 9};
    EXPECT_EQ(f.runtime.timestr(), "14 05 09 ");
    f.clock.time = {0, 0, 0};
    EXPECT_EQ(f.runtime.timestr(), "00 00 00 ");
    f.clock.time = {23, 59, 59};
    EXPECT_EQ(f.runtime.timestr(), "23 59 59 ");
}

TEST(SystemClockTest, GivesTheLocalTimeOfDay) {
    SystemClock clock;
    const TimeOfDay time = clock.now();
    EXPECT_GE(time.hour, 0);
    EXPECT_LE(time.hour, 23);
    EXPECT_GE(time.minute, 0);
    EXPECT_LE(time.minute, 59);
    EXPECT_GE(time.second, 0);
    EXPECT_LE(time.second, 60);
}

TEST(Rnd, DrawsRemembersAndReseeds) {
    RuntimeFixture f;
    EXPECT_EQ(f.runtime.rnd(0), 0.0);
    f.runtime.seed(42);
    double sum = 0;
    for (int i = 0; i < 1000; ++i) {
        const double value = f.runtime.rnd(1);
        ASSERT_GE(value, 0.0);
        ASSERT_LT(value, 1.0);
        EXPECT_EQ(f.runtime.rnd(0), value);
        sum += value;
    }
    EXPECT_NEAR(sum / 1000, 0.5, 0.1);
    const double last = f.runtime.rnd(0);
    EXPECT_EQ(f.runtime.rnd(-1), last) << "a negative argument only reseeds";

    f.runtime.seed(7);
    const double first = f.runtime.rnd(1);
    f.runtime.seed(7);
    EXPECT_EQ(f.runtime.rnd(1), first) << "a fixed seed repeats the sequence";
}

} // namespace
} // namespace hunt::testing
