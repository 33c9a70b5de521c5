#include "localization/string_table.h"

#include <gtest/gtest.h>

namespace hunt {
namespace {

TEST(GetText, TextsInEachLanguageAreExactWindows1250) {
    struct Case {
        int32_t base, offset;
        const char *expected;
    };
    const Case cases[] = {
        {1000, 0,
         "\xC8"
         "e\x9Atina"},
        {2000, 0, "English"},
        {3000, 0, "Sloven\xE8ina"},
        {1000, 1,
         "P\xF8"
         "eklada\xE8 Vintra Basicu"},
        {3000, 1, "Preklada\xE8 Vintra Basicu"},
        {1000, 6,
         "Proveden\xE9 zm\xECny se projev\xED a\x9E pot\xE9, co znovu spust\xEDte program."},
        {2000, 6, "Your changes will be applied after you restart the program."},
        {3000, 6, "Vykonan\xE9 zmeny sa prejavia a\x9E po najbli\x9E\x9Aom spusten\xED programu."},
        {1000, 10,
         "Nastaven\xED prost\xF8"
         "ed\xED"},
        {3000, 14,
         "&R\xFD"
         "chlos\x9D"},
        {1000, 17, "Za&v\xF8\xEDt"},
        {2000, 18,
         "The voice is turned off. You can turn it on in the Sounds dialog, menu Settings"},
        {3000, 18,
         "Pou\x9E\xEDvanie hlasu nie je povolen\xE9. Povoli\x9D ho m\xF4\x9E"
         "ete v menu "
         "Nastavenia/Zvuky."},
        {2000, 24, "english"},
        {1000, 29,
         "pr\xE1zdn\xFD \xF8\xE1"
         "dek"},
        {1000, 31,
         "\xF8\xE1"
         "dek"},
        {3000, 32, "st\xE5pec"},
        {1000, 34,
         "N\xE1&pov\xEC"
         "da"},
        {3000, 34, "&Pomoc"},
        {1000, 40,
         "Nelze povolit hlas. \x8E\xE1"
         "dn\xE9 hlasy nejsou k dispozici."},
        {3000, 43,
         "Nie je mo\x9En\xE9 n\xE1js\x9D hlas, uveden\xFD v ini s\xFA"
         "bore:"},
        {3000, 45, "U&kon\xE8i\x9D program"},
        {1000, 46, "&Braillsk\xE1 kl\xE1vesnice"},
        {3000, 46, "&Braillsk\xE1 kl\xE1vesnica"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(TResourceLocalizer::GetText(c.base, c.offset), c.expected)
            << c.base << "+" << c.offset;
}

TEST(GetText, EveryTextIsPresentAndFullyConverted) {
    for (const int32_t base : {1000, 2000, 3000})
        for (int32_t offset = 0; offset <= 46; ++offset) {
            const std::string text = TResourceLocalizer::GetText(base, offset);
            EXPECT_FALSE(text.empty()) << base << "+" << offset;
            // A letter the code page lacked would have become '?'; no text holds one.
            EXPECT_EQ(text.find('?'), std::string::npos) << base << "+" << offset;
        }
}

TEST(GetText, NumbersWithoutTextAreEmpty) {
    const std::pair<int32_t, int32_t> absent[] = {
        {2000, 47},
        {1000, -1},
        {4000, 0},
        {500, 0},
        {0, 0},
        {3000, 47},
        {INT32_MAX, 1000},
        {INT32_MIN, -1000},
        {INT32_MAX, INT32_MAX},
    };
    for (const auto &[base, offset] : absent)
        EXPECT_EQ(TResourceLocalizer::GetText(base, offset), "") << base << "+" << offset;
    // Only the sum counts: 1000 + 1000 is the English name.
    EXPECT_EQ(TResourceLocalizer::GetText(1000, 1000), "English");
}

TEST(GetText, LongTextsAreCutTo255Characters) {
    StringTable table;
    table.set(1000, std::string(300, 'a'));
    table.set(1001, std::string(255, 'b'));
    table.set(1002, std::string(254, 'c'));
    EXPECT_EQ(textOf(table, 1000, 0), std::string(255, 'a'));
    EXPECT_EQ(textOf(table, 1000, 1), std::string(255, 'b'));
    EXPECT_EQ(textOf(table, 1000, 2), std::string(254, 'c'));
}

TEST(GetLanguages, ListsTheThreeBlocks) {
    std::vector<std::pair<std::string, int32_t>> list{{"stale", 7}};
    TResourceLocalizer::GetLanguages(list);
    const std::vector<std::pair<std::string, int32_t>> expected{{"\xC8"
                                                                 "e\x9Atina",
                                                                 1000},
                                                                {"English", 2000},
                                                                {"Sloven\xE8ina", 3000}};
    EXPECT_EQ(list, expected);
}

TEST(GetLanguages, StopsAtTheFirstMissingBlock) {
    StringTable table;
    std::vector<std::pair<std::string, int32_t>> list{{"stale", 7}};
    languagesOf(table, list);
    EXPECT_TRUE(list.empty());

    table.set(1000, "one");
    table.set(2000, "two");
    table.set(3001, "not a language name");
    table.set(4000, "after a gap");
    languagesOf(table, list);
    const std::vector<std::pair<std::string, int32_t>> expected{{"one", 1000}, {"two", 2000}};
    EXPECT_EQ(list, expected);
}

} // namespace
} // namespace hunt
