#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace hunt {

inline constexpr int screenrows = 24;
inline constexpr int screencolumns = 80;

// The 24 lines of the text screen (single-byte Windows-1250 text). The main window's memo
// implements it; PlainScreen keeps them in memory.
class ScreenLines {
public:
    virtual ~ScreenLines() = default;
    virtual int count() const = 0;
    virtual std::string line(int index) const = 0;
    virtual void setLine(int index, const std::string &text) = 0;
    virtual void deleteFirst() = 0; // remove line 0
    virtual void addEmpty() = 0;    // append an empty line at the bottom
};

class PlainScreen final : public ScreenLines {
public:
    PlainScreen() : lines_(screenrows) {}
    int count() const override { return static_cast<int>(lines_.size()); }
    std::string line(int index) const override { return lines_.at(index); }
    void setLine(int index, const std::string &text) override { lines_.at(index) = text; }
    void deleteFirst() override { lines_.erase(lines_.begin()); }
    void addEmpty() override { lines_.emplace_back(); }

private:
    std::vector<std::string> lines_;
};

// Where the next character goes: column 0 to 80 (80 is just past the end), row 0 to 23.
class tscrcursor {
public:
    void setcolumn(uint8_t value) { column = value; }
    void setrow(uint8_t value) { row = value; }
    uint8_t getcolumn() const { return column; }
    uint8_t getrow() const { return row; }

    uint8_t column = 0;
    uint8_t row = 0;
};

} // namespace hunt
