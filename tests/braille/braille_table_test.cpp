#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "braille/braille_table.h"
#include "braille/temp_dir.h"
#include "runtime/errors.h"

namespace hunt {
namespace {

using test::InTempDir;

// The small table most cases use: capital sign 46, a = 1, A = 1 under #cap, and a
// number sign whose section knows only "1".
const std::string basicTable = "[prefixes]\n"
                               "#cap=46\n"
                               "#num=3456\n"
                               "[characters]\n"
                               "a=1\n"
                               "b=12\n"
                               "[#cap]\n"
                               "A=1\n"
                               "[#num]\n"
                               "1=1\n";

BrailleTables tablesFrom(const std::string &text) {
    BrailleTables tables;
    std::istringstream in(text);
    const TableLoadReport report = loadbrailletable(tables, in);
    EXPECT_EQ(report.ignored, 0u);
    EXPECT_EQ(report.warning, "");
    return tables;
}

// Translates each pattern in turn from an empty prefix state; returns the results and
// leaves the final state in `state`.
std::vector<std::string> translateAll(const BrailleTables &tables,
                                      const std::vector<std::string> &patterns,
                                      BrailleState &state) {
    std::vector<std::string> results;
    for (const std::string &pattern : patterns)
        results.push_back(translatebraille(tables, pattern, state));
    return results;
}

struct ChordCase {
    const char *name;
    std::vector<std::string> patterns;
    std::vector<std::string> results;
    std::string prefixAfter;
};

class TranslateCases : public ::testing::TestWithParam<ChordCase> {};

TEST_P(TranslateCases, GivesCharactersAndKeepsThePrefixState) {
    const ChordCase &c = GetParam();
    const BrailleTables tables = tablesFrom(basicTable);
    BrailleState state;
    EXPECT_EQ(translateAll(tables, c.patterns, state), c.results);
    EXPECT_EQ(state.brailleprefix, c.prefixAfter);
}

INSTANTIATE_TEST_SUITE_P(
    Prefixes, TranslateCases,
    ::testing::Values(
        // The capital sign applies to the next character only.
        ChordCase{"capitalOnce", {"46", "1", "1"}, {"", "A", "a"}, ""},
        // A space chord ends any prefix and gives a space.
        ChordCase{"spaceEndsCapital", {"46", " "}, {"", " "}, ""},
        ChordCase{"spaceEndsNumber", {"3456", "1", " ", "1"}, {"", "1", " ", "a"}, ""},
        // Other prefixes stay until a space or another prefix; entries of the characters
        // section do not apply meanwhile, and an unknown pattern changes nothing.
        ChordCase{"numberStays", {"3456", "1", "1", "12"}, {"", "1", "1", ""}, "#num"},
        ChordCase{"prefixReplacesPrefix", {"3456", "46", "1", "1"}, {"", "", "A", "a"}, ""},
        // A capital with no entry in its section leaves the capital sign in force.
        ChordCase{"capitalWithoutEntry", {"46", "12", "1"}, {"", "", "A"}, ""},
        ChordCase{"unknownPattern", {"123456"}, {""}, ""},
        ChordCase{"emptyPattern", {""}, {""}, ""}),
    [](const auto &param) { return std::string(param.param.name); });

TEST(BrailleTable, FirstEntryInFileOrderWins) {
    const BrailleTables tables = tablesFrom("[characters]\nx=1\ny=1\n[#cap]\nX=1\nY=1\n"
                                            "[prefixes]\n#cap=6\n#cap=5\n#other=6\n");
    BrailleState state;
    EXPECT_EQ(translateAll(tables, {"1", "6", "1", "5", "1"}, state),
              (std::vector<std::string>{"x", "", "X", "", "X"}));
}

TEST(BrailleTable, PrefixPatternWinsOverCharacterWhateverPrefixIsInForce) {
    const BrailleTables tables =
        tablesFrom("[prefixes]\n#cap=6\n#num=3456\n[characters]\nq=6\n[#num]\nz=6\n");
    for (const std::string start : {"", "#num", "#cap"}) {
        BrailleState state{"", start};
        EXPECT_EQ(translatebraille(tables, "6", state), "");
        EXPECT_EQ(state.brailleprefix, "#cap");
    }
}

TEST(BrailleTable, SectionNamesAreExact) {
    const BrailleTables tables = tablesFrom("a=1\n"                // before any header
                                            "[Prefixes]\n#up=6\n"  // other case: skipped
                                            "[characters ]\nb=1\n" // blank: skipped
                                            "[CHARACTERS]\nc=1\n"
                                            "[other]\nd=1\n"
                                            "[]\ne=1\n"
                                            "[\nf=1\n" // a lone bracket names nothing
                                            "[characters]\ng=12\n");
    EXPECT_EQ(tables.brlprefcount, 0);
    ASSERT_EQ(tables.brlcharcount, 1);
    EXPECT_EQ(tables.brlchars[0].charvalue, "g");
}

TEST(BrailleTable, PrefixesSectionTakesOnlyLinesStartingWithHash) {
    const BrailleTables tables =
        tablesFrom("[prefixes]\ncap=6\n\n #x=5\n#cap=6\n#sign\n#eq=4=5\n[characters]\n#=3\n\n");
    ASSERT_EQ(tables.brlprefcount, 3);
    EXPECT_EQ(tables.brlprefixes[0].prefname, "#cap");
    EXPECT_EQ(tables.brlprefixes[0].prefdots, "6");
    // Without "=" the whole line is both name and pattern; only the first "=" splits.
    EXPECT_EQ(tables.brlprefixes[1].prefname, "#sign");
    EXPECT_EQ(tables.brlprefixes[1].prefdots, "#sign");
    EXPECT_EQ(tables.brlprefixes[2].prefdots, "4=5");
    // In a character section a leading "#" is an ordinary entry.
    ASSERT_EQ(tables.brlcharcount, 1);
    EXPECT_EQ(tables.brlchars[0].charvalue, "#");
    EXPECT_EQ(tables.brlchars[0].chardots, "3");
}

TEST(BrailleTable, CharacterEntriesKeepTheirSectionAsPrefix) {
    const BrailleTables tables =
        tablesFrom("[#cap]\nA=1\n[characters]\ne=\nline\n[#num]\n1=1\n==2\n");
    ASSERT_EQ(tables.brlcharcount, 5);
    const std::vector<std::vector<std::string>> expected{{"#cap", "A", "1"},
                                                         {"", "e", ""},
                                                         {"", "line", "line"},
                                                         {"#num", "1", "1"},
                                                         {"#num", "", "=2"}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        const brlchartype &entry = tables.brlchars[i];
        EXPECT_EQ((std::vector<std::string>{entry.charprefix, entry.charvalue, entry.chardots}),
                  expected[i])
            << "entry " << i;
    }
    // An empty pattern matches only the entry with an empty pattern.
    BrailleState state;
    EXPECT_EQ(translatebraille(tables, "", state), "e");
    EXPECT_EQ(translatebraille(tables, "line", state), "line");
}

TEST(BrailleTable, LaterPrefixesSectionRefillsFromTheFirstSlot) {
    const BrailleTables tables =
        tablesFrom("[prefixes]\n#a=1\n#b=2\n[characters]\nx=3\n[prefixes]\n#c=4\n");
    ASSERT_EQ(tables.brlprefcount, 1);
    EXPECT_EQ(tables.brlprefixes[0].prefname, "#c");
    EXPECT_EQ(tables.brlcharcount, 1);
}

TEST(BrailleTable, EmptyTableGivesOnlyTheSpace) {
    const BrailleTables tables;
    BrailleState state{"", "#num"};
    EXPECT_EQ(translatebraille(tables, "1", state), "");
    EXPECT_EQ(state.brailleprefix, "#num");
    EXPECT_EQ(translatebraille(tables, " ", state), " ");
    EXPECT_EQ(state.brailleprefix, "");
}

class BrailleTableFile : public InTempDir {};

TEST_F(BrailleTableFile, ReadsCrLfAndLfAlikeFromTheCurrentDirectory) {
    std::string crlf = basicTable;
    for (std::size_t at = crlf.find('\n'); at != std::string::npos; at = crlf.find('\n', at + 2))
        crlf.replace(at, 1, "\r\n");
    writeFile("czech.vbt", crlf);
    writeFile("lf.vbt", basicTable + "c=14"); // no newline after the last line
    BrailleTables fromCrLf, fromLf;
    EXPECT_EQ(loadbrailletable(fromCrLf).warning, "");
    loadbrailletable(fromLf, "lf.vbt");
    ASSERT_EQ(fromCrLf.brlprefcount, 2);
    ASSERT_EQ(fromCrLf.brlcharcount, 4);
    EXPECT_EQ(fromLf.brlcharcount, 5);
    for (std::size_t i = 0; i < fromCrLf.brlcharcount; ++i) {
        EXPECT_EQ(fromCrLf.brlchars[i].chardots, fromLf.brlchars[i].chardots);
        EXPECT_EQ(fromCrLf.brlchars[i].charprefix, fromLf.brlchars[i].charprefix);
    }
    BrailleState state;
    EXPECT_EQ(translateAll(fromCrLf, {"46", "1"}, state), (std::vector<std::string>{"", "A"}));
}

TEST_F(BrailleTableFile, MissingFileNamesTheFileAndLeavesTheTableEmpty) {
    BrailleTables tables;
    try {
        loadbrailletable(tables, "czech.vbt");
        FAIL() << "no error";
    } catch (const HuntError &error) {
        EXPECT_STREQ(error.what(), "File not found: czech.vbt");
    }
    EXPECT_EQ(tables.brlcharcount, 0);
    EXPECT_EQ(tables.brlprefcount, 0);
}

TEST_F(BrailleTableFile, DirectoryIsAnError) {
    std::filesystem::create_directory("czech.vbt");
    BrailleTables tables;
    EXPECT_THROW(loadbrailletable(tables), HuntError);
}

TEST_F(BrailleTableFile, OverlongTableKeepsTheFirstEntriesAndWarnsOnce) {
    std::string text = "[prefixes]\n";
    for (int i = 0; i < 13; ++i)
        text += "#p" + std::to_string(i) + "=p" + std::to_string(i) + "\n";
    text += "[characters]\n";
    for (int i = 0; i < 300; ++i)
        text += "c" + std::to_string(i) + "=" + std::to_string(i) + "\n";
    writeFile("czech.vbt", text);
    BrailleTables tables;
    const TableLoadReport report = loadbrailletable(tables);
    EXPECT_EQ(report.ignored, 3u + 45u);
    EXPECT_NE(report.warning.find("czech.vbt"), std::string::npos);
    EXPECT_NE(report.warning.find("48"), std::string::npos);
    ASSERT_EQ(tables.brlprefcount, 10);
    ASSERT_EQ(tables.brlcharcount, 255);
    EXPECT_EQ(tables.brlprefixes[0].prefname, "#p0");
    EXPECT_EQ(tables.brlprefixes[9].prefname, "#p9");
    EXPECT_EQ(tables.brlchars[0].charvalue, "c0");
    EXPECT_EQ(tables.brlchars[254].charvalue, "c254");
    BrailleState state;
    EXPECT_EQ(translatebraille(tables, "0", state), "c0");
    EXPECT_EQ(translatebraille(tables, "299", state), "");
    EXPECT_EQ(translatebraille(tables, "p12", state), "");
}

TEST_F(BrailleTableFile, DamagedBytesAreEntriesNotErrors) {
    std::string text = std::string(100000, 'x') + "\n[characters]\n";
    text += std::string("\0=1\n", 4);
    text += "\xff\xfe=\x01\x02\r\r\n";
    text += "[#\x80]\n\x9a=2\n[";
    writeFile("czech.vbt", text);
    BrailleTables tables;
    EXPECT_NO_THROW(loadbrailletable(tables));
    ASSERT_EQ(tables.brlcharcount, 3);
    EXPECT_EQ(tables.brlchars[0].charvalue, std::string(1, '\0'));
    EXPECT_EQ(tables.brlchars[1].chardots, "\x01\x02\r"); // only one CR ends a line
    EXPECT_EQ(tables.brlchars[2].charprefix, "#\x80");
}

} // namespace
} // namespace hunt
