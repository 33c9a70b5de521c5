#include "audio/speech_capitals.h"
#include "localization/codepage.h"

#include <gtest/gtest.h>

#include <set>

namespace hunt {
namespace {

TEST(IscapitalTest, EveryRowHoldsFortyFiveDistinctBytes) {
    for (std::size_t row = 0; row < nationalletters.size(); ++row) {
        ASSERT_EQ(nationalletters[row].size(), 45u) << "row " << row;
        const std::set<char> distinct(nationalletters[row].begin(), nationalletters[row].end());
        EXPECT_EQ(distinct.size(), 45u) << "row " << row;
    }
}

TEST(IscapitalTest, WindowsRowIsTheCzechAndSlovakLetters) {
    EXPECT_EQ(toUtf8(nationalletters[2]), "áÁäÄčČďĎéÉěĚíÍĺĹľĽňŇóÓôÔöÖŕŔřŘšŠťŤúÚůŮüÜýÝžŽ§");
}

TEST(IscapitalTest, CapitalsAtEvenPositionsOfEveryRow) {
    for (uint8_t row = 0; row < nationalletters.size(); ++row) {
        const std::string_view letters = nationalletters[row];
        for (std::size_t index = 0; index < letters.size(); ++index) {
            const auto ch = static_cast<unsigned char>(letters[index]);
            const std::size_t position = index + 1;
            const bool capital = position % 2 == 0 && position != 45;
            EXPECT_EQ(iscapital(ch, row), capital)
                << "row " << int(row) << " position " << position;
        }
    }
}

TEST(IscapitalTest, BelowOneTwentyEightOnlyAToZInEveryCodePage) {
    for (uint8_t row = 0; row < 8; ++row)
        for (int code = 0; code < 128; ++code)
            EXPECT_EQ(iscapital(static_cast<unsigned char>(code), row), code >= 65 && code <= 90)
                << "code " << code << " row " << int(row);
}

TEST(IscapitalTest, BytesOutsideTheRowAreNoCapitals) {
    for (uint8_t row = 0; row < nationalletters.size(); ++row)
        for (int code = 128; code < 256; ++code)
            if (nationalletters[row].find(static_cast<char>(code)) == std::string_view::npos) {
                EXPECT_FALSE(iscapital(static_cast<unsigned char>(code), row));
            }
    EXPECT_TRUE(iscapital(201, 2));  // É
    EXPECT_FALSE(iscapital(233, 2)); // é
    EXPECT_FALSE(iscapital(201, 6)); // no such code page
}

} // namespace
} // namespace hunt
