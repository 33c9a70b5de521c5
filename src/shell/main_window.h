#pragma once
#include "shell/main_keyboard.h"
#include "shell/run_driver.h"
#include "shell/settings_operations.h"

#include <QMainWindow>
#include <memory>
#include <string>

class QAction;
class QMenu;

namespace hunt {

class Application;
class ScreenMemo;
class Timer;

// The main window's title (Windows-1250): the executable's file name (UTF-8) up to its first
// ".", " - ", and the program's name.
std::string windowTitleFor(const std::string &executablePath, const std::string &programName);

// The main window: the text screen, the menus and the keyboard of the running program.
// Its creation performs the application's start-up.
class TForm1 final : public QMainWindow, public RunMenus {
public:
    explicit TForm1(Application &app);
    ~TForm1() override;

    // Menus and their items.
    QMenu *Programmenu = nullptr;
    QAction *Startsubmenu = nullptr;
    QAction *exitsubmenu = nullptr;
    QMenu *settingsmenu = nullptr;
    QAction *braillekeyboarditem = nullptr;
    QAction *soundssubmenu = nullptr;
    QAction *Voicesubmenu = nullptr;
    QAction *usesapi5submenu = nullptr;
    QAction *environmentsubmenu = nullptr;
    QMenu *helpmenu = nullptr;
    QAction *aboutsubmenu = nullptr;

    ScreenMemo *printmemo = nullptr;
    std::unique_ptr<hunt::Timer> Timer; // ends the wait for a tone
    MainKeyboard keyboard;

    // Commands.
    void StartsubmenuClick();
    void exitsubmenuClick();
    void aboutsubmenuClick();
    void braillekeyboarditemClick();
    void usesapi5submenuClick();
    void soundssubmenuClick();
    void VoicesubmenuClick();
    void environmentsubmenuClick();

    // True while the hosted program runs (the Start command is locked exactly then).
    bool running() const;

    // RunMenus
    void setEnabled(RunMenuItem item, bool enabled) override;
    bool usesapi5Checked() const override;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    void FormCreate();
    void createMenus();
    void captionMenus();
    void FormClose();
    void handleKeyDown(QKeyEvent *event);
    void handleKeyUp(QKeyEvent *event);
    void switchTones(bool on);
    std::string text(int offset) const;

    Application &app_;
    std::unique_ptr<RunDriver> rundriver_;
};

} // namespace hunt
