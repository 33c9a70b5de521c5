#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "braille/chord_entry.h"

namespace hunt {
namespace {

HeldKeys holding(std::initializer_list<int> codes) {
    HeldKeys keys;
    for (int code : codes)
        keys.press(code);
    return keys;
}

TEST(ReadChord, PatternIsTheHeldDotsInAscendingOrder) {
    const struct {
        std::initializer_list<int> keys;
        const char *pattern;
    } cases[] = {
        {{'F'}, "1"},
        {{'L', 'F'}, "16"},
        {{'J', 'K', 'D', 'F'}, "1245"},
        {{'F', 'D', 'S', 'J', 'K', 'L'}, "123456"},
        {{'F', vk::space}, "1"},      // Space held with a dot key is ignored
        {{'K', 'A', vk::shift}, "5"}, // so are other keys
    };
    for (const auto &c : cases) {
        BrailleState state{"stale", "#num"};
        readchord(holding(c.keys), state);
        EXPECT_EQ(state.dotpattern, c.pattern);
        EXPECT_EQ(state.brailleprefix, "#num") << "a dot chord keeps the prefix";
    }
}

TEST(ReadChord, WithoutDotKeysThePrefixIsDropped) {
    BrailleState state{"12", "#num"};
    readchord(holding({vk::space}), state);
    EXPECT_EQ(state.dotpattern, " ");
    EXPECT_EQ(state.brailleprefix, "");

    state = {"12", "#cap"};
    readchord(holding({'A'}), state);
    EXPECT_EQ(state.dotpattern, "");
    EXPECT_EQ(state.brailleprefix, "");
}

TEST(ReadChord, ReleasedKeysNoLongerCount) {
    HeldKeys keys = holding({'F', 'D', 'S'});
    keys.release('D');
    BrailleState state;
    readchord(keys, state);
    EXPECT_EQ(state.dotpattern, "13");
}

} // namespace
} // namespace hunt
