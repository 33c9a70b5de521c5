// Menu commands of the main window, through their shortcuts and menu items.
#include "main_fixture.h"

#include "main_child_scenarios.h"
#include "main_game_driver.h"
#include "runtime/errors.h"
#include "shell/about_box.h"
#include "shell/ini_file.h"

#include "localization/codepage.h"

#include "audio/sound_dialog.h"
#include "audio/voice_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QTextBlock>

namespace hunt::testing {
namespace {

class MenuTest : public AppFixture {
protected:
    std::vector<std::string> tones() const {
        std::vector<std::string> out;
        for (const std::string &entry : log)
            if (entry.rfind("tone:", 0) == 0)
                out.push_back(entry);
        return out;
    }
};

TEST_F(MenuTest, BrailleKeyboardSwitchTogglesWithTonesAndIsStored) {
    start();
    IniFile ini(iniPath());
    QTest::keyClick(keys(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_TRUE(form().braillekeyboarditem->isChecked());
    EXPECT_TRUE(app->settings.braillekeys);
    EXPECT_EQ(ini.readInteger("keyboard", "braillekeys", -1), 1);
    EXPECT_EQ(tones(), (std::vector<std::string>{"tone:400/50/3", "tone:600/50/3"}));

    log.clear();
    QTest::keyClick(keys(), Qt::Key_B, Qt::ControlModifier);
    EXPECT_FALSE(form().braillekeyboarditem->isChecked());
    EXPECT_FALSE(app->settings.braillekeys);
    EXPECT_EQ(ini.readInteger("keyboard", "braillekeys", -1), 0);
    EXPECT_EQ(tones(), (std::vector<std::string>{"tone:600/50/3", "tone:400/50/3"}));
    // The whole settings group is written with it.
    EXPECT_EQ(ini.readInteger("sounds", "vintrasounds", -1), 1);
    EXPECT_EQ(ini.readInteger("sounds", "sndvolume", -1), 0);
}

TEST_F(MenuTest, Sapi5SwitchLocksTheVoiceCommandAndStoresTheChoice) {
    writeFile(iniPath(), "[voice]\nvoiceallowed=1\n");
    start();
    ASSERT_TRUE(form().Voicesubmenu->isEnabled());
    QTest::keyClick(keys(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_TRUE(form().usesapi5submenu->isChecked());
    EXPECT_TRUE(app->settings.sapi5);
    EXPECT_TRUE(app->settings.voiceready);
    EXPECT_FALSE(form().Voicesubmenu->isEnabled());
    EXPECT_EQ(tones(), (std::vector<std::string>{"tone:400/50/3", "tone:600/50/3"}));
    const std::string ini = readFile(iniPath());
    EXPECT_NE(ini.find("SAPI5=1"), std::string::npos) << ini;
    EXPECT_EQ(ini.find("[Voice]"), std::string::npos) << "one section for voice and Voice";
    EXPECT_TRUE(IniFile(iniPath()).readFlag("voice", "sapi5", false));

    log.clear();
    QTest::keyClick(keys(), Qt::Key_P, Qt::ControlModifier);
    EXPECT_FALSE(form().usesapi5submenu->isChecked());
    EXPECT_FALSE(app->settings.voiceready);
    EXPECT_TRUE(form().Voicesubmenu->isEnabled());
    EXPECT_EQ(tones(), (std::vector<std::string>{"tone:600/50/3", "tone:400/50/3"}));
    EXPECT_FALSE(IniFile(iniPath()).readFlag("voice", "sapi5", true));
}

TEST_F(MenuTest, AboutBoxIsLabelledFromTheStringTable) {
    writeFile(iniPath(), "[environment]\nlanguage=2000\n");
    start();
    TAboutbox &about = *app->aboutbox;
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(about.ProductName->text(), "Vintra Basic Interpreter");
    EXPECT_EQ(about.Version->text(), "version 1.7");
    EXPECT_EQ(about.OKButton->text(), "&OK");
    EXPECT_FALSE(about.Copyright->text().isEmpty());
    EXPECT_TRUE(about.Comments->text().isEmpty());

    bool shown = false;
    ModalWatcher watcher([&](QWidget *modal) {
        if (modal != &about)
            return false;
        shown = true;
        QTest::keyClick(modal, Qt::Key_Return);
        return true;
    });
    form().aboutsubmenu->trigger();
    EXPECT_TRUE(shown);
    EXPECT_FALSE(about.isVisible());
}

struct MenuState {
    bool start, sounds, environment, voice, sapi5, help, exit, braille;
    bool operator==(const MenuState &) const = default;
};

MenuState menuState(TForm1 &form) {
    return {form.Startsubmenu->isEnabled(),       form.soundssubmenu->isEnabled(),
            form.environmentsubmenu->isEnabled(), form.Voicesubmenu->isEnabled(),
            form.usesapi5submenu->isEnabled(),    form.helpmenu->menuAction()->isEnabled(),
            form.exitsubmenu->isEnabled(),        form.braillekeyboarditem->isEnabled()};
}

TEST_F(MenuTest, StartLocksTheMenusForTheRunAndUnlocksThemAfterIt) {
    writeFile(iniPath(), "[voice]\nvoiceallowed=1\n[environment]\nlanguage=2000\n");
    MenuState during{};
    program = [&](Runtime &runtime) {
        during = menuState(form());
        runtime.printstr("in the program", 0);
    };
    start();
    const MenuState idle{true, true, true, true, true, true, true, true};
    ASSERT_EQ(menuState(form()), idle);
    QTest::keyClick(keys(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(during, (MenuState{false, false, false, false, false, false, true, true}));
    EXPECT_EQ(menuState(form()), idle);
    EXPECT_TRUE(app->settings.runstarted);
    EXPECT_EQ(form().printmemo->line(0).substr(0, 14), "in the program");
    EXPECT_EQ(form().printmemo->line(1).substr(0, 5), "ready");
}

TEST_F(MenuTest, AnErrorEndsTheRunShowsItsMessageAndUnlocksTheMenus) {
    program = [](Runtime &) { throw HuntError("'x' is not a valid floating point value"); };
    start();
    MessageBoxes boxes;
    form().Startsubmenu->trigger();
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"'x' is not a valid floating point value"});
    EXPECT_TRUE(form().Startsubmenu->isEnabled());
    EXPECT_TRUE(form().helpmenu->menuAction()->isEnabled());
}

TEST_F(MenuTest, ExitWhenIdleClosesTheWindowAndSavesTheMemoryImage) {
    ASSERT_EQ(runInChild("exit-idle", dir.path().toStdString()), 0);
    const std::string ram = readFile(path("ram.dat"));
    ASSERT_EQ(ram.size(), 65536u);
    EXPECT_EQ(static_cast<unsigned char>(ram[markAddress]), markValue);
}

TEST_F(MenuTest, EndingDuringARunSavesTheMemoryImageAndEndsAtOnce) {
    for (const char *scenario :
         {"exit-during-run", "altf4-during-run", "close-during-run", "altf4-idle"}) {
        std::filesystem::remove(path("ram.dat"));
        ASSERT_EQ(runInChild(scenario, dir.path().toStdString()), 0) << scenario;
        const std::string ram = readFile(path("ram.dat"));
        ASSERT_EQ(ram.size(), 65536u) << scenario;
        EXPECT_EQ(static_cast<unsigned char>(ram[markAddress]), markValue) << scenario;
    }
}

TEST_F(MenuTest, SoundsDialogShowsTheStoredVolumeAndCancelKeepsIt) {
    const struct {
        const char *stored;
        int position;
        int32_t afterCancel; // the volume of the opening, rounded down to the track bar's step
    } cases[] = {{"-2500", 75, -2500}, {"-2550", 74, -2600}, {"2147483647", 100, 0}};
    for (const auto &c : cases) {
        const std::string ini =
            std::string("[sounds]\nsndvolume=") + c.stored + "\nvintrasounds=0\n";
        writeFile(iniPath(), ini);
        start();
        int shownPosition = -1;
        bool shownEnabled = true;
        ModalWatcher watcher([&](QWidget *modal) {
            if (modal != app->form5.get())
                return false;
            shownPosition = app->form5->sndvoltrackbar->value();
            shownEnabled = app->form5->sndvoltrackbar->isEnabled();
            app->form5->vintrasoundschk->setChecked(true);
            QTest::mouseClick(app->form5->cancelbitbtn, Qt::LeftButton);
            return true;
        });
        QTest::keyClick(keys(), Qt::Key_D, Qt::ControlModifier);
        EXPECT_EQ(shownPosition, c.position) << c.stored;
        EXPECT_FALSE(shownEnabled) << c.stored;
        EXPECT_EQ(app->settings.sndvolume, c.afterCancel) << c.stored;
        EXPECT_FALSE(app->settings.vintrasounds) << "Cancel applies nothing";
        EXPECT_EQ(readFile(iniPath()), ini) << "Cancel writes nothing";
        app.reset();
    }
}

TEST_F(MenuTest, SoundsDialogOkAppliesAndStoresTheSwitches) {
    writeFile(iniPath(), "[voice]\nvoiceallowed=1\n");
    start();
    ModalWatcher watcher([&](QWidget *modal) {
        if (modal != app->form5.get())
            return false;
        app->form5->voicecheckbox->setChecked(false);
        app->form5->vintrasoundschk->setChecked(false);
        QTest::mouseClick(app->form5->okbitbtn, Qt::LeftButton);
        return true;
    });
    QTest::keyClick(keys(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_FALSE(app->settings.voiceallowed);
    EXPECT_FALSE(app->settings.vintrasounds);
    EXPECT_FALSE(form().Voicesubmenu->isEnabled());
    IniFile ini(iniPath());
    EXPECT_EQ(ini.readInteger("voice", "voiceallowed", -1), 0);
    EXPECT_EQ(ini.readInteger("sounds", "vintrasounds", -1), 0);
}

TEST_F(MenuTest, SwitchingTheVoiceOnWithoutVoicesIsRefused) {
    noVoices = true;
    writeFile(iniPath(), "[voice]\nvoiceallowed=0\n[environment]\nlanguage=2000\n");
    start();
    MessageBoxes boxes;
    ModalWatcher watcher([&](QWidget *modal) {
        if (modal != app->form5.get())
            return false;
        app->form5->voicecheckbox->setChecked(true);
        QTest::mouseClick(app->form5->okbitbtn, Qt::LeftButton);
        return true;
    });
    QTest::keyClick(keys(), Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"Can't allow voice, no voices are available"});
    EXPECT_FALSE(app->form5->voicecheckbox->isChecked());
    EXPECT_FALSE(app->settings.voiceallowed);
    EXPECT_FALSE(form().Voicesubmenu->isEnabled());
    EXPECT_EQ(IniFile(iniPath()).readInteger("voice", "voiceallowed", -1), 0);
    EXPECT_EQ(IniFile(iniPath()).readInteger("sounds", "vintrasounds", -1), 1)
        << "the rest of the command still writes the settings";
}

TEST_F(MenuTest, VoiceCommandWhileTheVoiceIsOffSaysHowToTurnItOn) {
    writeFile(iniPath(), "[voice]\nvoiceallowed=0\n[environment]\nlanguage=2000\n");
    start();
    MessageBoxes boxes;
    form().VoicesubmenuClick();
    EXPECT_EQ(boxes.texts, std::vector<std::string>{"The voice is turned off. You can turn it on "
                                                    "in the Sounds dialog, menu Settings"});
}

TEST_F(MenuTest, VoiceDialogSpeaksTheTitleOnCloseAndTheConfirmationOnOk) {
    writeFile(iniPath(), "[voice]\nvoiceallowed=1\n[environment]\nlanguage=2000\n");
    start();
    if (!app->ttsenumExists())
        GTEST_SKIP() << "no embedded voices on this machine";
    for (const bool ok : {false, true}) {
        activate();
        log.clear();
        ModalWatcher watcher([&](QWidget *modal) {
            if (modal != app->form4.get())
                return false;
            QMetaObject::invokeMethod(
                modal, [this, ok] { app->form4->done(ok ? modalOk : modalCancel); },
                Qt::QueuedConnection);
            return true;
        });
        QTest::keyClick(keys(), Qt::Key_H, Qt::ControlModifier);
        ASSERT_FALSE(log.empty()) << ok;
        EXPECT_EQ(log.back(), ok ? "say:Voice selected." : "say:hunt - Vintra Basic Interpreter");
    }
    EXPECT_TRUE(app->settings.voiceready);
    EXPECT_FALSE(IniFile(iniPath()).readText("Voice", "person", "").empty())
        << "the chosen voice is stored";
}

TEST_F(MenuTest, AWholeGameWithTheRealSpeechAndSoundsComesToItsEnd) {
    // Speech and tones last as long as they would be heard (a silent device plays them in
    // real time), so this is the slowest test here.
    EXPECT_EQ(runInChild("real-speech-game", dir.path().toStdString()), 0);
}

std::string trimmed(std::string line) {
    while (!line.empty() && line.back() == ' ')
        line.pop_back();
    return toUtf8(line);
}

TEST_F(MenuTest, AWholeGameIsPlayedThroughTheMainWindowAndTheInputDialog) {
    GameDriver game;
    program = game.program();
    start();
    game.drive(*app);
    QTest::keyClick(keys(), Qt::Key_S, Qt::ControlModifier);
    game.stop();

    EXPECT_EQ(game.answers, 2) << "the treasure is found at the first attempt";
    EXPECT_GE(game.keys, 3);
    EXPECT_TRUE(form().Startsubmenu->isEnabled());
    std::vector<std::string> lines;
    for (int row = 0; row < form().printmemo->count(); ++row)
        lines.push_back(trimmed(form().printmemo->line(row)));
    const auto has = [&](const std::string &text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    EXPECT_TRUE(has(";koňiec. počet hier     1")) << ::testing::PrintToString(lines);
    EXPECT_TRUE(has("hotovo")) << ::testing::PrintToString(lines);
    // The screen shows what the runtime wrote.
    EXPECT_EQ(form().printmemo->document()->blockCount(), 24);
    EXPECT_EQ(form().printmemo->document()->findBlockByNumber(5).text().toStdString(),
              toUtf8(form().printmemo->line(5)));
    const auto said = std::find(log.begin(), log.end(), toCp1250("say:gratulujem!"));
    EXPECT_NE(said, log.end());
}

} // namespace
} // namespace hunt::testing
