#include "word_reading.h"

namespace hunt {

std::string wordfrom(std::string_view text, std::size_t position) {
    std::string word;
    for (std::size_t i = position; i < text.size() && !isworddelimiter(text[i]); ++i)
        word += text[i];
    return word;
}

} // namespace hunt
