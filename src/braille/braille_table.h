#pragma once
#include <array>
#include <cstdint>
#include <iosfwd>
#include <string>

#include "braille/text_file.h"

namespace hunt {

// One prefix sign of the braille table: its name (begins with "#", e.g. "#cap") and its dots.
struct brlpreftype {
    std::string prefname;
    std::string prefdots;
};

// One character of the braille table: the prefix it applies under (empty: no prefix in
// force), the character text it produces and its dots.
struct brlchartype {
    std::string charprefix;
    std::string charvalue;
    std::string chardots;
};

// The braille table as read from the table file. Slots are used from index 0 up to the count;
// entries beyond the capacity are not stored (see loadbrailletable).
struct BrailleTables {
    static constexpr std::size_t prefixCapacity = 10;
    static constexpr std::size_t charCapacity = 255;

    std::array<brlpreftype, prefixCapacity> brlprefixes{};
    uint8_t brlprefcount = 0;
    std::array<brlchartype, charCapacity> brlchars{};
    uint8_t brlcharcount = 0;
};

// The chord being entered and the prefix in force, shared by the main window and the input
// dialog.
struct BrailleState {
    std::string dotpattern;    // digits of the held dots in ascending order, " " for space
    std::string brailleprefix; // name of the prefix in force, empty when none
};

inline constexpr const char *defaultBrailleTableFile = "czech.vbt";

// Reads the braille table file (relative to the current directory). A missing or unreadable
// file raises HuntError ("File not found: <name>"); no line of the file is an error.
TableLoadReport loadbrailletable(BrailleTables &tables,
                                 const std::string &fileName = defaultBrailleTableFile);
// The same from a stream; `fileName` only names the file in the warning.
TableLoadReport loadbrailletable(BrailleTables &tables, std::istream &in,
                                 const std::string &fileName = defaultBrailleTableFile);

// Turns a dot pattern into its character text, updating the prefix in force: the space chord
// gives " " and ends any prefix; a prefix chord gives "" and sets the prefix; a character
// entry of the prefix in force gives its text (and a "#cap" prefix is used up); anything else
// gives "" and leaves the prefix alone.
std::string translatebraille(const BrailleTables &tables, const std::string &pattern,
                             BrailleState &state);

} // namespace hunt
