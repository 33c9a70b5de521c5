// Start-up of the whole application: settings file, title, menus, screen, memory image.
#include "main_fixture.h"

#include "braille/echo_keys.h"
#include "main_child_scenarios.h"
#include "shell/ini_file.h"

#include <QMenu>

namespace hunt::testing {
namespace {

class StartupTest : public AppFixture {};

std::vector<std::string> sectionLines(const std::string &ini) {
    std::vector<std::string> sections;
    std::size_t start = 0;
    while (start < ini.size()) {
        std::size_t end = ini.find('\n', start);
        if (end == std::string::npos)
            end = ini.size();
        std::string line = ini.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[')
            sections.push_back(line);
        start = end + 1;
    }
    return sections;
}

TEST_F(StartupTest, FirstStartWritesOnlyTheVoiceSwitch) {
    start();
    const std::string ini = readFile(iniPath());
    EXPECT_EQ(sectionLines(ini), std::vector<std::string>{"[voice]"}) << ini;
    IniFile file(iniPath());
    const bool allowed = app->ttsenumExists();
    EXPECT_EQ(file.readInteger("voice", "voiceallowed", -1), allowed ? 1 : 0);
    EXPECT_EQ(app->settings.voiceallowed, allowed);
    EXPECT_EQ(form().Voicesubmenu->isEnabled(), allowed);
    EXPECT_TRUE(app->settings.vintrasounds);
    EXPECT_EQ(app->settings.sndvolume, 0);
    EXPECT_FALSE(app->settings.braillekeys);
    EXPECT_FALSE(form().usesapi5submenu->isChecked());
    EXPECT_FALSE(app->settings.sapi5);
    EXPECT_EQ(app->settings.languagebase, 1000);
}

TEST_F(StartupTest, FirstStartWithoutVoicesRecordsTheVoiceAsNotAllowed) {
    noVoices = true;
    start();
    EXPECT_FALSE(app->ttsenumExists());
    EXPECT_EQ(readFile(iniPath()), "[voice]\nvoiceallowed=0\n");
    EXPECT_FALSE(app->settings.voiceallowed);
    EXPECT_FALSE(form().Voicesubmenu->isEnabled());
}

TEST_F(StartupTest, AFirstStartThatCannotWriteItsSettingsSaysSoAndStartsAnyway) {
    iniName = "no-such-directory/hunt.ini";
    std::string bytes(65536, '\0');
    bytes[7] = 9;
    writeFile(path("ram.dat"), bytes);
    MessageBoxes boxes;
    start();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("hunt.ini"), std::string::npos) << boxes.texts[0];
    EXPECT_EQ(app->settings.voiceallowed, app->ttsenumExists());
    EXPECT_EQ(form().Voicesubmenu->isEnabled(), app->ttsenumExists());
    // The steps after the settings still ran.
    EXPECT_EQ(app->memory.bytes[7], 9);
    EXPECT_GT(app->brailletables.brlcharcount, 0);
    EXPECT_NE(echoTextFor(app->echokeys, 'a'), "");
}

TEST_F(StartupTest, StoredSapi5ChoiceChecksTheItemAndLocksTheVoiceCommand) {
    writeFile(iniPath(), "[Voice]\r\nsapi5=1\r\n");
    start();
    EXPECT_TRUE(form().usesapi5submenu->isChecked());
    EXPECT_TRUE(app->settings.sapi5);
    EXPECT_TRUE(app->settings.voiceready);
    EXPECT_TRUE(app->settings.voiceallowed) << "the absent key reads as allowed";
    EXPECT_FALSE(form().Voicesubmenu->isEnabled());
}

TEST_F(StartupTest, StoredSoundSettingsAreRead) {
    writeFile(iniPath(), "[sounds]\nsndvolume=-2500\nvintrasounds=0\n[keyboard]\nbraillekeys=1\n");
    start();
    EXPECT_FALSE(app->settings.vintrasounds);
    EXPECT_EQ(app->settings.sndvolume, -2500);
    EXPECT_TRUE(app->settings.braillekeys);
    EXPECT_TRUE(form().braillekeyboarditem->isChecked());
    EXPECT_EQ(readFile(iniPath()),
              "[sounds]\nsndvolume=-2500\nvintrasounds=0\n[keyboard]\nbraillekeys=1\n")
        << "start-up writes nothing when the file exists";
}

TEST_F(StartupTest, TitleIsTheExecutableNameUpToItsFirstDot) {
    start("hunt.new");
    EXPECT_EQ(form().windowTitle(), QString::fromUtf8("hunt - Překladač Vintra Basicu"));
}

TEST_F(StartupTest, TitleKeepsTheLettersOfTheExecutableName) {
    start("hľadanie.pokladu");
    EXPECT_EQ(form().windowTitle(), QString::fromUtf8("hľadanie - Překladač Vintra Basicu"));
}

TEST_F(StartupTest, MenusAreCaptionedWithTheirShortcutsAndTheScreenHas24EmptyLines) {
    writeFile(iniPath(), "[environment]\nlanguage=2000\n");
    start();
    EXPECT_EQ(form().windowTitle(), QString("hunt - Vintra Basic Interpreter"));
    EXPECT_EQ(form().Programmenu->title(), "&Program");
    EXPECT_EQ(form().Startsubmenu->text(), "&Start");
    EXPECT_EQ(form().exitsubmenu->text(), "&Exit");
    EXPECT_EQ(form().settingsmenu->title(), "&Settings");
    EXPECT_EQ(form().braillekeyboarditem->text(), "&Braille keyboard");
    EXPECT_EQ(form().soundssubmenu->text(), "&Sounds...");
    EXPECT_EQ(form().Voicesubmenu->text(), "&Voice...");
    EXPECT_EQ(form().usesapi5submenu->text(), "Use SA&PI5 voice");
    EXPECT_EQ(form().environmentsubmenu->text(), "&Environment...");
    EXPECT_EQ(form().helpmenu->title(), "Hel&p");
    EXPECT_EQ(form().aboutsubmenu->text(), "&About");
    EXPECT_EQ(form().Startsubmenu->shortcut(), QKeySequence("Ctrl+S"));
    EXPECT_EQ(form().braillekeyboarditem->shortcut(), QKeySequence("Ctrl+B"));
    EXPECT_EQ(form().soundssubmenu->shortcut(), QKeySequence("Ctrl+D"));
    EXPECT_EQ(form().Voicesubmenu->shortcut(), QKeySequence("Ctrl+H"));
    EXPECT_EQ(form().usesapi5submenu->shortcut(), QKeySequence("Ctrl+P"));
    EXPECT_EQ(form().environmentsubmenu->shortcut(), QKeySequence("Ctrl+E"));

    ASSERT_EQ(form().printmemo->count(), 24);
    EXPECT_EQ(form().printmemo->document()->blockCount(), 24);
    for (int row = 0; row < 24; ++row)
        EXPECT_EQ(form().printmemo->line(row), "");
    EXPECT_TRUE(form().printmemo->isReadOnly());
    EXPECT_TRUE(form().printmemo->textInteractionFlags() & Qt::TextSelectableByKeyboard);
}

TEST_F(StartupTest, MemoryImageComesFromRamDat) {
    std::string bytes(65536, '\0');
    bytes[50730] = 1;
    bytes[7] = 9;
    writeFile(path("ram.dat"), bytes);
    start();
    EXPECT_EQ(app->memory.bytes[50730], 1);
    EXPECT_EQ(app->memory.bytes[7], 9);
}

TEST_F(StartupTest, ARealStartAndCloseSavesTheMemoryImage) {
    ASSERT_EQ(runInChild("start-up", dir.path().toStdString()), 0);
    const std::string ram = readFile(path("ram.dat"));
    ASSERT_EQ(ram.size(), 65536u);
    EXPECT_EQ(static_cast<unsigned char>(ram[markAddress]), markValue);
}

TEST_F(StartupTest, AMissingSoundBankEndsTheProgramAfterItsMessageWithoutSaving) {
    std::filesystem::remove(path("sounds.dat"));
    EXPECT_EQ(runInChild("start-up", dir.path().toStdString()), 1);
    EXPECT_EQ(readFile(path("messages.txt")), "Nelze nalézt soubor sounds.dat\n");
    EXPECT_FALSE(std::filesystem::exists(path("ram.dat")));
}

TEST_F(StartupTest, AStoredVoiceThatIsNotInstalledEndsTheProgramAtTheNextStart) {
    writeFile(iniPath(), "[voice]\nvoiceallowed=1\nperson=Nobody\n");
    EXPECT_EQ(runInChild("start", dir.path().toStdString()), 1);
    EXPECT_EQ(readFile(path("messages.txt")), "Nelze nalézt hlas uvedený v ini souboru: Nobody\n");
    EXPECT_FALSE(std::filesystem::exists(path("ram.dat")));
}

TEST_F(StartupTest, AMissingBrailleTableIsShownAndEndsTheRemainingSteps) {
    std::filesystem::remove(path("czech.vbt"));
    MessageBoxes boxes;
    start();
    ASSERT_EQ(boxes.texts.size(), 1u);
    EXPECT_NE(boxes.texts[0].find("czech.vbt"), std::string::npos) << boxes.texts[0];
    EXPECT_EQ(echoTextFor(app->echokeys, 'a'), "") << "the key-echo file is not read";
    // The application runs on: the menus work.
    QTest::keyClick(keys(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(app->settings.braillekeys);
}

TEST_F(StartupTest, TablesOfTheLanguageAreRead) {
    start();
    EXPECT_GT(app->brailletables.brlcharcount, 0);
    EXPECT_NE(echoTextFor(app->echokeys, 'a'), "");
}

} // namespace
} // namespace hunt::testing
