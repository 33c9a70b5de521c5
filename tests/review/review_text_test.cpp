#include "review/review_text.h"

#include <gtest/gtest.h>

namespace hunt {
namespace {

ReviewText threeLines() {
    return ReviewText({"hello world", "", std::string(80, 'x')});
}

TEST(ReviewText, PositionsCountTwoCharactersPerLineBreak) {
    const ReviewText review = threeLines();
    EXPECT_EQ(review.text(), "hello world\r\n\r\n" + std::string(80, 'x') + "\r\n");
    EXPECT_EQ(review.length(), 11u + 2 + 2 + 80 + 2);
    EXPECT_EQ(review.position(2, 0), 15u);
    EXPECT_EQ(review.lineOf(15), 2);
    EXPECT_EQ(review.columnOf(15), 0);
    EXPECT_EQ(review.lineOf(11), 0); // before the carriage return of line 0
    EXPECT_EQ(review.lineOf(13), 1);
    // The position after the last line break is a line of its own, past the screen's lines.
    EXPECT_EQ(review.lineOf(review.length()), 3);
    EXPECT_EQ(review.line(3), "");
}

TEST(ReviewText, CharacterAfterTheCaretPassesTheCarriageReturn) {
    const ReviewText review = threeLines();
    EXPECT_EQ(review.charAfter(0), "h");
    EXPECT_EQ(review.charAfter(11), "\r");
    EXPECT_EQ(review.charAfter(review.position(2, 80)), "\r");
    EXPECT_EQ(review.charAfter(review.length()), "");
}

TEST(ReviewText, WordStopsBeforeDelimiters) {
    const ReviewText review({"abc def, ghi", "last"});
    EXPECT_EQ(review.wordAt(0), "abc");
    EXPECT_EQ(review.wordAt(4), "def");
    EXPECT_EQ(review.wordAt(7), "");                         // on the comma
    EXPECT_EQ(review.wordAt(9), "ghi");                      // stops at the line's end
    EXPECT_EQ(review.wordAt(review.position(1, 0)), "last"); // on the last line
    EXPECT_EQ(review.wordAt(review.length()), "");
}

TEST(ReviewText, PositionAnnouncement) {
    EXPECT_EQ(positionannouncement("line", 3, "column", 1), "line 3, column 1");
}

} // namespace
} // namespace hunt
