#include "review_text.h"

#include "input/word_reading.h"
#include "runtime/screen.h"

namespace hunt {

ReviewText::ReviewText(std::vector<std::string> lines) : lines_(std::move(lines)) {}

ReviewText ReviewText::fromScreen(const ScreenLines &screen) {
    std::vector<std::string> lines;
    lines.reserve(static_cast<std::size_t>(screen.count()));
    for (int i = 0; i < screen.count(); ++i)
        lines.push_back(screen.line(i));
    return ReviewText(std::move(lines));
}

const std::string &ReviewText::line(int index) const {
    static const std::string none;
    return index >= 0 && index < lineCount() ? lines_[static_cast<std::size_t>(index)] : none;
}

std::size_t ReviewText::length() const {
    std::size_t total = 0;
    for (const auto &l : lines_)
        total += l.size() + 2;
    return total;
}

std::string ReviewText::text() const {
    std::string all;
    all.reserve(length());
    for (const auto &l : lines_)
        all += l + "\r\n";
    return all;
}

std::size_t ReviewText::position(int line, int column) const {
    std::size_t at = 0;
    for (int i = 0; i < line && i < lineCount(); ++i)
        at += lines_[static_cast<std::size_t>(i)].size() + 2;
    return at + static_cast<std::size_t>(column < 0 ? 0 : column);
}

int ReviewText::lineOf(std::size_t position) const {
    std::size_t start = 0;
    for (int i = 0; i < lineCount(); ++i) {
        const std::size_t next = start + lines_[static_cast<std::size_t>(i)].size() + 2;
        if (position < next)
            return i;
        start = next;
    }
    return lineCount();
}

int ReviewText::columnOf(std::size_t position) const {
    const std::size_t start = this->position(lineOf(position), 0);
    return static_cast<int>(position - start);
}

std::string ReviewText::charAfter(std::size_t position) const {
    const int index = lineOf(position);
    if (index >= lineCount())
        return {};
    const std::string &l = lines_[static_cast<std::size_t>(index)];
    const auto column = static_cast<std::size_t>(columnOf(position));
    if (column < l.size())
        return std::string(1, l[column]);
    return column == l.size() ? "\r" : "\n";
}

std::string ReviewText::wordAt(std::size_t position) const {
    const std::string all = text();
    return position < all.size() ? wordfrom(all, position) : std::string();
}

std::string positionannouncement(const std::string &lineword, int line,
                                 const std::string &columnword, int column) {
    return lineword + " " + std::to_string(line) + ", " + columnword + " " + std::to_string(column);
}

} // namespace hunt
