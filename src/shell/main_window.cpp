#include "main_window.h"

#include "audio/sound_dialog.h"
#include "audio/voice_dialog.h"
#include "localization/language.h"
#include "localization/language_dialog.h"
#include "localization/qt_text.h"
#include "localization/string_table.h"
#include "shell/about_box.h"
#include "shell/application.h"
#include "shell/error_box.h"
#include "shell/ini_file.h"
#include "shell/screen_memo.h"
#include "shell/virtual_keys.h"

#include <QActionGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QListWidget>
#include <QMenuBar>
#include <QSlider>
#include <QStatusBar>
#include <algorithm>
#include <cstdint>
#include <filesystem>

namespace hunt {

TForm1::TForm1(Application &app)
    : keyboard(MainKeyboardPorts{
          app.runtime.pendingkey,
          app.heldkeys,
          app.settings,
          app.tone,
          [&app] { app.speech().stopspeech(); },
          [&app] { app.endtone(); },
          [&app] { app.showvirtualscreen(); },
          [&app] { app.altf4(); },
          [&app] { app.cleardotpattern(); },
          [&app] { app.readchord(); },
          [&app] { return app.translatebraille(); },
      }),
      app_(app) {
    setObjectName("TForm1");
    printmemo = new ScreenMemo(this);
    printmemo->setObjectName("printmemo");
    printmemo->onKeyPress = [this](QKeyEvent *event) { handleKeyDown(event); };
    printmemo->onKeyRelease = [this](QKeyEvent *event) { handleKeyUp(event); };
    setCentralWidget(printmemo);
    Timer = app.events.createTimer();
    createMenus();
    rundriver_ = app.makeRunDriver(*this);
    FormCreate();
}

TForm1::~TForm1() = default;

void TForm1::createMenus() {
    QMenuBar *bar = menuBar();
    Programmenu = bar->addMenu(QString());
    Startsubmenu = Programmenu->addAction(QString());
    Startsubmenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    exitsubmenu = Programmenu->addAction(QString());

    settingsmenu = bar->addMenu(QString());
    braillekeyboarditem = settingsmenu->addAction(QString());
    braillekeyboarditem->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    braillekeyboarditem->setCheckable(true);
    soundssubmenu = settingsmenu->addAction(QString());
    soundssubmenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    Voicesubmenu = settingsmenu->addAction(QString());
    Voicesubmenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_H));
    Voicesubmenu->setEnabled(false);
    usesapi5submenu = settingsmenu->addAction(QString());
    usesapi5submenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    usesapi5submenu->setCheckable(true);
    environmentsubmenu = settingsmenu->addAction(QString());
    environmentsubmenu->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));

    // The two switches show a radio-style mark, each in a group of its own.
    for (QAction *item : {braillekeyboarditem, usesapi5submenu}) {
        auto *group = new QActionGroup(this);
        group->setExclusionPolicy(QActionGroup::ExclusionPolicy::ExclusiveOptional);
        group->addAction(item);
    }

    helpmenu = bar->addMenu(QString());
    aboutsubmenu = helpmenu->addAction(QString());

    const auto command = [this](QAction *action, void (TForm1::*handler)()) {
        connect(action, &QAction::triggered, this,
                [this, handler] { guarded([&] { (this->*handler)(); }); });
    };
    command(Startsubmenu, &TForm1::StartsubmenuClick);
    command(exitsubmenu, &TForm1::exitsubmenuClick);
    command(soundssubmenu, &TForm1::soundssubmenuClick);
    command(Voicesubmenu, &TForm1::VoicesubmenuClick);
    command(environmentsubmenu, &TForm1::environmentsubmenuClick);
    command(aboutsubmenu, &TForm1::aboutsubmenuClick);
    // The switch commands set their check mark themselves: undo the toolkit's own toggle.
    const auto switchCommand = [this](QAction *action, void (TForm1::*handler)()) {
        connect(action, &QAction::triggered, this, [this, action, handler](bool checked) {
            action->setChecked(!checked);
            guarded([&] { (this->*handler)(); });
        });
    };
    switchCommand(braillekeyboarditem, &TForm1::braillekeyboarditemClick);
    switchCommand(usesapi5submenu, &TForm1::usesapi5submenuClick);
}

std::string TForm1::text(int offset) const {
    return TResourceLocalizer::GetText(app_.settings.languagebase, offset);
}

void TForm1::captionMenus() {
    const auto caption = [this](int offset, const char *suffix = "") {
        return qtext(text(offset) + suffix);
    };
    Programmenu->setTitle(caption(2));
    Startsubmenu->setText(caption(3));
    exitsubmenu->setText(caption(33));
    settingsmenu->setTitle(caption(4));
    Voicesubmenu->setText(caption(38, "..."));
    usesapi5submenu->setText(caption(27));
    environmentsubmenu->setText(caption(5, "..."));
    soundssubmenu->setText(caption(20, "..."));
    braillekeyboarditem->setText(caption(46));
    helpmenu->setTitle(caption(34));
    aboutsubmenu->setText(caption(35));
}

std::string windowTitleFor(const std::string &executablePath, const std::string &programName) {
    std::string name = std::filesystem::path(executablePath).filename().string();
    name = name.substr(0, name.find('.'));
    // File names are UTF-8; the title is a text of the system like the program's name.
    return toCp1250(name) + " - " + programName;
}

void TForm1::FormCreate() {
    // A failing step ends the start-up there; the error is shown and the application runs on.
    guarded([this] {
        GlobalSettings &settings = app_.settings;
        loadlanguage(settings, app_.ini);
        setWindowTitle(qtext(windowTitleFor(app_.executablePath(), text(1))));
        captionMenus();
        printmemo->setAccessibleName(qtext(text(26)));

        printmemo->clearLines();
        while (printmemo->count() < screenrows)
            printmemo->addEmpty();

        settings.voiceready = false;
        settings.sapi5 = false;
        settings.runstarted = false;
        settings.voiceallowed = false;
        settings.vintrasounds = true;
        settings.sndvolume = 0;
        settings.braillekeys = false;

        app_.initsapi4();
        usesapi5submenu->setVisible(true);
        MenuChecks checks;
        // The only write of the start-up is the first start's voice switch; when the settings
        // file cannot be written the error is shown and the start-up goes on with the settings
        // already read, rather than without the memory image, the sounds and the tables.
        guarded([&] { loadsettings(settings, checks, app_.ini, app_.ttsenumExists()); });
        usesapi5submenu->setChecked(checks.usesapi5submenu);
        braillekeyboarditem->setChecked(checks.braillekeyboarditem);
        settings.sapi5 = usesapi5submenu->isChecked();
        settings.voiceready = usesapi5submenu->isChecked();
        Voicesubmenu->setEnabled(settings.voiceallowed);
        if (usesapi5submenu->isChecked())
            Voicesubmenu->setEnabled(false);

        app_.memory.clear();
        app_.memory.loadram();

        app_.createsound(*Timer); // ends the application when sounds.dat is missing
        // Without a sound card everything goes on silently; say so once, where it can be seen.
        if (const std::string complaint = app_.soundDeviceMessage(); !complaint.empty())
            statusBar()->showMessage(qtext(complaint));
        app_.loadbrailletables();
    });
}

bool TForm1::running() const {
    return !Startsubmenu->isEnabled();
}

void TForm1::setEnabled(RunMenuItem item, bool enabled) {
    switch (item) {
    case RunMenuItem::Startsubmenu:
        Startsubmenu->setEnabled(enabled);
        break;
    case RunMenuItem::soundssubmenu:
        soundssubmenu->setEnabled(enabled);
        break;
    case RunMenuItem::environmentsubmenu:
        environmentsubmenu->setEnabled(enabled);
        break;
    case RunMenuItem::Voicesubmenu:
        Voicesubmenu->setEnabled(enabled);
        break;
    case RunMenuItem::usesapi5submenu:
        usesapi5submenu->setEnabled(enabled);
        break;
    case RunMenuItem::helpmenu:
        helpmenu->menuAction()->setEnabled(enabled);
        break;
    }
}

bool TForm1::usesapi5Checked() const {
    return usesapi5submenu->isChecked();
}

void TForm1::StartsubmenuClick() {
    rundriver_->StartsubmenuClick();
}

void TForm1::exitsubmenuClick() {
    app_.saveram();
    if (!running()) {
        close();
        return;
    }
    app_.releasesound();
    app_.endAtOnce(0);
}

void TForm1::closeEvent(QCloseEvent *event) {
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    app_.saveram();
    app_.releasesound();
    // Closed by its close box while a program runs: the run's waits would go on without a
    // window, so the process ends here, the memory image saved.
    if (running())
        app_.endAtOnce(0);
}

void TForm1::aboutsubmenuClick() {
    app_.aboutbox->exec();
}

void TForm1::switchTones(bool on) {
    SoundOutput &sound = app_.sound();
    sound.playsound({on ? 400.0 : 600.0}, 50, 3);
    sound.playsound({on ? 600.0 : 400.0}, 50, 3);
}

void TForm1::braillekeyboarditemClick() {
    if (braillekeyboarditem->isChecked()) {
        braillekeyboarditem->setChecked(false);
        switchTones(false);
    } else {
        switchTones(true);
        braillekeyboarditem->setChecked(true);
    }
    app_.settings.braillekeys = braillekeyboarditem->isChecked();
    savesettings(app_.settings, app_.ini);
}

void TForm1::usesapi5submenuClick() {
    usesapi5submenu->setChecked(!usesapi5submenu->isChecked());
    const bool checked = usesapi5submenu->isChecked();
    app_.settings.sapi5 = checked;
    app_.settings.voiceready = checked;
    Voicesubmenu->setEnabled(!checked);
    app_.ini.writeFlag("Voice", "SAPI5", checked);
    switchTones(checked);
}

void TForm1::soundssubmenuClick() {
    GlobalSettings &settings = app_.settings;
    TForm5 &dialog = *app_.form5;
    dialog.voicecheckbox->setChecked(settings.voiceallowed);
    dialog.vintrasoundschk->setChecked(settings.vintrasounds);
    // A change of position runs the track bar's change action, which rounds sndvolume.
    // Counted in 64 bits: a stored volume far out of range must not overflow.
    const int64_t position = (int64_t{settings.sndvolume} + 10000) / 100;
    dialog.sndvoltrackbar->setValue(static_cast<int>(std::clamp<int64_t>(position, 0, 100)));
    dialog.sndvoltrackbar->setEnabled(settings.vintrasounds);
    const int32_t remembered = settings.sndvolume;
    dialog.voicecheckbox->setFocus();
    if (dialog.exec() != modalOk) {
        settings.sndvolume = remembered;
        return;
    }
    if (dialog.voicecheckbox->isChecked() && !settings.voiceallowed) {
        if (app_.ttsenumExists()) {
            app_.voiceselection->listvoices();
            app_.selectvoice();
            app_.savevoicesettings();
        } else {
            dialog.voicecheckbox->setChecked(false);
            showMessageBox(text(40));
        }
    }
    settings.voiceallowed = dialog.voicecheckbox->isChecked();
    Voicesubmenu->setEnabled(settings.voiceallowed);
    settings.vintrasounds = dialog.vintrasoundschk->isChecked();
    savesettings(settings, app_.ini);
}

void TForm1::VoicesubmenuClick() {
    GlobalSettings &settings = app_.settings;
    if (!settings.voiceallowed) {
        showMessageBox(text(18));
        return;
    }
    if (!settings.voiceready) {
        app_.selectvoice();
        app_.savevoicesettings();
    }
    app_.loadvoicesettings();
    TForm4 &dialog = *app_.form4;
    dialog.voicelist->setFocus();
    if (dialog.exec() == modalOk) {
        app_.savevoicesettings();
        app_.loadvoicesettings();
        app_.speech().speakwait(text(19));
    } else {
        app_.speech().speakwait(systemText(windowTitle()));
    }
}

void TForm1::environmentsubmenuClick() {
    app_.form3->environmentsubmenuClick();
}

void TForm1::keyPressEvent(QKeyEvent *event) {
    // Keys that reach the window itself (the screen memo does not have the focus).
    handleKeyDown(event);
    event->accept();
}

void TForm1::keyReleaseEvent(QKeyEvent *event) {
    handleKeyUp(event);
    event->accept();
}

void TForm1::handleKeyDown(QKeyEvent *event) {
    const int key = virtualKey(*event);
    const KeyModifiers shift = keyModifiers(*event);
    guarded([&] {
        keyboard.FormKeyDown(key, shift);
        // A key with Alt types nothing (it is a menu accelerator), nor does Delete.
        if (!shift.alt && !event->text().isEmpty()) {
            const std::string typed = systemText(event->text());
            if (!typed.empty() && typed[0] != '\x7f')
                keyboard.FormKeyPress(typed[0]);
        }
    });
}

void TForm1::handleKeyUp(QKeyEvent *event) {
    if (event->isAutoRepeat())
        return;
    const int key = virtualKey(*event);
    const KeyModifiers shift = keyModifiers(*event);
    guarded([&] { keyboard.FormKeyUp(key, shift); });
}

} // namespace hunt
