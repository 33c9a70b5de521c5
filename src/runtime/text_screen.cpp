#include "runtime.h"

#include <algorithm>
#include <chrono>
#include <string_view>

namespace hunt {

Runtime::Runtime(RuntimePorts runtimePorts) : ports(runtimePorts) {
    reseed();
}

namespace {

// Pads the line with spaces to the screen width and overwrites it from column on.
void putOnLine(ScreenLines &screen, int row, std::size_t column, std::string_view piece) {
    if (row < 0 || row >= screen.count())
        return;
    std::string line = screen.line(row);
    if (line.size() < screencolumns)
        line.resize(screencolumns, ' ');
    if (column < line.size())
        line.replace(column, std::min(piece.size(), line.size() - column), piece);
    screen.setLine(row, line);
}

} // namespace

void Runtime::lineadvance() {
    int row = scrcursor.getrow() + 1;
    if (row > screenrows - 1) {
        row = screenrows - 1;
        ports.screen.deleteFirst();
        ports.screen.addEmpty();
    }
    scrcursor.setrow(static_cast<uint8_t>(row));
    scrcursor.setcolumn(0);
}

void Runtime::writescreen(const std::string &text) {
    // The cursor is never set outside the screen by the runtime; clamp all the same so that a
    // stray value cannot index past a line.
    std::size_t column = std::min<std::size_t>(scrcursor.getcolumn(), screencolumns);
    if (scrcursor.getrow() > screenrows - 1)
        scrcursor.setrow(screenrows - 1);

    std::string_view rest = text;
    while (rest.size() + column > screencolumns) {
        const std::size_t take = screencolumns - column;
        putOnLine(ports.screen, scrcursor.getrow(), column, rest.substr(0, take));
        rest.remove_prefix(take);
        lineadvance();
        column = 0;
    }
    putOnLine(ports.screen, scrcursor.getrow(), column, rest);
    column += rest.size();
    scrcursor.setcolumn(static_cast<uint8_t>(column));

    switch (printmode) {
    case 0:
        lineadvance();
        break;
    case 2:
        if (column >= 73) {
            lineadvance();
        } else if (const std::size_t r = column % 8; r == 1) {
            scrcursor.setcolumn(static_cast<uint8_t>(column + 1));
        } else if (r != 0) {
            scrcursor.setcolumn(static_cast<uint8_t>(column + 8 - r));
        }
        break;
    default:
        break;
    }
}

std::string Runtime::takekey() {
    ports.events.processEvents();
    // Callers poll in a loop; with nothing typed, sleep on the queue for a moment so that the
    // poll costs no CPU. A key arriving meanwhile ends the wait at once.
    if (pendingkey.empty())
        ports.events.waitForEvents(std::chrono::milliseconds(10));
    std::string key = std::move(pendingkey);
    pendingkey.clear();
    return key;
}

void Runtime::resetrun() {
    inputbuffer.clear();
    ports.tone.lasttimbre = 1;
    ports.tone.lastduration = 1;
    scrcursor.setcolumn(0);
}

} // namespace hunt
