#include "application.h"

#include "audio/espeak_engine.h"
#include "audio/sound_bank.h"
#include "audio/sound_dialog.h"
#include "audio/speechd_voice.h"
#include "audio/voice_dialog.h"
#include "braille/chord_entry.h"
#include "input/input_form.h"
#include "localization/language_dialog.h"
#include "localization/string_table.h"
#include "program/hosted_program.h"
#include "review/review_window.h"
#include "shell/about_box.h"
#include "shell/error_box.h"
#include "shell/key_state_tracker.h"
#include "shell/main_window.h"
#include "shell/screen_memo.h"

#include <QApplication>
#include <QCoreApplication>
#include <cstdlib>
#include <iostream>

namespace hunt {

namespace {

ApplicationOptions withDefaults(ApplicationOptions options) {
    if (options.executablePath.empty())
        options.executablePath = QCoreApplication::applicationFilePath().toStdString();
    if (options.iniPath.empty())
        options.iniPath = settingsFilePathFor(options.executablePath);
    if (!options.openMixer)
        options.openMixer = [] { return Mixer::openDefault(); };
    if (!options.systemVoice)
        options.systemVoice = speechdVoiceFactory();
    if (!options.endProcess)
        options.endProcess = [](int code) { std::_Exit(code); };
    if (!options.program)
        options.program = [](Runtime &runtime) { hostedprogram(runtime); };
    return options;
}

} // namespace

Application::Application(ApplicationOptions options)
    : ini(withDefaults(options).iniPath), options_(withDefaults(std::move(options))),
      mixer_(options_.openMixer()), speechlayer(std::make_unique<SpeechLayer>(
                                        settings, events, sound(), echokeys, options_.systemVoice)),
      voiceselection(std::make_unique<VoiceSelection>(
          settings, speech(), speechlayer->notifysink,
          options_.voiceSource ? options_.voiceSource
                               : [this] { return makeEspeakVoiceSource(events, *mixer_); })),
      runtime(RuntimePorts{screen_, events, speech(), sound(), input_, clock, settings, tone}) {
    speechlayer->setVoiceSelection(voiceselection.get());
}

Application::~Application() {
    if (tracker)
        qApp->removeEventFilter(tracker.get());
    // The windows go first: they hold references to everything else.
    aboutbox.reset();
    form6.reset();
    form5.reset();
    form4.reset();
    form3.reset();
    form2.reset();
    form1.reset();
    releasesound();
}

SpeechOutput &Application::speech() {
    return options_.speech ? *options_.speech : *speechlayer;
}

SoundOutput &Application::sound() {
    return options_.sound ? *options_.sound : soundProxy_;
}

std::string Application::text(int offset) const {
    return TResourceLocalizer::GetText(settings.languagebase, offset);
}

void Application::createWindows() {
    tracker = std::make_unique<KeyStateTracker>(heldkeys);
    qApp->installEventFilter(tracker.get());

    form1 = std::make_unique<TForm1>(*this);
    screen_.target = form1->printmemo;
    form2 = std::make_unique<TForm2>(
        settings, speech(), sound(), heldkeys, braille, brailletables,
        [this] { showvirtualscreen(); },
        [this] {
            saveram();
            releasesound();
            endAtOnce(0);
        },
        form1.get());
    input_.target = form2.get();
    form3 = std::make_unique<TForm3>(settings, ini, form1.get());
    form4 = std::make_unique<TForm4>(*voiceselection, settings, speech(), ini, form1.get());
    form5 = std::make_unique<TForm5>(settings, sound(), form1.get());
    form6 = std::make_unique<TForm6>(settings, speech(), sound(), *form1->printmemo, memory,
                                     runtime.pendingkey, form1.get());
    aboutbox = std::make_unique<TAboutbox>(settings, form1.get());
}

int Application::exec() {
    form1->show();
    return QApplication::exec();
}

std::unique_ptr<RunDriver> Application::makeRunDriver(RunMenus &menus) {
    return std::make_unique<RunDriver>(runtime, menus, *this, options_.program);
}

void Application::initsapi4() {
    voiceselection->initsapi4();
}

bool Application::ttsenumExists() const {
    return voiceselection->hasvoices();
}

void Application::createsound(Timer &timer) {
    soundeffects_ = std::make_unique<SoundEffects>(*mixer_, events, timer, settings, tone);
    soundProxy_.target = soundeffects_.get();
    const std::string complaint = soundDeviceMessage();
    if (!complaint.empty())
        std::cerr << "hunt: " << complaint << '\n';
    try {
        soundeffects_->loadsounds();
    } catch (const SoundBankMissing &) {
        fatal(missingBankMessage(text(42)));
    }
}

std::string Application::soundDeviceMessage() const {
    return mixer_ ? mixer_->deviceMessage() : std::string();
}

void Application::loadbrailletables() {
    const auto warn = [](const TableLoadReport &report) {
        if (!report.warning.empty())
            showMessageBox(report.warning);
    };
    warn(loadbrailletable(brailletables, defaultBrailleTableFile));
    braille.brailleprefix.clear();
    warn(loadechokeys(echokeys, echoKeyFileName(text(24))));
}

void Application::saveram() {
    guarded([this] { memory.saveram(); });
}

void Application::releasesound() {
    try {
        soundProxy_.target = nullptr;
        soundeffects_.reset();
        if (mixer_)
            mixer_->loadBank(SoundBank{});
    } catch (...) {
        // Releasing at the end: nothing is left to report it to.
    }
}

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
    if (soundeffects_) {
        soundeffects_->keyDown();
        return;
    }
    tone.soundwait = false;
    if (form1 && form1->Timer)
        form1->Timer->setEnabled(false);
}

void Application::showvirtualscreen() {
    if (form6)
        form6->showvirtualscreen();
}

void Application::cleardotpattern() {
    braille.dotpattern.clear();
}

void Application::readchord() {
    hunt::readchord(heldkeys, braille);
}

std::string Application::translatebraille() {
    return hunt::translatebraille(brailletables, braille.dotpattern, braille);
}

VoiceControls Application::voiceControls() {
    VoiceSelection &voices = *voiceselection;
    return VoiceControls{voices.voicelist,
                         voices.pitchtb,
                         voices.speedtb,
                         voices.volumetb,
                         [&voices] { voices.voicelistClick(); },
                         [&voices] { voices.selectvoice(); },
                         [this](const std::string &message) { fatal(message); }};
}

void Application::loadvoicesettings() {
    VoiceControls controls = voiceControls();
    hunt::loadvoicesettings(settings, ini, controls);
}

void Application::selectvoice() {
    voiceselection->selectvoice();
}

void Application::savevoicesettings() {
    hunt::savevoicesettings(ini, voiceControls());
}

} // namespace hunt
