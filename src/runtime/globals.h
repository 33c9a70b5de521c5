#pragma once
#include <cstdint>

namespace hunt {

// The global settings shared by the main window, the dialogs and the runtime.
// Values are those before the settings file is read.
struct GlobalSettings {
    int32_t languagebase = 1000; // 1000 Czech, 2000 English, 3000 Slovak
    bool voiceallowed = false;   // speech through the embedded engine allowed
    bool sapi5 = false;          // the system speech service is the engine
    bool voiceready = false;     // an engine is ready
    bool runstarted = false;     // a run has been started since start-up
    bool vintrasounds = true;    // sound effects on
    int32_t sndvolume = 0;       // hundredths of a decibel, -10000 silent to 0 full
    bool braillekeys = false;    // braille keyboard on
};

// State of the tone statement, shared with the main window's keyboard and timer.
struct ToneState {
    bool soundwait = false;   // set while playsound waits for a tone to end
    uint8_t lasttimbre = 1;   // timbre of the previous tone
    int32_t lastduration = 1; // duration of the previous tone, milliseconds
};

} // namespace hunt
