#pragma once
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

#include <functional>
#include <memory>
#include <string>

namespace hunt {

class TForm1;
class TForm3;
class TAboutbox;
class KeyStateTracker;

// How the application is put together; the defaults give the real program.
struct ApplicationOptions {
    std::string executablePath; // default: the running executable
    std::string iniPath;        // default: the executable's path with ".ini"
    // Replace the speech and sound outputs (tests record what was said and played).
    SpeechOutput *speech = nullptr;
    SoundOutput *sound = nullptr;
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
    void createsound();
    void loadbrailletables();

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

    // Commands carried out with the dialogs.
    void showaboutbox();
    void environmentsubmenuClick();
    void soundssubmenuClick(TForm1 &form);
    void VoicesubmenuClick(TForm1 &form);

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
    std::unique_ptr<SpeechOutput> ownSpeech_;
    std::unique_ptr<SoundOutput> ownSound_;
    SpeechOutput *speech_ = nullptr;
    SoundOutput *sound_ = nullptr;

public:
    Runtime runtime;

    std::unique_ptr<KeyStateTracker> tracker;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm3> form3;
    std::unique_ptr<TAboutbox> aboutbox;
};

} // namespace hunt
