// The voice settings operations over the voice dialog's list and track bars.
#include "shell/ini_file.h"
#include "shell/settings_operations.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <string>
#include <vector>

namespace hunt {
namespace {

class VoiceSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        settings.voiceallowed = true;
        voicelist.items = {"Jakub", "English", "Slovak"};
        voicelist.selected = 0;
        for (TrackBarModel *bar : {&pitchtb, &speedtb, &volumetb}) {
            bar->setMin(0);
            bar->setMax(1000);
        }
    }
    VoiceControls controls() {
        return VoiceControls{voicelist,
                             pitchtb,
                             speedtb,
                             volumetb,
                             [this] { calls.push_back("click:" + voicelist.selectedText()); },
                             [this] { calls.push_back("select"); },
                             [this](const std::string &message) { fatal.push_back(message); }};
    }

    QTemporaryDir dir;
    IniFile ini{dir.filePath("hunt.ini").toStdString()};
    GlobalSettings settings;
    ListModel voicelist;
    TrackBarModel pitchtb, speedtb, volumetb;
    std::vector<std::string> calls, fatal;
};

TEST_F(VoiceSettingsTest, SelectsTheStoredVoiceWithoutRegardToCaseAndAppliesItsValues) {
    ini.writeText("Voice", "person", "sLOVAK");
    ini.writeInteger("Voice", "pitch", 40);
    ini.writeInteger("Voice", "speed", 5000); // clamped into the track bar's range
    VoiceControls voice = controls();
    loadvoicesettings(settings, ini, voice);
    EXPECT_EQ(voicelist.selected, 2);
    EXPECT_EQ(calls, (std::vector<std::string>{"click:Slovak", "select"}));
    EXPECT_EQ(pitchtb.position(), 40);
    EXPECT_EQ(speedtb.position(), 1000);
    EXPECT_EQ(volumetb.position(), 255) << "the volume's default";
    EXPECT_TRUE(fatal.empty());
}

TEST_F(VoiceSettingsTest, NothingHappensWithoutAStoredVoiceOrWhenTheVoiceIsOff) {
    VoiceControls voice = controls();
    loadvoicesettings(settings, ini, voice);
    ini.writeText("Voice", "person", "Nobody");
    settings.voiceallowed = false;
    loadvoicesettings(settings, ini, voice);
    EXPECT_TRUE(calls.empty());
    EXPECT_TRUE(fatal.empty());
    EXPECT_EQ(voicelist.selected, 0);
}

TEST_F(VoiceSettingsTest, AVoiceThatIsNotInstalledIsFatal) {
    settings.languagebase = 2000;
    ini.writeText("Voice", "person", "Nobody");
    VoiceControls voice = controls();
    loadvoicesettings(settings, ini, voice);
    EXPECT_EQ(fatal,
              std::vector<std::string>{"Can't find the voice specified in the ini file: Nobody"});
    EXPECT_TRUE(calls.empty());
}

TEST_F(VoiceSettingsTest, SavesTheSelectedVoiceAndThePositions) {
    voicelist.selected = 1;
    pitchtb.setPosition(7);
    speedtb.setPosition(8);
    volumetb.setPosition(9);
    savevoicesettings(ini, controls());
    EXPECT_EQ(ini.readText("voice", "person", ""), "English");
    EXPECT_EQ(ini.readInteger("voice", "pitch", -1), 7);
    EXPECT_EQ(ini.readInteger("voice", "speed", -1), 8);
    EXPECT_EQ(ini.readInteger("voice", "volume", -1), 9);

    // With no voice offered the stored name is kept.
    voicelist.items.clear();
    voicelist.selected = -1;
    savevoicesettings(ini, controls());
    EXPECT_EQ(ini.readText("voice", "person", ""), "English");
}

TEST(Settings, SaveWritesTheFourKeysAndLoadReadsThemBack) {
    QTemporaryDir dir;
    IniFile ini(dir.filePath("hunt.ini").toStdString());
    GlobalSettings saved;
    saved.voiceallowed = true;
    saved.vintrasounds = false;
    saved.sndvolume = -1234;
    saved.braillekeys = true;
    savesettings(saved, ini);
    ini.writeFlag("Voice", "SAPI5", true);

    GlobalSettings loaded;
    MenuChecks checks;
    loadsettings(loaded, checks, ini, false);
    EXPECT_TRUE(loaded.voiceallowed);
    EXPECT_FALSE(loaded.vintrasounds);
    EXPECT_EQ(loaded.sndvolume, -1234);
    EXPECT_TRUE(loaded.braillekeys);
    EXPECT_TRUE(checks.braillekeyboarditem);
    EXPECT_TRUE(checks.usesapi5submenu) << "the key written as SAPI5 reads as sapi5";
}

TEST(Settings, MalformedValuesReadAsTheirDefaults) {
    QTemporaryDir dir;
    IniFile ini(dir.filePath("hunt.ini").toStdString());
    ini.writeText("sounds", "sndvolume", "abc");
    ini.writeText("voice", "voiceallowed", "2");
    ini.writeText("keyboard", "braillekeys", "yes");
    GlobalSettings loaded;
    MenuChecks checks;
    loadsettings(loaded, checks, ini, false);
    EXPECT_EQ(loaded.sndvolume, 0);
    EXPECT_TRUE(loaded.voiceallowed);
    EXPECT_FALSE(loaded.braillekeys);
}

} // namespace
} // namespace hunt
