#pragma once
#include <string>
#include <string_view>

namespace hunt {

// Texts inside the system are single-byte Windows-1250, as the screen, the key codes and the
// data files count them. These convert where text meets UTF-8 (Qt, speech engines, sources).

// UTF-8 to Windows-1250; a character the code page lacks becomes "?".
std::string toCp1250(std::string_view utf8);
// Windows-1250 to UTF-8; the five undefined bytes become U+FFFD.
std::string toUtf8(std::string_view cp1250);

} // namespace hunt
