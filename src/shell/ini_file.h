#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace hunt {

// A settings file in the profile format: "[section]" lines, each followed by "key=value" lines.
// Section and key names match without regard to ASCII letter case; names and values are
// trimmed of blanks; lines starting with ';' or '#' are comments; the first of duplicate
// sections or keys counts. Every operation opens the file, reads or writes, and closes it, so
// changes made by another process or another IniFile on the same path are always seen.
//
// Reads never fail: a missing, unreadable, binary or damaged file, a missing section or key, and
// a value that is not a decimal integer where one is expected all give the default.
//
// Writes reach the disk at once and never leave a half-written file: the new content goes to a
// temporary file beside the old one, is synced, and is renamed over it. An existing value is
// replaced in place, leaving every other byte of the file as it was; a new key goes to the end
// of its section, a new section to the end of the file, with the file's own line ending (CR LF
// or LF). A write that cannot be done throws HuntError and leaves the old file untouched.
// Values are bytes (Windows-1250 texts), stored unchanged.
class IniFile {
public:
    explicit IniFile(std::string path);

    const std::string &path() const { return path_; }
    // True when the path names an existing regular file.
    bool exists() const;

    // A flag is stored as "1" or "0" and read as an integer, any non-zero value meaning true.
    bool readFlag(std::string_view section, std::string_view key, bool defaultValue) const;
    // A signed 32-bit decimal integer with an optional sign; anything else reads as the default.
    int32_t readInteger(std::string_view section, std::string_view key, int32_t defaultValue) const;
    // The value as stored (blanks around it removed); the default only when the key is absent.
    std::string readText(std::string_view section, std::string_view key,
                         std::string_view defaultValue) const;

    void writeFlag(std::string_view section, std::string_view key, bool value);
    void writeInteger(std::string_view section, std::string_view key, int32_t value);
    // A value holding a line break cannot be stored in this format and throws HuntError,
    // as do section and key names that could not be read back.
    void writeText(std::string_view section, std::string_view key, std::string_view value);

private:
    std::string path_;
};

// The settings file of this program: the executable's own path (as the system reports it, not
// as it was started) with its last extension replaced by ".ini", or ".ini" appended when it has
// none. Throws HuntError when the executable's path cannot be found.
std::string settingsFilePath();
// The same rule for a given executable path: "/opt/hunt/hunt" -> "/opt/hunt/hunt.ini",
// "/opt/hunt/hunt.new" -> "/opt/hunt/hunt.ini".
std::string settingsFilePathFor(const std::string &executablePath);

} // namespace hunt
