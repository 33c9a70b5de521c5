#pragma once
// A whole application in a temporary directory, driven through its real windows.
#include "runtime/errors.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "shell/screen_memo.h"
#include "support/doubles.h"

#include <QApplication>
#include <QDir>
#include <QMessageBox>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace hunt::testing {

inline std::string readFile(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Runs fn on every modal window that opens while the watcher lives, from a timer, so that a
// modal exec() started by the code under test can be answered.
class ModalWatcher {
public:
    explicit ModalWatcher(std::function<bool(QWidget *)> onModal) : onModal_(std::move(onModal)) {
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            QWidget *modal = QApplication::activeModalWidget();
            if (modal && modal->isVisible() && modal != handled_) {
                if (onModal_(modal))
                    handled_ = modal;
            }
        });
        timer_.start(10);
    }

private:
    std::function<bool(QWidget *)> onModal_;
    QPointer<QWidget> handled_;
    QTimer timer_;
};

// Records the text of every message box and closes it with OK.
class MessageBoxes {
public:
    MessageBoxes()
        : watcher_([this](QWidget *modal) {
              auto *box = qobject_cast<QMessageBox *>(modal);
              if (!box)
                  return false;
              texts.push_back(box->text().toStdString());
              QMetaObject::invokeMethod(
                  box, [box] { box->accept(); }, Qt::QueuedConnection);
              return true;
          }) {}
    std::vector<std::string> texts;

private:
    ModalWatcher watcher_;
};

// Where the data files of the real program are (the build's runtime directory).
inline std::string runtimeFile(const std::string &name) {
    return std::string(HUNT_RUNTIME_DIR) + "/" + name;
}

// A sound device that plays into nowhere in real time, as on a machine without a sound card.
inline std::unique_ptr<Mixer> quietMixer() {
    return std::make_unique<Mixer>(std::make_unique<SilentAudioDevice>());
}

// Tests never reach for the user's speech service.
inline std::unique_ptr<SystemVoice> noSystemVoice(EventLoop &) {
    throw HuntError("no system voice in tests");
}

class AppFixture : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        previous_ = QDir::currentPath();
        QDir::setCurrent(dir.path());
        for (const char *name :
             {"sounds.dat", "czech.vbt", "czech.vky", "english.vky", "slovak.vky"}) {
            std::error_code error;
            std::filesystem::copy_file(runtimeFile(name), path(name),
                                       std::filesystem::copy_options::overwrite_existing, error);
        }
    }
    void TearDown() override {
        app.reset();
        QDir::setCurrent(previous_);
    }

    std::string path(const std::string &name) const {
        return QDir(dir.path()).filePath(QString::fromStdString(name)).toStdString();
    }
    std::string iniPath() const { return path(iniName); }

    // Starts the application as the program entry does, the main window shown and active.
    void start(const std::string &executableName = "hunt") {
        ApplicationOptions options;
        options.executablePath = path(executableName);
        options.iniPath = iniPath();
        options.speech = &speech;
        options.sound = &sound;
        options.endProcess = [this](int code) { ended.push_back(code); };
        options.openMixer = quietMixer;
        options.systemVoice = noSystemVoice;
        if (noVoices)
            options.voiceSource = [] { return std::unique_ptr<TtsVoiceSource>(); };
        if (program)
            options.program = program;
        app = std::make_unique<Application>(options);
        app->createWindows();
        form().show();
        activate();
    }

    void activate() {
        form().activateWindow();
        form().printmemo->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    }

    TForm1 &form() { return *app->form1; }
    QWidget *keys() { return form().printmemo; }

    std::string pending() const { return app->runtime.pendingkey; }

    QTemporaryDir dir;
    EventLog log;
    RecordingSpeech speech{log};
    RecordingSound sound{log};
    std::vector<int> ended;
    RunDriver::Program program;
    bool noVoices = false;            // no embedded voice source
    std::string iniName = "hunt.ini"; // the settings file, relative to the directory
    std::unique_ptr<Application> app;

private:
    QString previous_;
};

} // namespace hunt::testing
