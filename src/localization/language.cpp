#include "language.h"

#include "runtime/globals.h"
#include "shell/ini_file.h"

namespace hunt {

namespace {
constexpr const char *section = "environment";
constexpr const char *key = "language";
constexpr int32_t czechBase = 1000;
} // namespace

void loadlanguage(GlobalSettings &settings, const IniFile &ini) {
    settings.languagebase = ini.readInteger(section, key, czechBase);
}

void savelanguage(const GlobalSettings &settings, IniFile &ini) {
    ini.writeInteger(section, key, settings.languagebase);
}

} // namespace hunt
