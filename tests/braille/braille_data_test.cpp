// Checks the braille table and key-echo files shipped in data/.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "braille/braille_table.h"
#include "braille/echo_keys.h"
#include "localization/codepage.h"

namespace hunt {
namespace {

const std::string dataDir = HUNT_SOURCE_DIR "/data/";

BrailleTables loadShippedTable() {
    BrailleTables tables;
    const TableLoadReport report = loadbrailletable(tables, dataDir + "czech.vbt");
    EXPECT_EQ(report.warning, "");
    return tables;
}

TEST(ShippedBrailleTable, NoPatternTwiceInASectionAndNoEntryHiddenByAPrefix) {
    const BrailleTables tables = loadShippedTable();
    ASSERT_GE(tables.brlprefcount, 2);
    std::set<std::string> prefixDots;
    for (std::size_t i = 0; i < tables.brlprefcount; ++i)
        EXPECT_TRUE(prefixDots.insert(tables.brlprefixes[i].prefdots).second)
            << tables.brlprefixes[i].prefname;
    std::map<std::string, std::set<std::string>> sections;
    for (std::size_t i = 0; i < tables.brlcharcount; ++i) {
        const brlchartype &entry = tables.brlchars[i];
        EXPECT_TRUE(sections[entry.charprefix].insert(entry.chardots).second)
            << "pattern " << entry.chardots << " twice in section '" << entry.charprefix << "'";
        EXPECT_EQ(prefixDots.count(entry.chardots), 0u)
            << "entry " << toUtf8(entry.charvalue) << " hidden by a prefix";
        EXPECT_EQ(entry.charvalue.size(), 1u) << "entry " << i;
        // Every pattern is a valid cell: dots ascending, 1 to 6.
        EXPECT_FALSE(entry.chardots.empty());
        for (std::size_t d = 0; d < entry.chardots.size(); ++d) {
            EXPECT_TRUE(entry.chardots[d] >= '1' && entry.chardots[d] <= '6');
            if (d > 0) {
                EXPECT_LT(entry.chardots[d - 1], entry.chardots[d]) << entry.chardots;
            }
        }
    }
    for (const std::string section : {"", "#cap", "#num"})
        EXPECT_TRUE(sections.count(section)) << section;
}

TEST(ShippedBrailleTable, GivesTheCzechCharacters) {
    const BrailleTables tables = loadShippedTable();
    // Chord sequences from no prefix, and the characters they write (UTF-8 here).
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"1", "12", "14", "12356", "13456", "1356"}, "abcwyz"},
        {{"16", "146", "1456", "345", "126", "34", "1246"}, "áčďéěíň"},
        {{"246", "2456", "156", "1256", "346", "23456", "12346", "2346"}, "óřšťúůýž"},
        {{"3", "2", "26", "235", "36", "2356"}, ".,?!-\""},
        {{"6", "1", "1"}, "Aa"},
        {{"6", "2456", "6", "23456"}, "ŘŮ"},
        {{"56", "1", "12", "14", " ", "1"}, "ABC a"},
        {{"3456", "1", "245", "2", "15", " ", "1"}, "10,5 a"},
        {{"45", "23456", "12356", "4", "456", "2456", "256"}, "ôŕäľw."},
        {{"46", "45", "46"}, "ĺĺ"},
    };
    for (const auto &[patterns, expected] : cases) {
        BrailleState state;
        std::string written;
        for (const std::string &pattern : patterns)
            written += translatebraille(tables, pattern, state);
        EXPECT_EQ(toUtf8(written), expected);
    }
}

// Every character that a Czech, Slovak or English keyboard can type (Windows-1250 printable
// characters, directly, with AltGr or through a dead key) and the keys Enter, Backspace,
// Escape and Tab.
std::vector<unsigned char> typedCharacters() {
    std::vector<unsigned char> codes{8, 9, 13, 27};
    for (int code = 32; code < 256; ++code) {
        const bool undefined = code == 127 || code == 0x81 || code == 0x83 || code == 0x88 ||
                               code == 0x90 || code == 0x98;
        if (!undefined)
            codes.push_back(static_cast<unsigned char>(code));
    }
    return codes;
}

class ShippedEchoKeys : public ::testing::TestWithParam<std::string> {};

TEST_P(ShippedEchoKeys, EveryTypedCharacterHasAnEchoTextAndCodesAreUnique) {
    EchoKeys table;
    const TableLoadReport report = loadechokeys(table, dataDir + echoKeyFileName(GetParam()));
    EXPECT_EQ(report.warning, "");
    for (unsigned char code : typedCharacters())
        EXPECT_NE(echoTextFor(table, code), "") << "code " << int(code);
    std::set<int> seen;
    for (const echokeytype &entry : table.echokeys)
        if (!entry.keytext.empty()) {
            EXPECT_TRUE(seen.insert(entry.keycode).second) << "code " << int(entry.keycode);
        }
}

INSTANTIATE_TEST_SUITE_P(Languages, ShippedEchoKeys,
                         ::testing::Values("czech", "english", "slovak"));

TEST(ShippedEchoKeys, TextsAreInTheirLanguage) {
    const std::vector<std::tuple<std::string, unsigned char, std::string>> samples{
        {"czech", 0xF8, "eř"},           {"czech", 'A', "velké á"},
        {"czech", ' ', "mezera"},        {"czech", 13, "enter"},
        {"slovak", 0xF4, "ó s vokáňom"}, {"slovak", 0xBC, "veľké mäkké el"},
        {"slovak", '4', "štyri"},        {"english", 0xE1, "a acute"},
        {"english", 'Z', "cap zed"},     {"english", 8, "backspace"},
    };
    for (const auto &[language, code, text] : samples) {
        EchoKeys table;
        loadechokeys(table, dataDir + echoKeyFileName(language));
        EXPECT_EQ(toUtf8(echoTextFor(table, code)), text) << language << " " << int(code);
    }
}

} // namespace
} // namespace hunt
