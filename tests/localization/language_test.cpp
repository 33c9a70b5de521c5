#include "localization/language.h"

#include "runtime/globals.h"
#include "shell/ini_file.h"
#include "shell/temp_dir.h"

#include <gtest/gtest.h>

namespace hunt {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

TEST(LoadLanguage, StoredValueOrCzech) {
    const std::pair<const char *, int32_t> cases[] = {
        {nullptr, 1000}, // no file
        {"[voice]\nvoiceallowed=1\n", 1000},
        {"[environment]\n", 1000},
        {"[Environment]\nLANGUAGE=2000\n", 2000},
        {"[environment]\nlanguage=abc\n", 1000},
        {"[environment]\nlanguage=4000\n", 4000}, // kept: such a base simply has no texts
        {"[environment]\nlanguage=500\n", 500},
    };
    for (const auto &[content, expected] : cases) {
        TempDir dir;
        if (content != nullptr)
            writeBytes(dir.file("hunt.ini"), content);
        GlobalSettings settings;
        settings.languagebase = 3000;
        loadlanguage(settings, IniFile(dir.file("hunt.ini")));
        EXPECT_EQ(settings.languagebase, expected) << (content ? content : "(no file)");
    }
}

TEST(SaveLanguage, WritesTheBaseAndReadsBack) {
    TempDir dir;
    IniFile ini(dir.file("hunt.ini"));
    GlobalSettings settings;
    settings.languagebase = 3000;
    savelanguage(settings, ini);
    EXPECT_EQ(readBytes(ini.path()), "[environment]\nlanguage=3000\n");

    settings.languagebase = 2000;
    savelanguage(settings, ini);
    EXPECT_EQ(readBytes(ini.path()), "[environment]\nlanguage=2000\n");

    GlobalSettings loaded;
    loaded.languagebase = 0;
    loadlanguage(loaded, ini);
    EXPECT_EQ(loaded.languagebase, 2000);
}

TEST(SaveLanguage, JoinsAnExistingFile) {
    TempDir dir;
    IniFile ini(dir.file("hunt.ini"));
    writeBytes(ini.path(), "[voice]\nvoiceallowed=1\n");
    GlobalSettings settings;
    settings.languagebase = 2000;
    savelanguage(settings, ini);
    EXPECT_EQ(readBytes(ini.path()), "[voice]\nvoiceallowed=1\n\n[environment]\nlanguage=2000\n");
}

} // namespace
} // namespace hunt
