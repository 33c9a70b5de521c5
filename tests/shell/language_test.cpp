// The language dialog run by the Environment command.
#include "main_fixture.h"

#include "localization/language_dialog.h"
#include "shell/ini_file.h"

#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace hunt::testing {
namespace {

class LanguageTest : public AppFixture {
protected:
    TForm3 &dialog() { return *app->form3; }

    // Runs the Environment command; act is called once the dialog is up.
    void environment(const std::function<void(TForm3 &)> &act) {
        activate();
        bool shown = false;
        ModalWatcher watcher([&](QWidget *modal) {
            if (modal != &dialog())
                return false;
            shown = true;
            act(dialog());
            return true;
        });
        QTest::keyClick(keys(), Qt::Key_E, Qt::ControlModifier);
        EXPECT_TRUE(shown);
    }
};

TEST_F(LanguageTest, ListsTheThreeLanguages) {
    start();
    ASSERT_EQ(dialog().radios.size(), 3u);
    EXPECT_EQ(dialog().radios[0]->text(), QString::fromUtf8("Čeština"));
    EXPECT_EQ(dialog().radios[1]->text(), "English");
    EXPECT_EQ(dialog().radios[2]->text(), QString::fromUtf8("Slovenčina"));
    EXPECT_EQ(dialog().windowTitle(), QString::fromUtf8("Nastavení prostředí"));
}

TEST_F(LanguageTest, ChoosingEnglishAndOkStoresItAndSaysItAppliesAfterARestart) {
    writeFile(iniPath(), "[environment]\nlanguage=3000\n");
    start();
    MessageBoxes boxes;
    int selectedWhenShown = -2;
    environment([&](TForm3 &d) {
        selectedWhenShown = d.itemIndex();
        d.radios[1]->click();
        EXPECT_EQ(app->settings.languagebase, 2000) << "the choice applies at once";
        EXPECT_EQ(d.windowTitle(), "environment settings");
        EXPECT_EQ(d.okbitbtn->text(), "&OK");
        QTest::mouseClick(d.okbitbtn, Qt::LeftButton);
    });
    EXPECT_EQ(selectedWhenShown, 2);
    EXPECT_EQ(IniFile(iniPath()).readInteger("environment", "language", -1), 2000);
    EXPECT_EQ(boxes.texts, std::vector<std::string>{
                               "Your changes will be applied after you restart the program."});
}

TEST_F(LanguageTest, OkWithTheSameLanguageWritesItAgainWithoutAMessage) {
    start();
    MessageBoxes boxes;
    environment([](TForm3 &d) { QTest::mouseClick(d.okbitbtn, Qt::LeftButton); });
    EXPECT_EQ(IniFile(iniPath()).readInteger("environment", "language", -1), 1000);
    EXPECT_TRUE(boxes.texts.empty());
}

TEST_F(LanguageTest, CancelWritesNothingButKeepsTheClickedLanguage) {
    start();
    const std::string before = readFile(iniPath());
    environment([](TForm3 &d) {
        d.radios[1]->click();
        QTest::mouseClick(d.cancelbitbtn, Qt::LeftButton);
    });
    EXPECT_EQ(readFile(iniPath()), before);
    EXPECT_EQ(app->settings.languagebase, 2000);
}

TEST_F(LanguageTest, AStoredLanguageWithoutABlockSelectsTheLastOrNothing) {
    writeFile(iniPath(), "[environment]\nlanguage=4000\n");
    {
        // Without texts the key-echo file is named ".vky", which does not exist.
        MessageBoxes startup;
        start();
        ASSERT_EQ(startup.texts.size(), 1u);
        EXPECT_NE(startup.texts[0].find(".vky"), std::string::npos) << startup.texts[0];
    }
    EXPECT_EQ(form().windowTitle(), "hunt - ");
    EXPECT_EQ(form().Startsubmenu->text(), "");
    environment([&](TForm3 &d) {
        EXPECT_EQ(d.itemIndex(), 2);
        EXPECT_EQ(app->settings.languagebase, 3000) << "Slovak is chosen before any button";
        QTest::mouseClick(d.cancelbitbtn, Qt::LeftButton);
    });

    app->settings.languagebase = 500;
    MessageBoxes boxes;
    environment([&](TForm3 &d) {
        EXPECT_EQ(d.itemIndex(), -1);
        for (QRadioButton *radio : d.radios)
            EXPECT_FALSE(radio->isChecked());
        QTest::mouseClick(d.okbitbtn, Qt::LeftButton);
    });
    EXPECT_EQ(IniFile(iniPath()).readInteger("environment", "language", -1), 500);
    EXPECT_TRUE(boxes.texts.empty());
}

} // namespace
} // namespace hunt::testing
