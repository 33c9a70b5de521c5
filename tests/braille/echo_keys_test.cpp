#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>

#include "braille/echo_keys.h"
#include "braille/temp_dir.h"
#include "runtime/errors.h"

namespace hunt {
namespace {

using test::InTempDir;

struct IntegerCase {
    const char *text;
    std::optional<int32_t> value;
};

TEST(ParseInteger, FollowsThePlatformConversion) {
    const IntegerCase cases[] = {{"97", 97},
                                 {"+13", 13},
                                 {"-1", -1},
                                 {"  8", 8},
                                 {"8 ", 8},
                                 {"\t27\t", 27},
                                 {"$41", 0x41},
                                 {"$ff", 255},
                                 {"0x2C", 44},
                                 {"-$1", -1},
                                 {"$FFFFFFFF", -1},
                                 {"2147483647", 2147483647},
                                 {"-2147483648", INT32_MIN},
                                 {"007", 7},
                                 {"", std::nullopt},
                                 {" ", std::nullopt},
                                 {"+", std::nullopt},
                                 {"$", std::nullopt},
                                 {"0x", std::nullopt},
                                 {"1 2", std::nullopt},
                                 {"12a", std::nullopt},
                                 {"a", std::nullopt},
                                 {"--1", std::nullopt},
                                 {"2147483648", std::nullopt},
                                 {"-2147483649", std::nullopt},
                                 {"$100000000", std::nullopt},
                                 {"99999999999999999999999", std::nullopt},
                                 {"1.0", std::nullopt},
                                 {"1e2", std::nullopt},
                                 {"$g", std::nullopt}};
    for (const IntegerCase &c : cases)
        EXPECT_EQ(parseInteger(c.text), c.value) << "'" << c.text << "'";
}

TableLoadReport loadFrom(EchoKeys &table, const std::string &text) {
    std::istringstream in(text);
    return loadechokeys(table, in, "test.vky");
}

TEST(EchoKeys, StoresEntriesInFileOrderAndKeepsTheLowByte) {
    EchoKeys table;
    loadFrom(table, "97=a\n\n300=comma\n44=second comma\n13=\n-1=minus one\n$41=A=B\n");
    const std::pair<int, const char *> slots[] = {
        {97, "a"}, {44, "comma"}, {44, "second comma"}, {13, ""}, {255, "minus one"}, {65, "A=B"}};
    for (std::size_t i = 0; i < std::size(slots); ++i) {
        EXPECT_EQ(table.echokeys[i].keycode, slots[i].first) << "slot " << i;
        EXPECT_EQ(table.echokeys[i].keytext, slots[i].second) << "slot " << i;
    }
    // The first entry of a code wins; a code without an entry is not echoed.
    EXPECT_EQ(echoTextFor(table, 44), "comma");
    EXPECT_EQ(echoTextFor(table, 'A'), "A=B");
    EXPECT_EQ(echoTextFor(table, 13), "");
    EXPECT_EQ(echoTextFor(table, 'z'), "");
}

TEST(EchoKeys, BadCodeStopsReadingAndKeepsWhatWasStored) {
    const std::pair<const char *, const char *> cases[] = {
        {"97=a\nx=b\n98=c\n", "'x' is not a valid integer value"},
        {"97=a\nno equals sign\n98=c\n", "'no equals sign' is not a valid integer value"},
        {"97=a\n98\n99=c\n", "'98' is not a valid integer value"},
        {"97=a\n=empty code\n98=c\n", "'' is not a valid integer value"},
        {"97=a\n9 7=b\n98=c\n", "'9 7' is not a valid integer value"},
        {"97=a\r\n\xe1=b\r\n", "'\xe1' is not a valid integer value"}};
    for (const auto &[text, message] : cases) {
        EchoKeys table;
        try {
            loadFrom(table, text);
            ADD_FAILURE() << "no error for " << text;
        } catch (const HuntError &error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
        EXPECT_EQ(echoTextFor(table, 'a'), "a");
        EXPECT_EQ(table.echokeys[1].keycode, 0);
        EXPECT_EQ(echoTextFor(table, 'b'), "");
    }
}

class EchoKeyFile : public InTempDir {};

TEST_F(EchoKeyFile, ReadsCrLfFilesFromTheCurrentDirectory) {
    writeFile("czech.vky", "97=\xe1\r\n\r\n13=enter\r\n8=\r\n154=e\x9a");
    EchoKeys table;
    EXPECT_EQ(loadechokeys(table, echoKeyFileName("czech")).warning, "");
    EXPECT_EQ(echoTextFor(table, 'a'), "\xe1");
    EXPECT_EQ(echoTextFor(table, 13), "enter");
    EXPECT_EQ(table.echokeys[2].keycode, 8);
    EXPECT_EQ(table.echokeys[2].keytext, "");
    EXPECT_EQ(echoTextFor(table, 154), "e\x9a");
}

TEST_F(EchoKeyFile, MissingFileNamesTheFile) {
    EchoKeys table;
    try {
        loadechokeys(table, "slovak.vky");
        FAIL() << "no error";
    } catch (const HuntError &error) {
        EXPECT_STREQ(error.what(), "File not found: slovak.vky");
    }
}

TEST_F(EchoKeyFile, OverlongFileNeverWrapsOntoTheFirstSlot) {
    std::string text;
    for (int i = 0; i < 300; ++i)
        text += std::to_string(i) + "=t" + std::to_string(i) + "\r\n\r\n";
    text += "not a number\n"; // beyond the table: ignored, not an error
    writeFile("english.vky", text);
    EchoKeys table;
    const TableLoadReport report = loadechokeys(table, "english.vky");
    EXPECT_EQ(report.ignored, 45u);
    EXPECT_NE(report.warning.find("english.vky"), std::string::npos);
    EXPECT_EQ(table.echokeys[0].keycode, 0);
    EXPECT_EQ(table.echokeys[0].keytext, "t0");
    EXPECT_EQ(table.echokeys[255].keytext, "t255");
    // Codes 256 to 299 would have landed on 0 to 43: the first entries still win.
    EXPECT_EQ(echoTextFor(table, 10), "t10");
}

} // namespace
} // namespace hunt
