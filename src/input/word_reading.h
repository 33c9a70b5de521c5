#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace hunt {

// The characters that end a word read aloud in the input dialog and the review window:
// carriage return, space and comma.
inline constexpr std::string_view worddelimiters = "\r ,";

inline bool isworddelimiter(char c) {
    return worddelimiters.find(c) != std::string_view::npos;
}

// The word from `position` (0-based) up to the next delimiter or the end of the text; empty
// when the position stands on a delimiter or at (or past) the end.
std::string wordfrom(std::string_view text, std::size_t position);

// Where Ctrl+Right and Ctrl+Left put the caret, as in a Windows edit box: words are runs of
// non-blank characters (blanks: space, tab, carriage return, line feed), so a comma belongs
// to its word and the caret always lands on a word's first character (or a text's end).
// Next: skip the rest of the current word, then the blanks. Previous: skip the blanks before
// the position, then the word's characters back to its start.
std::size_t nextwordstart(std::string_view text, std::size_t position);
std::size_t previouswordstart(std::string_view text, std::size_t position);

// One step of the edge rule shared by the windows: arriving at an edge once sets the flag,
// arriving there again reports true (the caller clicks or beeps); leaving an edge clears it.
inline bool edgerepeat(bool atEdgeNow, bool &flag) {
    if (!atEdgeNow) {
        flag = false;
        return false;
    }
    if (!flag) {
        flag = true;
        return false;
    }
    return true;
}

} // namespace hunt
