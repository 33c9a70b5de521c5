#include "word_reading.h"

namespace hunt {

std::string wordfrom(std::string_view text, std::size_t position) {
    std::string word;
    for (std::size_t i = position; i < text.size() && !isworddelimiter(text[i]); ++i)
        word += text[i];
    return word;
}

namespace {
bool isblank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
} // namespace

std::size_t nextwordstart(std::string_view text, std::size_t position) {
    std::size_t i = position < text.size() ? position : text.size();
    while (i < text.size() && !isblank(text[i]))
        ++i;
    while (i < text.size() && isblank(text[i]))
        ++i;
    return i;
}

std::size_t previouswordstart(std::string_view text, std::size_t position) {
    std::size_t i = position < text.size() ? position : text.size();
    while (i > 0 && isblank(text[i - 1]))
        --i;
    while (i > 0 && !isblank(text[i - 1]))
        --i;
    return i;
}

} // namespace hunt
