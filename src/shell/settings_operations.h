#pragma once
#include "audio/voice_models.h"
#include "runtime/globals.h"

#include <functional>
#include <string>

namespace hunt {

class IniFile;

// The check states of the two switch items of the Settings menu; both are settings.
struct MenuChecks {
    bool usesapi5submenu = false;
    bool braillekeyboarditem = false;
};

// Reads the settings at start-up. On a first start (no settings file) it records only whether
// the voice is allowed, which is when a voice source exists (ttsenumExists).
void loadsettings(GlobalSettings &settings, MenuChecks &checks, IniFile &ini, bool ttsenumExists);
// Writes the voice switch, the sound-effect switch and volume, and the braille switch.
void savesettings(const GlobalSettings &settings, IniFile &ini);

// The voice dialog's list and track bars with the two voice-selection actions.
struct VoiceControls {
    ListModel &voicelist;
    TrackBarModel &pitchtb;
    TrackBarModel &speedtb;
    TrackBarModel &volumetb;
    std::function<void()> voicelistClick; // takes the selected voice's mode
    std::function<void()> selectvoice;    // opens the engine and sets the track bars' ranges
    // Shows the fatal message and ends the application; when it returns (in tests) the
    // operation stops there.
    std::function<void(const std::string &message)> endWithMessage;
};

// Selects the stored voice, opens its engine and applies the stored pitch, speed and volume.
// A stored voice that is not in the list is fatal (message: text 43, a space, the name).
void loadvoicesettings(const GlobalSettings &settings, const IniFile &ini, VoiceControls &voice);
// Writes the selected voice and the positions of the three track bars.
void savevoicesettings(IniFile &ini, const VoiceControls &voice);

} // namespace hunt
