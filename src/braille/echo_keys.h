#pragma once
#include <array>
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "braille/text_file.h"

namespace hunt {

// One key-echo entry: a Windows-1250 character code and what speech says for it.
struct echokeytype {
    uint8_t keycode = 0;
    std::string keytext;
};

// The key-echo table, filled from slot 0 in file order.
struct EchoKeys {
    static constexpr std::size_t capacity = 256;
    std::array<echokeytype, capacity> echokeys{};
};

// The key-echo file of a language: its name (e.g. "czech") followed by ".vky".
inline std::string echoKeyFileName(const std::string &language) {
    return language + ".vky";
}

// Reads a key-echo file (relative to the current directory): one "code=text" entry per
// non-empty line. A missing or unreadable file raises HuntError ("File not found: <name>").
// A code that is not an integer raises HuntError "'<code>' is not a valid integer value";
// reading stops there and the entries stored before it stay. Only the low 8 bits of a code
// are kept. Lines beyond the table's 256 slots are ignored and reported.
TableLoadReport loadechokeys(EchoKeys &table, const std::string &fileName);
// The same from a stream; `fileName` only names the file in the warning.
TableLoadReport loadechokeys(EchoKeys &table, std::istream &in, const std::string &fileName);

// The echo text of a character: the text of the first slot holding its code, or empty.
std::string echoTextFor(const EchoKeys &table, unsigned char code);

// Converts a decimal integer as the platform's string-to-integer conversion does: blanks
// around it, an optional sign, digits; "$" or "0x" introduces hexadecimal digits. The value
// must fit in 32 bits (hexadecimal up to $FFFFFFFF, taken as two's complement).
std::optional<int32_t> parseInteger(std::string_view text);

} // namespace hunt
