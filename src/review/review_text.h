#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace hunt {

class ScreenLines;

// The snapshot the review window reads: the screen lines, each followed by a carriage return
// and a line feed. Positions count characters of that text from 0; the position after the
// last line break belongs to line index lineCount() (an empty line).
class ReviewText {
public:
    explicit ReviewText(std::vector<std::string> lines = {});
    static ReviewText fromScreen(const ScreenLines &screen);

    int lineCount() const { return static_cast<int>(lines_.size()); }
    const std::string &line(int index) const; // empty for the position after the last break
    std::size_t length() const;               // of the whole text, line breaks included
    std::string text() const;                 // the whole text, CR LF after each line

    // The position of a column (0-based) of a line, and back.
    std::size_t position(int line, int column) const;
    int lineOf(std::size_t position) const;
    int columnOf(std::size_t position) const; // 0-based

    // The character just after a position ("\r" at a line's end); empty at the end of the text.
    std::string charAfter(std::size_t position) const;
    // The word from a position up to a carriage return, space or comma or the text's end.
    std::string wordAt(std::size_t position) const;

private:
    std::vector<std::string> lines_;
};

// The text of the position announcement: "<line> <n>, <column> <m>" with 1-based numbers.
std::string positionannouncement(const std::string &lineword, int line,
                                 const std::string &columnword, int column);

} // namespace hunt
