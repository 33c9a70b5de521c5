#include "main_child_scenarios.h"

#include "main_game_driver.h"
#include "support/doubles.h"

#include "runtime/errors.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "shell/screen_memo.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QProcess>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <fstream>
#include <iostream>

namespace hunt::testing {

namespace {

// A program that waits for keys until it is ended from outside.
void waitForever(Runtime &runtime) {
    for (;;) {
        runtime.ports.events.waitForEvents(std::chrono::milliseconds(50));
        runtime.takekey();
    }
}

// Closes every message box that opens (the fatal messages), noting its text in messages.txt.
void closeMessageBoxes() {
    auto *timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
            std::ofstream("messages.txt", std::ios::app) << box->text().toStdString() << '\n';
            box->accept();
        }
    });
    timer->start(20);
}

// Options of a child application in the directory: a silent sound device, no system voice.
ApplicationOptions childOptions(const std::string &dir) {
    ApplicationOptions options;
    options.executablePath = dir + "/hunt";
    options.iniPath = dir + "/hunt.ini";
    options.openMixer = [] {
        return std::make_unique<Mixer>(std::make_unique<SilentAudioDevice>());
    };
    options.systemVoice = [](EventLoop &) -> std::unique_ptr<SystemVoice> {
        throw HuntError("no system voice in tests");
    };
    return options;
}

} // namespace

// Plays a game without voice or sounds and saves a picture of the main window.
int takeScreenshot(const std::string &dir, const std::string &picture) {
    EventLog log;
    RecordingSpeech speech(log);
    RecordingSound sound(log);
    GameDriver game;
    ApplicationOptions options = childOptions(dir);
    options.speech = &speech;
    options.sound = &sound;
    options.program = game.program();
    Application app(options);
    app.createWindows();
    TForm1 &form = *app.form1;
    form.resize(760, 520);
    form.show();
    game.drive(app);
    QTimer::singleShot(200, qApp, [&] {
        form.Startsubmenu->trigger();
        game.stop();
        form.activateWindow();
        QTimer::singleShot(300, qApp, [&] {
            const bool saved = form.grab().save(QString::fromStdString(picture));
            std::_Exit(saved ? 0 : 93);
        });
    });
    QTimer::singleShot(120000, qApp, [] { std::_Exit(92); });
    return app.exec();
}

// Plays a game with the real speech layer and sound effects on a silent device; ends with 0
// when the run came to its end with "hotovo" on the screen.
int playWithRealSpeech(const std::string &dir) {
    GameDriver game;
    ApplicationOptions options = childOptions(dir);
    options.program = game.program();
    Application app(options);
    app.createWindows();
    TForm1 &form = *app.form1;
    form.show();
    game.drive(app);
    QTimer::singleShot(100, qApp, [&] {
        form.Startsubmenu->trigger();
        game.stop();
        bool ready = false;
        for (int row = 0; row < form.printmemo->count(); ++row)
            ready = ready || form.printmemo->line(row).rfind("hotovo", 0) == 0;
        std::_Exit(ready && game.answers == 2 && app.settings.voiceallowed ? 0 : 94);
    });
    QTimer::singleShot(300000, qApp, [] { std::_Exit(92); });
    return app.exec();
}

int runChildScenario(const std::string &name) {
    const char *dir = std::getenv("HUNT_SHELL_DIR");
    if (dir == nullptr)
        return 90;
    QDir::setCurrent(QString::fromUtf8(dir));
    closeMessageBoxes();
    if (name == "real-speech-game")
        return playWithRealSpeech(dir);
    if (name == "screenshot") {
        const char *picture = std::getenv("HUNT_SCREENSHOT");
        return picture ? takeScreenshot(dir, picture) : 90;
    }

    ApplicationOptions options = childOptions(dir);
    options.program = waitForever;
    Application app(options);
    app.createWindows();
    TForm1 &form = *app.form1;
    form.show();
    app.memory.bytes[markAddress] = markValue;

    const auto later = [](int ms, std::function<void()> fn) {
        QTimer::singleShot(ms, qApp, std::move(fn));
    };
    const auto duringRun = [&](std::function<void()> fn) {
        later(0, [&form] { form.Startsubmenu->trigger(); });
        later(100, std::move(fn));
    };

    if (name == "exit-idle") {
        later(0, [&form] { form.exitsubmenu->trigger(); });
    } else if (name == "exit-during-run") {
        duringRun([&form] { form.exitsubmenu->trigger(); });
    } else if (name == "altf4-idle") {
        later(0, [&form] { QTest::keyClick(form.printmemo, Qt::Key_F4, Qt::AltModifier); });
    } else if (name == "altf4-during-run") {
        duringRun([&form] { QTest::keyClick(form.printmemo, Qt::Key_F4, Qt::AltModifier); });
    } else if (name == "close-during-run") {
        duringRun([&form] { form.close(); });
    } else if (name == "start") {
        later(0, [&form] { form.Startsubmenu->trigger(); });
    } else if (name == "start-up") {
        later(0, [&form] { form.close(); });
    } else {
        return 91;
    }
    // A scenario that does not end the process returns from the loop when the window closes.
    later(60000, [] { std::_Exit(92); });
    return app.exec();
}

int runInChild(const std::string &scenario, const std::string &dir) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("HUNT_SHELL_SCENARIO", QString::fromStdString(scenario));
    env.insert("HUNT_SHELL_DIR", QString::fromStdString(dir));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::ForwardedChannels);
    child.start(QCoreApplication::applicationFilePath(), {});
    if (!child.waitForFinished(120000)) {
        child.kill();
        child.waitForFinished();
        return -1;
    }
    return child.exitStatus() == QProcess::NormalExit ? child.exitCode() : -1;
}

} // namespace hunt::testing
