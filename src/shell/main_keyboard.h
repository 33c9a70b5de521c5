#pragma once
#include "braille/held_keys.h"
#include "runtime/globals.h"
#include "shell/virtual_keys.h"

#include <functional>
#include <string>

namespace hunt {

// What the main window's key handlers act on. The hooks are wired by the application.
struct MainKeyboardPorts {
    std::string &pendingkey; // the runtime's one-slot key text
    const HeldKeys &held;    // keys held down at the moment an event is handled
    const GlobalSettings &settings;
    ToneState &tone;
    std::function<void()> stopspeech;
    std::function<void()> endtone;           // ends the tone playsound waits for
    std::function<void()> showvirtualscreen; // opens the screen review
    std::function<void()> altf4;             // saves the memory image and ends the process
    // Braille chord entry (used while the braille keyboard is on).
    std::function<void()> cleardotpattern;
    std::function<void()> readchord;
    std::function<std::string()> translatebraille; // text of the pattern held so far
};

// The main window's keyboard: turns key events into the pending key codes the running
// program reads, stops speech, ends tones, opens the review and handles Alt+F4.
class MainKeyboard {
public:
    explicit MainKeyboard(MainKeyboardPorts ports) : ports_(std::move(ports)) {}

    // key: virtual-key code; shift: the modifier state reported with the event.
    void FormKeyDown(int key, KeyModifiers shift);
    // character: the Windows-1250 character the key typed.
    void FormKeyPress(char character);
    void FormKeyUp(int key, KeyModifiers shift);

    // The code of the arrow keys held now: 128 plus 1 Up, 2 Down, 4 Left, 8 Right.
    static int arrowCode(bool up, bool down, bool left, bool right);

    const std::string &typedkey() const { return typedkey_; }

private:
    static void call(const std::function<void()> &fn) {
        if (fn)
            fn();
    }
    void arrowKeyDown(int key, KeyModifiers shift);

    MainKeyboardPorts ports_;
    std::string typedkey_; // the character of the last key press, delivered on release
};

} // namespace hunt
