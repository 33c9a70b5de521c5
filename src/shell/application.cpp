#include "application.h"

#include "localization/language_dialog.h"
#include "localization/string_table.h"
#include "program/hosted_program.h"
#include "shell/about_box.h"
#include "shell/error_box.h"
#include "shell/key_state_tracker.h"
#include "shell/main_window.h"
#include "shell/screen_memo.h"
#include "shell/settings_operations.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>

namespace hunt {

namespace {

// Stand-ins until the speech layer and the sound effects are wired in.
class SilentSpeech final : public SpeechOutput {
public:
    void speak(const std::string &) override {}
    void speakwait(const std::string &) override {}
    void speakkey(const std::string &) override {}
    void stopspeech() override {}
};
class SilentSound final : public SoundOutput {
public:
    void playsound(const std::vector<double> &, double, double) override {}
    void beep() override {}
    void click(double) override {}
};

ApplicationOptions withDefaults(ApplicationOptions options) {
    if (options.executablePath.empty())
        options.executablePath = QCoreApplication::applicationFilePath().toStdString();
    if (options.iniPath.empty())
        options.iniPath = settingsFilePathFor(options.executablePath);
    if (!options.endProcess)
        options.endProcess = [](int code) { std::_Exit(code); };
    if (!options.program)
        options.program = [](Runtime &runtime) { hostedprogram(runtime); };
    return options;
}

} // namespace

Application::Application(ApplicationOptions options)
    : ini(withDefaults(options).iniPath), options_(withDefaults(std::move(options))),
      runtime(RuntimePorts{screen_, events, speech(), sound(), input_, clock, settings, tone}) {}

Application::~Application() = default;

SpeechOutput &Application::speech() {
    if (!speech_) {
        if (options_.speech) {
            speech_ = options_.speech;
        } else {
            ownSpeech_ = std::make_unique<SilentSpeech>();
            speech_ = ownSpeech_.get();
        }
    }
    return *speech_;
}

SoundOutput &Application::sound() {
    if (!sound_) {
        if (options_.sound) {
            sound_ = options_.sound;
        } else {
            ownSound_ = std::make_unique<SilentSound>();
            sound_ = ownSound_.get();
        }
    }
    return *sound_;
}

std::string Application::text(int offset) const {
    return TResourceLocalizer::GetText(settings.languagebase, offset);
}

void Application::createWindows() {
    tracker = std::make_unique<KeyStateTracker>(heldkeys);
    qApp->installEventFilter(tracker.get());

    form1 = std::make_unique<TForm1>(*this);
    screen_.target = form1->printmemo;
    form3 = std::make_unique<TForm3>(settings, ini, form1.get());
    aboutbox = std::make_unique<TAboutbox>(settings, form1.get());
}

int Application::exec() {
    form1->show();
    return QApplication::exec();
}

std::unique_ptr<RunDriver> Application::makeRunDriver(RunMenus &menus) {
    return std::make_unique<RunDriver>(runtime, menus, *this, options_.program);
}

void Application::initsapi4() {}

bool Application::ttsenumExists() const {
    return false;
}

void Application::createsound() {}

void Application::loadbrailletables() {}

void Application::saveram() {
    guarded([this] { memory.saveram(); });
}

void Application::releasesound() {}

void Application::endAtOnce(int code) {
    options_.endProcess(code);
}

void Application::fatal(const std::string &message) {
    showMessageBox(message);
    endAtOnce(1);
}

void Application::altf4() {
    saveram();
    releasesound();
    endAtOnce(0);
}

void Application::endtone() {
    tone.soundwait = false;
    if (form1 && form1->Timer)
        form1->Timer->setEnabled(false);
}

void Application::showvirtualscreen() {
    // The review window empties the pending key when it opens.
    runtime.pendingkey.clear();
}

void Application::cleardotpattern() {}

void Application::readchord() {}

std::string Application::translatebraille() {
    return {};
}

void Application::showaboutbox() {
    aboutbox->exec();
}

void Application::environmentsubmenuClick() {
    form3->environmentsubmenuClick();
}

void Application::soundssubmenuClick(TForm1 &) {}

void Application::VoicesubmenuClick(TForm1 &) {}

void Application::loadvoicesettings() {}

void Application::selectvoice() {}

void Application::savevoicesettings() {}

} // namespace hunt
