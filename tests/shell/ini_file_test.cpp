#include "shell/ini_file.h"

#include "runtime/errors.h"
#include "shell/temp_dir.h"

#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace hunt {
namespace {

using test::readBytes;
using test::TempDir;
using test::writeBytes;

// Runs check in a child process that has given up root's power to ignore file permissions, so
// that read-only and unreadable files behave for the test as they do for a user. Returns what
// check reported: empty when all went well, "skip" when privileges cannot be dropped.
std::string runUnprivileged(const std::function<std::string()> &check) {
    int channel[2];
    if (::pipe(channel) != 0)
        return "pipe failed";
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(channel[0]);
        std::string report;
        if (::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)) {
            report = "skip";
        } else {
            try {
                report = check();
            } catch (const std::exception &error) {
                report = std::string("unexpected exception: ") + error.what();
            }
        }
        if (::write(channel[1], report.data(), report.size()) < 0)
            ::_exit(2);
        ::_exit(0);
    }
    ::close(channel[1]);
    std::string report;
    char buffer[512];
    ssize_t got;
    while ((got = ::read(channel[0], buffer, sizeof buffer)) > 0)
        report.append(buffer, static_cast<std::size_t>(got));
    ::close(channel[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return "child process failed";
    return report;
}

// A file such as a user or an older version may leave: odd letter case, blanks, comments,
// stray lines, duplicates and bad values.
const std::string messyFile = "; settings\n"
                              "stray=before any section\n"
                              "garbage line\n"
                              "[Voice]\n"
                              "SAPI5=1\n"
                              "  Person = Jakub \xE8\x9A  \n"
                              "pitch=5\n"
                              "pitch=9\n"
                              "voiceallowed=2\n"
                              "emptytext=\n"
                              "[sounds]\n"
                              "sndvolume=abc\n"
                              "vintrasounds=0\n"
                              "[ keyboard ]\n"
                              "braillekeys = -3\n"
                              "# braillekeys=0\n"
                              "[numbers]\n"
                              "big=2147483648\n"
                              "lowest=-2147483648\n"
                              "plus=+12\n"
                              "hex=0x10\n"
                              "partial=12abc\n"
                              "spaced=1 2\n"
                              "empty=\n"
                              "[voice]\n"
                              "speed=7\n";

TEST(IniFileRead, MessyFileReadsValuesAndDefaults) {
    TempDir dir;
    writeBytes(dir.file("hunt.ini"), messyFile);
    const IniFile ini(dir.file("hunt.ini"));

    struct IntegerCase {
        const char *section, *key;
        int32_t defaultValue, expected;
    };
    const IntegerCase integers[] = {
        {"voice", "pitch", 0, 5},        // first of duplicate keys
        {"VOICE", "PITCH", 0, 5},        // names in any case
        {"voice", "speed", 0, 0},        // a second section of the same name is not read
        {"sounds", "sndvolume", 0, 0},   // not a number
        {"sounds", "sndvolume", -7, -7}, //
        {"keyboard", "braillekeys", 0, -3},
        {"numbers", "big", 4, 4}, // out of 32-bit range
        {"numbers", "lowest", 0, INT32_MIN},
        {"numbers", "plus", 0, 12},
        {"numbers", "hex", 4, 4},
        {"numbers", "partial", 4, 4},
        {"numbers", "spaced", 4, 4},
        {"numbers", "empty", 4, 4},
        {"numbers", "absent", 4, 4},
        {"nosection", "pitch", 4, 4},
        {"", "stray", 4, 4}, // keys before any section belong to none
    };
    for (const auto &c : integers)
        EXPECT_EQ(ini.readInteger(c.section, c.key, c.defaultValue), c.expected)
            << c.section << "/" << c.key;

    struct FlagCase {
        const char *section, *key;
        bool defaultValue, expected;
    };
    const FlagCase flags[] = {
        {"voice", "sapi5", false, true},        // written as "SAPI5" in "Voice"
        {"voice", "voiceallowed", false, true}, // any non-zero value
        {"sounds", "vintrasounds", true, false},
        {"sounds", "sndvolume", true, true}, // not a number: default
        {"sounds", "sndvolume", false, false},
        {"keyboard", "braillekeys", false, true},
        {"keyboard", "missing", true, true},
    };
    for (const auto &c : flags)
        EXPECT_EQ(ini.readFlag(c.section, c.key, c.defaultValue), c.expected)
            << c.section << "/" << c.key;

    EXPECT_EQ(ini.readText("voice", "person", "x"), "Jakub \xE8\x9A");
    EXPECT_EQ(ini.readText("voice", "emptytext", "x"), "");
    EXPECT_EQ(ini.readText("voice", "nothing", "default \xE8"), "default \xE8");
}

TEST(IniFileRead, MissingOrUnusableFilesReadAsDefaults) {
    TempDir dir;
    std::string binary;
    for (int i = 0; i < 4096; ++i)
        binary += static_cast<char>((i * 7919 + 13) % 256);
    const char tail[] = "\0[voice]\0pitch=3\n\xFF\xFE[voice\n=\n[]\n=5\n]\n";
    binary.append(tail, sizeof tail - 1);
    writeBytes(dir.file("binary.ini"), binary);
    std::filesystem::create_directory(dir.file("directory.ini"));

    for (const char *name : {"missing.ini", "binary.ini", "directory.ini", "nodir/x.ini"}) {
        const IniFile ini(dir.file(name));
        EXPECT_EQ(ini.readInteger("voice", "pitch", 42), 42) << name;
        EXPECT_TRUE(ini.readFlag("voice", "voiceallowed", true)) << name;
        EXPECT_EQ(ini.readText("voice", "person", "d"), "d") << name;
    }
    EXPECT_FALSE(IniFile(dir.file("missing.ini")).exists());
    EXPECT_FALSE(IniFile(dir.file("directory.ini")).exists());
    EXPECT_TRUE(IniFile(dir.file("binary.ini")).exists());
}

TEST(IniFileRead, UnreadableFileReadsAsDefaults) {
    TempDir dir;
    const std::string path = dir.file("hunt.ini");
    writeBytes(path, "[voice]\npitch=3\n");
    ::chmod(dir.path().c_str(), 0755);
    ::chmod(path.c_str(), 0);
    const std::string report = runUnprivileged([&]() -> std::string {
        const IniFile ini(path);
        if (!ini.exists())
            return "exists() is false";
        if (ini.readInteger("voice", "pitch", 42) != 42)
            return "not the default";
        return "";
    });
    if (report == "skip")
        GTEST_SKIP() << "cannot drop root privileges here";
    EXPECT_EQ(report, "");
}

TEST(IniFileRead, SeesChangesMadeBehindItsBack) {
    TempDir dir;
    const std::string path = dir.file("hunt.ini");
    const IniFile ini(path);
    EXPECT_EQ(ini.readInteger("environment", "language", 1000), 1000);
    writeBytes(path, "[environment]\nlanguage=2000\n");
    EXPECT_EQ(ini.readInteger("environment", "language", 1000), 2000);
    IniFile other(path);
    other.writeInteger("Environment", "Language", 3000);
    EXPECT_EQ(ini.readInteger("environment", "language", 1000), 3000);
}

TEST(IniFileWrite, FirstWriteCreatesTheFile) {
    TempDir dir;
    IniFile ini(dir.file("hunt.ini"));
    EXPECT_FALSE(ini.exists());
    ini.writeFlag("voice", "voiceallowed", true);
    EXPECT_TRUE(ini.exists());
    EXPECT_EQ(readBytes(ini.path()), "[voice]\nvoiceallowed=1\n");
    // Only the settings file is left in the directory: no temporary file.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(IniFileWrite, EditsKeepTheRestOfTheFile) {
    const std::string original = "; my settings\n"
                                 "[Voice]\n"
                                 "voiceallowed = 0   \n"
                                 "PERSON=Old\n"
                                 "\n"
                                 "[sounds]\n"
                                 "vintrasounds=1\n"
                                 "; last\n"
                                 "\n"
                                 "\n"
                                 "[keyboard]\n"
                                 "braillekeys=0";
    struct Case {
        const char *what;
        std::function<void(IniFile &)> write;
        std::string expected;
    };
    const Case cases[] = {
        {"replace in place, key spelled in another case",
         [](IniFile &ini) { ini.writeFlag("voice", "VoiceAllowed", true); },
         "; my settings\n[Voice]\nvoiceallowed = 1   \nPERSON=Old\n\n[sounds]\nvintrasounds=1\n"
         "; last\n\n\n[keyboard]\nbraillekeys=0"},
        {"replace a text with a longer one",
         [](IniFile &ini) { ini.writeText("voice", "person", "Jakub \xE8\x9A"); },
         "; my settings\n[Voice]\nvoiceallowed = 0   \nPERSON=Jakub \xE8\x9A\n\n[sounds]\n"
         "vintrasounds=1\n; last\n\n\n[keyboard]\nbraillekeys=0"},
        {"new key at the end of a section",
         [](IniFile &ini) { ini.writeFlag("voice", "SAPI5", true); },
         "; my settings\n[Voice]\nvoiceallowed = 0   \nPERSON=Old\nSAPI5=1\n\n[sounds]\n"
         "vintrasounds=1\n; last\n\n\n[keyboard]\nbraillekeys=0"},
        {"new key after a section's trailing comment",
         [](IniFile &ini) { ini.writeInteger("sounds", "sndvolume", -500); },
         "; my settings\n[Voice]\nvoiceallowed = 0   \nPERSON=Old\n\n[sounds]\nvintrasounds=1\n"
         "; last\nsndvolume=-500\n\n\n[keyboard]\nbraillekeys=0"},
        {"new key in the last section of a file without a final line ending",
         [](IniFile &ini) { ini.writeFlag("keyboard", "extra", false); },
         "; my settings\n[Voice]\nvoiceallowed = 0   \nPERSON=Old\n\n[sounds]\nvintrasounds=1\n"
         "; last\n\n\n[keyboard]\nbraillekeys=0\nextra=0\n"},
        {"replace the value on a last line without a line ending",
         [](IniFile &ini) { ini.writeFlag("keyboard", "braillekeys", true); },
         "; my settings\n[Voice]\nvoiceallowed = 0   \nPERSON=Old\n\n[sounds]\nvintrasounds=1\n"
         "; last\n\n\n[keyboard]\nbraillekeys=1"},
        {"new section at the end",
         [](IniFile &ini) { ini.writeInteger("environment", "language", 2000); },
         "; my settings\n[Voice]\nvoiceallowed = 0   \nPERSON=Old\n\n[sounds]\nvintrasounds=1\n"
         "; last\n\n\n[keyboard]\nbraillekeys=0\n\n[environment]\nlanguage=2000\n"},
    };
    for (const auto &c : cases) {
        TempDir dir;
        IniFile ini(dir.file("hunt.ini"));
        writeBytes(ini.path(), original);
        ::chmod(ini.path().c_str(), 0640);
        c.write(ini);
        EXPECT_EQ(readBytes(ini.path()), c.expected) << c.what;
        struct stat info {};
        ASSERT_EQ(::stat(ini.path().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0640u) << c.what;
    }
}

TEST(IniFileWrite, CrLfFileKeepsItsLineEnding) {
    TempDir dir;
    IniFile ini(dir.file("hunt.ini"));
    writeBytes(ini.path(),
               "[Voice]\r\nSAPI5=0\r\nperson=Jakub\r\n\r\n[sounds]\r\nsndvolume=-100\r\n");
    EXPECT_EQ(ini.readText("voice", "person", ""), "Jakub");
    EXPECT_EQ(ini.readInteger("sounds", "sndvolume", 0), -100);
    EXPECT_FALSE(ini.readFlag("voice", "sapi5", true));

    ini.writeFlag("voice", "sapi5", true);
    ini.writeInteger("voice", "pitch", 3);
    ini.writeInteger("environment", "language", 3000);
    EXPECT_EQ(readBytes(ini.path()), "[Voice]\r\nSAPI5=1\r\nperson=Jakub\r\npitch=3\r\n\r\n"
                                     "[sounds]\r\nsndvolume=-100\r\n\r\n"
                                     "[environment]\r\nlanguage=3000\r\n");
}

TEST(IniFileWrite, WriteIntoGarbageKeepsItsBytes) {
    TempDir dir;
    IniFile ini(dir.file("hunt.ini"));
    const char bytes[] = "\x00\x01\xFF[=]\n==\n\xE8\x9A";
    const std::string garbage(bytes, sizeof bytes - 1);
    writeBytes(ini.path(), garbage);
    ini.writeText("Voice", "person", "Jakub");
    const std::string after = readBytes(ini.path());
    EXPECT_EQ(after.substr(0, garbage.size()), garbage);
    EXPECT_EQ(ini.readText("voice", "person", ""), "Jakub");
}

TEST(IniFileWrite, ValuesRoundTripUnchanged) {
    TempDir dir;
    IniFile ini(dir.file("hunt.ini"));
    const std::string texts[] = {"", "Jakub", "\xC8\x9Atina \xE8\x9A\x9D\xFD", "a=b;c [d]"};
    for (const auto &text : texts) {
        ini.writeText("voice", "person", text);
        EXPECT_EQ(ini.readText("voice", "person", "default"), text);
    }
    for (const int32_t value : {0, -10000, 255, INT32_MIN, INT32_MAX}) {
        ini.writeInteger("voice", "volume", value);
        EXPECT_EQ(ini.readInteger("voice", "volume", 1), value);
    }
    ini.writeFlag("sounds", "vintrasounds", false);
    EXPECT_FALSE(ini.readFlag("sounds", "vintrasounds", true));
}

TEST(IniFileWrite, RefusesWhatCouldNotBeReadBack) {
    TempDir dir;
    IniFile ini(dir.file("hunt.ini"));
    ini.writeText("voice", "person", "Jakub");
    const std::string before = readBytes(ini.path());
    EXPECT_THROW(ini.writeText("voice", "person", "two\nlines"), HuntError);
    EXPECT_THROW(ini.writeText("voice", "person", "cr\rhere"), HuntError);
    EXPECT_THROW(ini.writeFlag("voice", "a=b", true), HuntError);
    EXPECT_THROW(ini.writeFlag("voice", "", true), HuntError);
    EXPECT_THROW(ini.writeFlag("a]b", "key", true), HuntError);
    EXPECT_EQ(readBytes(ini.path()), before);
}

TEST(IniFileWrite, FailedWriteThrowsAndKeepsTheOldFile) {
    TempDir dir;
    const std::string path = dir.file("hunt.ini");
    const std::string original = "[voice]\nvoiceallowed=0\n";
    writeBytes(path, original);
    ::chmod(path.c_str(), 0644);
    ::chmod(dir.path().c_str(), 0555);
    const std::string report = runUnprivileged([&]() -> std::string {
        IniFile ini(path);
        try {
            ini.writeFlag("voice", "voiceallowed", true);
            return "no error";
        } catch (const HuntError &error) {
            if (std::string(error.what()).find(path) == std::string::npos)
                return std::string("message does not name the file: ") + error.what();
        }
        return "";
    });
    if (report == "skip")
        GTEST_SKIP() << "cannot drop root privileges here";
    EXPECT_EQ(report, "");
    EXPECT_EQ(readBytes(path), original);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(IniFileWrite, DirectoryInTheWayThrows) {
    TempDir dir;
    std::filesystem::create_directory(dir.file("hunt.ini"));
    IniFile ini(dir.file("hunt.ini"));
    EXPECT_THROW(ini.writeFlag("voice", "voiceallowed", true), HuntError);
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("hunt.ini")));
}

TEST(IniFileWrite, SymbolicLinkIsFollowed) {
    TempDir dir;
    writeBytes(dir.file("real.ini"), "[voice]\npitch=1\n");
    std::filesystem::create_symlink("real.ini", dir.file("hunt.ini"));
    IniFile ini(dir.file("hunt.ini"));
    ini.writeInteger("voice", "pitch", 2);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("hunt.ini")));
    EXPECT_EQ(readBytes(dir.file("real.ini")), "[voice]\npitch=2\n");
}

TEST(SettingsFilePath, ReplacesTheLastExtension) {
    const std::pair<const char *, const char *> cases[] = {
        {"/opt/hunt/hunt", "/opt/hunt/hunt.ini"},
        {"/opt/hunt/hunt.exe", "/opt/hunt/hunt.ini"},
        {"/opt/hunt/hunt.new", "/opt/hunt/hunt.ini"},
        {"/opt/hunt/hunt.1.7", "/opt/hunt/hunt.1.ini"},
        {"/opt/hunt.d/hunt", "/opt/hunt.d/hunt.ini"},
        {"/opt/.hunt", "/opt/.hunt.ini"},
    };
    for (const auto &[executable, expected] : cases)
        EXPECT_EQ(settingsFilePathFor(executable), expected);
}

TEST(SettingsFilePath, BesideThisExecutable) {
    const std::string path = settingsFilePath();
    EXPECT_TRUE(path.starts_with("/")) << path;
    EXPECT_TRUE(path.ends_with("/ini_file_test.ini")) << path;
}

} // namespace
} // namespace hunt
