// Feeds arbitrary bytes to the settings file as its content, reads keys, writes keys and checks
// that a write reads back and leaves the other keys' values alone.
#include "shell/ini_file.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

const std::string &scratchFile() {
    static const std::string path = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "hunt-ini-fuzz-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            std::abort();
        static const std::string directory = pattern;
        std::atexit([] {
            std::error_code error;
            std::filesystem::remove_all(directory, error);
        });
        return pattern + "/hunt.ini";
    }();
    return path;
}

struct Snapshot {
    int32_t volume, language;
    std::string person;
    bool braille;
};

Snapshot snapshot(const hunt::IniFile &ini) {
    return {ini.readInteger("sounds", "sndvolume", 1),
            ini.readInteger("environment", "language", 2), ini.readText("Voice", "person", "none"),
            ini.readFlag("keyboard", "braillekeys", true)};
}

bool same(const Snapshot &a, const Snapshot &b) {
    return a.volume == b.volume && a.language == b.language && a.person == b.person &&
           a.braille == b.braille;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const std::string &path = scratchFile();
    {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    }
    hunt::IniFile ini(path);
    const Snapshot before = snapshot(ini);
    (void)ini.readInteger("VOICE", "PITCH", 0);

    ini.writeInteger("voice", "pitch", 12345);
    if (ini.readInteger("Voice", "Pitch", 0) != 12345)
        std::abort();
    ini.writeText("fuzz", "text", "\xE8\x9A value");
    if (ini.readText("FUZZ", "TEXT", "") != "\xE8\x9A value")
        std::abort();
    if (ini.readInteger("voice", "pitch", 0) != 12345 || !same(before, snapshot(ini)))
        std::abort();
    return 0;
}
