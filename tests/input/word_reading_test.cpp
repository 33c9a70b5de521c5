#include "input/word_reading.h"

#include <gtest/gtest.h>

namespace hunt {
namespace {

TEST(WordReading, WordRunsToTheNextDelimiterOrTheEnd) {
    EXPECT_EQ(wordfrom("ab cd", 0), "ab");
    EXPECT_EQ(wordfrom("ab cd", 3), "cd");
    EXPECT_EQ(wordfrom("ab,cd", 0), "ab");
    EXPECT_EQ(wordfrom("ab\r\ncd", 0), "ab");
    EXPECT_EQ(wordfrom("ab cd", 2), "");  // on the space
    EXPECT_EQ(wordfrom("ab cd", 5), "");  // at the end
    EXPECT_EQ(wordfrom("ab cd", 99), ""); // past it
}

TEST(WordReading, CtrlArrowsLandOnWordStartsAcrossBlanksOnly) {
    struct Case {
        const char *text;
        std::size_t from, next, previous;
    };
    const Case cases[] = {
        {"ab, cd", 0, 4, 0}, // the comma stays with its word
        {"ab, cd", 6, 6, 4}, // at the end: Right stays, Left goes to the last word
        {"ab, cd", 5, 6, 4}, // inside a word: Left goes to its start
        {"ab, cd", 3, 4, 0}, // on a blank
        {"ab cd", 0, 3, 0},  {"ab\r\ncd", 1, 4, 0}, // a line break is blank
        {"  ab", 0, 2, 0},                          // leading blanks
        {"ab  ", 1, 4, 0},                          // trailing blanks: Right goes to the end
        {"", 0, 0, 0},       {"ab", 99, 2, 0},      // past the end counts as the end
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << '"' << c.text << "\" from " << c.from);
        EXPECT_EQ(nextwordstart(c.text, c.from), c.next);
        EXPECT_EQ(previouswordstart(c.text, c.from), c.previous);
    }
}

TEST(WordReading, EdgeRepeatReportsTheSecondArrival) {
    bool flag = false;
    EXPECT_FALSE(edgerepeat(true, flag)); // first arrival only sets the flag
    EXPECT_TRUE(flag);
    EXPECT_TRUE(edgerepeat(true, flag));
    EXPECT_TRUE(edgerepeat(true, flag));
    EXPECT_FALSE(edgerepeat(false, flag)); // leaving clears it
    EXPECT_FALSE(flag);
    EXPECT_FALSE(edgerepeat(true, flag));
}

} // namespace
} // namespace hunt
