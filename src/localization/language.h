#pragma once

namespace hunt {

class IniFile;
struct GlobalSettings;

// The language of the user interface is kept as its block base in the settings file, key
// "language" of section "environment".

// Sets languagebase from the settings file; 1000 (Czech) when the file, the key or a number
// is missing.
void loadlanguage(GlobalSettings &settings, const IniFile &ini);
// Writes languagebase to the settings file; throws HuntError when the file cannot be written.
void savelanguage(const GlobalSettings &settings, IniFile &ini);

} // namespace hunt
