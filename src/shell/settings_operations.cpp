#include "settings_operations.h"

#include "localization/string_table.h"
#include "shell/ini_file.h"

#include <algorithm>

namespace hunt {

void loadsettings(GlobalSettings &settings, MenuChecks &checks, IniFile &ini, bool ttsenumExists) {
    if (ini.exists()) {
        settings.voiceallowed = ini.readFlag("voice", "voiceallowed", true);
        settings.vintrasounds = ini.readFlag("sounds", "vintrasounds", true);
        settings.sndvolume = ini.readInteger("sounds", "sndvolume", 0);
        settings.braillekeys = ini.readFlag("keyboard", "braillekeys", false);
        checks.usesapi5submenu = ini.readFlag("Voice", "sapi5", false);
        checks.braillekeyboarditem = settings.braillekeys;
        return;
    }
    settings.voiceallowed = ttsenumExists;
    ini.writeFlag("voice", "voiceallowed", settings.voiceallowed);
}

void savesettings(const GlobalSettings &settings, IniFile &ini) {
    ini.writeFlag("voice", "voiceallowed", settings.voiceallowed);
    ini.writeFlag("sounds", "vintrasounds", settings.vintrasounds);
    ini.writeInteger("sounds", "sndvolume", settings.sndvolume);
    ini.writeFlag("keyboard", "braillekeys", settings.braillekeys);
}

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

} // namespace

void loadvoicesettings(const GlobalSettings &settings, const IniFile &ini, VoiceControls &voice) {
    if (!settings.voiceallowed)
        return;
    const std::string name = ini.readText("Voice", "person", "");
    if (name.empty())
        return;
    const auto &items = voice.voicelist.items;
    const auto found = std::find_if(items.begin(), items.end(), [&](const std::string &item) {
        return lowered(item) == lowered(name);
    });
    if (found == items.end()) {
        if (voice.endWithMessage)
            voice.endWithMessage(TResourceLocalizer::GetText(settings.languagebase, 43) + " " +
                                 name);
        return;
    }
    voice.voicelist.selected = static_cast<int>(found - items.begin());
    voice.voicelist.changed();
    if (voice.voicelistClick)
        voice.voicelistClick();
    if (voice.selectvoice)
        voice.selectvoice();
    voice.pitchtb.setPosition(ini.readInteger("Voice", "pitch", 0));
    voice.speedtb.setPosition(ini.readInteger("Voice", "speed", 0));
    voice.volumetb.setPosition(ini.readInteger("Voice", "volume", 255));
}

void savevoicesettings(IniFile &ini, const VoiceControls &voice) {
    // With no voice selected (no voice offered) there is no name to store: the stored one
    // is kept rather than wiped.
    if (voice.voicelist.selected >= 0)
        ini.writeText("Voice", "person", voice.voicelist.selectedText());
    ini.writeInteger("Voice", "pitch", voice.pitchtb.position());
    ini.writeInteger("Voice", "speed", voice.speedtb.position());
    ini.writeInteger("Voice", "volume", voice.volumetb.position());
}

} // namespace hunt
