#pragma once
#include "audio/mixer.h"
#include "audio/sound_effects.h"
#include "audio/speech_layer.h"
#include "audio/voice_selection.h"
#include "braille/braille_table.h"
#include "braille/echo_keys.h"
#include "braille/held_keys.h"
#include "runtime/clock.h"
#include "runtime/globals.h"
#include "runtime/input_dialog.h"
#include "runtime/memory_image.h"
#include "runtime/runtime.h"
#include "runtime/screen.h"
#include "shell/ini_file.h"
#include "shell/qt_event_loop.h"
#include "shell/run_driver.h"
#include "shell/settings_operations.h"

#include <functional>
#include <memory>
#include <string>

namespace hunt {

class TForm1;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TAboutbox;
class KeyStateTracker;

// How the application is put together; the defaults give the real program.
struct ApplicationOptions {
    std::string executablePath; // default: the running executable
    std::string iniPath;        // default: the executable's path with ".ini"
    // Replace the speech and sound outputs (tests record what was said and played).
    SpeechOutput *speech = nullptr;
    SoundOutput *sound = nullptr;
    // Opens the sound device (default: the system's, or a silent one when there is none).
    std::function<std::unique_ptr<Mixer>()> openMixer;
    // Creates the embedded engine's voice source (default: espeak-ng on the sound device).
    TtsVoiceSourceFactory voiceSource;
    // Connects the system speech service (default: speech-dispatcher).
    SystemVoiceFactory systemVoice;
    // Ends the process at once (default: std::_Exit). Tests may record instead.
    std::function<void(int code)> endProcess;
    // The program the Start command runs (default: the treasure hunt).
    RunDriver::Program program;
};

// The composition root: owns the shared state and the subsystems, creates the seven windows
// and wires them together.
class Application final : public VoicePreparation {
public:
    explicit Application(ApplicationOptions options = {});
    ~Application() override;
    Application(const Application &) = delete;
    Application &operator=(const Application &) = delete;

    // Creates the windows in their order; the main window's creation does the start-up.
    void createWindows();
    // Shows the main window and runs the message loop until it closes.
    int exec();

    const std::string &executablePath() const { return options_.executablePath; }
    std::string text(int offset) const; // the text at offset of the current language

    SpeechOutput &speech();
    SoundOutput &sound();

    // Start-up steps owned by other subsystems.
    void initsapi4();
    bool ttsenumExists() const;
    // The sound object on the main window's timer, and its bank; a missing bank ends the program.
    void createsound(Timer &timer);
    void loadbrailletables();
    // The sound device's complaint (no sound card), empty when there is a device.
    std::string soundDeviceMessage() const;

    // Ending.
    void saveram();      // an error is shown, and the ending goes on (the old file survives)
    void releasesound(); // errors ignored
    void endAtOnce(int code);
    void fatal(const std::string &message); // message box, then the end; nothing is saved
    void altf4();

    // What the main window's keyboard calls.
    void endtone();
    void showvirtualscreen();
    void cleardotpattern();
    void readchord();
    std::string translatebraille();

    // The voice dialog's list and track bars with the voice-selection actions.
    VoiceControls voiceControls();

    // VoicePreparation
    void loadvoicesettings() override;
    void selectvoice() override;
    void savevoicesettings() override;

    std::unique_ptr<RunDriver> makeRunDriver(RunMenus &menus);

    // Shared state, one instance each.
    GlobalSettings settings;
    ToneState tone;
    MemoryImage memory;
    HeldKeys heldkeys;
    IniFile ini;
    QtEventLoop events;
    SystemClock clock;
    BrailleState braille;
    BrailleTables brailletables;
    EchoKeys echokeys;

private:
    // The runtime is created before the windows that show its screen and take its input.
    class ScreenProxy final : public ScreenLines {
    public:
        ScreenLines *target = nullptr;
        int count() const override { return target ? target->count() : 0; }
        std::string line(int index) const override { return target ? target->line(index) : ""; }
        void setLine(int index, const std::string &text) override {
            if (target)
                target->setLine(index, text);
        }
        void deleteFirst() override {
            if (target)
                target->deleteFirst();
        }
        void addEmpty() override {
            if (target)
                target->addEmpty();
        }
    };
    // The sound object exists from its start-up step until it is released at the end.
    class SoundProxy final : public SoundOutput {
    public:
        SoundOutput *target = nullptr;
        void playsound(const std::vector<double> &frequencies, double duration,
                       double timbre) override {
            if (target)
                target->playsound(frequencies, duration, timbre);
        }
        void beep() override {
            if (target)
                target->beep();
        }
        void click(double n) override {
            if (target)
                target->click(n);
        }
    };
    class InputProxy final : public InputDialog {
    public:
        InputDialog *target = nullptr;
        int showInput(std::string &line) override {
            return target ? target->showInput(line) : modalCancel;
        }
    };

    ApplicationOptions options_;
    ScreenProxy screen_;
    InputProxy input_;
    SoundProxy soundProxy_;
    std::unique_ptr<Mixer> mixer_;
    std::unique_ptr<SoundEffects> soundeffects_;

public:
    std::unique_ptr<SpeechLayer> speechlayer;
    std::unique_ptr<VoiceSelection> voiceselection;
    Runtime runtime;

    std::unique_ptr<KeyStateTracker> tracker;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm2> form2;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TForm4> form4;
    std::unique_ptr<TForm5> form5;
    std::unique_ptr<TForm6> form6;
    std::unique_ptr<TAboutbox> aboutbox;
};

} // namespace hunt
