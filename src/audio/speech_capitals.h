#pragma once
#include <array>
#include <cstdint>
#include <string_view>

namespace hunt {

// The lower- and uppercase forms of the 22 Czech and Slovak accented letters in six code
// pages (0 Kamenický, 1 PC Latin 2, 2 Windows-1250, 3 ISO 8859-2, 4 KOI8-CS2, 5 Macintosh
// Latin 2): 22 pairs, lowercase first, then one more character; 45 bytes each.
extern const std::array<std::string_view, 6> nationalletters;

// Whether ch is a capital letter: A to Z below 128, otherwise an uppercase form in the row of
// the code page. A code page number outside 0 to 5 knows only A to Z.
bool iscapital(unsigned char ch, uint8_t codepage);

} // namespace hunt
