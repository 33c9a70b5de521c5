#pragma once
#include "audio/mixer.h"
#include "runtime/event_loop.h"
#include "runtime/globals.h"
#include "runtime/sound_output.h"

#include <string>

namespace hunt {

// Tones, beep and clicks played from the sound bank's items through the mixer.
//
// The tone's wait is held open by the main window's Timer: the constructor makes its ontimer
// call TimerTimer(), and the main window's key-down handler calls keyDown() to end a tone.
class SoundEffects final : public SoundOutput {
public:
    SoundEffects(Mixer &mixer, EventLoop &events, Timer &timer, GlobalSettings &settings,
                 ToneState &tone);

    // Loads the bank file (sounds.dat in the current directory) into the mixer.
    // Throws SoundBankMissing when the file does not exist: the caller shows
    // missingBankMessage(languagebase) and ends the program. Throws HuntError
    // when the file is damaged.
    void loadsounds(const std::string &path = "sounds.dat");

    void playsound(const std::vector<double> &frequencies, double duration, double timbre) override;
    void beep() override;
    void click(double n) override;

    // The timer's tick: the tone's time is up.
    void TimerTimer();
    // A key went down in the main window: a tone being waited for ends at once.
    void keyDown();

private:
    std::size_t item(const std::string &name) const;
    void playAndWait(const std::string &name);

    Mixer &mixer_;
    EventLoop &events_;
    Timer &timer_;
    GlobalSettings &settings_;
    ToneState &tone_;
};

// The message box text for a missing bank: the localized "can't find the file" (text 42 of
// the language) followed by " sounds.dat", in Windows-1250.
std::string missingBankMessage(int32_t languagebase);
std::string missingBankMessage(const std::string &text42);

} // namespace hunt
