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
