#pragma once
#include "clock.h"
#include "event_loop.h"
#include "globals.h"
#include "input_dialog.h"
#include "screen.h"
#include "sound_output.h"
#include "speech_output.h"

#include <cstdint>
#include <optional>
#include <random>
#include <string>

namespace hunt {

// What the runtime talks to. All references outlive the runtime.
struct RuntimePorts {
    ScreenLines &screen;
    EventLoop &events;
    SpeechOutput &speech;
    SoundOutput &sound;
    InputDialog &input;
    Clock &clock;
    GlobalSettings &settings;
    ToneState &tone;
};

// The statements the hosted program calls, with the runtime's state. Texts are Windows-1250.
class Runtime {
public:
    explicit Runtime(RuntimePorts ports);

    // Text screen and cursor.
    void writescreen(const std::string &text);
    void lineadvance();
    std::string takekey(); // one pass over the event queue, then hands pendingkey over once
    void resetrun();

    // Output statements.
    void printstr(const std::string &text, uint8_t mode);
    void printnum(uint8_t mode, double number);

    // Input statement.
    void inputnum(double &number, uint8_t mode);

    // Clock and random numbers.
    std::string timestr() const;
    double rnd(double x);
    void reseed();             // from the clock, as RND with a negative argument does
    void seed(uint64_t value); // fixed seed, for tests

    // Tones and sound effects (pass through to the sound output).
    void playsound(const std::vector<double> &frequencies, double duration, double timbre);
    void beep();
    void click(double n);

    RuntimePorts ports;
    tscrcursor scrcursor;
    uint8_t printmode = 0;   // 0 new line, 2 next tab stop, anything else nothing
    std::string pendingkey;  // the one-slot key text written by the key handlers
    std::string inputbuffer; // values of the last typed line not yet consumed
    double lastrnd = 0;
    // When set, reseed() seeds with this value instead of the clock, so runs repeat (tests).
    std::optional<uint64_t> fixedseed;

private:
    std::mt19937_64 generator_;
};

} // namespace hunt
