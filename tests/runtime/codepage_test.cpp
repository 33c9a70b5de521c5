#include "localization/codepage.h"

#include <gtest/gtest.h>

namespace hunt {
namespace {

TEST(Codepage, CzechAndSlovakLettersBothWays) {
    // The 22 accented letters, lowercase then uppercase, and their Windows-1250 bytes.
    const std::string utf8 = "áÁäÄčČďĎéÉěĚíÍĺĹľĽňŇóÓôÔöÖŕŔřŘšŠťŤúÚůŮüÜýÝžŽ§";
    const unsigned char bytes[] = {
        0xE1, 0xC1, 0xE4, 0xC4, 0xE8, 0xC8, 0xEF, 0xCF, 0xE9, 0xC9, 0xEC, 0xCC, 0xED, 0xCD, 0xE5,
        0xC5, 0xBE, 0xBC, 0xF2, 0xD2, 0xF3, 0xD3, 0xF4, 0xD4, 0xF6, 0xD6, 0xE0, 0xC0, 0xF8, 0xD8,
        0x9A, 0x8A, 0x9D, 0x8D, 0xFA, 0xDA, 0xF9, 0xD9, 0xFC, 0xDC, 0xFD, 0xDD, 0x9E, 0x8E, 0xA7};
    const std::string cp1250(reinterpret_cast<const char *>(bytes), sizeof bytes);
    EXPECT_EQ(toCp1250(utf8), cp1250);
    EXPECT_EQ(toUtf8(cp1250), utf8);
}

TEST(Codepage, AsciiPassesAndMissingCharactersAreReplaced) {
    EXPECT_EQ(toCp1250("Vlo\xC5\xBE data"), "Vlo\x9E data");
    EXPECT_EQ(toCp1250("plain text, 123;"), "plain text, 123;");
    EXPECT_EQ(toCp1250("a\xE2\x82\xAC"), "a\x80");  // the euro sign exists in the code page
    EXPECT_EQ(toCp1250("\xE4\xB8\xAD!"), "?!");     // a CJK character does not
    EXPECT_EQ(toCp1250("\xF0\x9F\x98\x80x"), "?x"); // nor an emoji
    EXPECT_EQ(toCp1250("\xC3"), "?");               // a truncated sequence
    EXPECT_EQ(toUtf8("\x98"), "\xEF\xBF\xBD");      // an undefined byte
    EXPECT_EQ(toUtf8(""), "");
    EXPECT_EQ(toCp1250(""), "");
}

} // namespace
} // namespace hunt
