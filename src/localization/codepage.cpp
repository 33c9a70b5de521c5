#include "codepage.h"

#include <cerrno>
#include <iconv.h>
#include <stdexcept>

namespace hunt {
namespace {

// Converts with glibc iconv; an input sequence the target cannot take is replaced and skipped.
std::string convert(std::string_view input, const char *to, const char *from,
                    std::string_view replacement, std::size_t skipUnit) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw std::runtime_error(std::string("no conversion from ") + from + " to " + to);
    std::string out;
    out.reserve(input.size() * 2);
    char *in = const_cast<char *>(input.data());
    std::size_t inLeft = input.size();
    char buffer[256];
    while (inLeft > 0) {
        char *outPtr = buffer;
        std::size_t outLeft = sizeof buffer;
        const std::size_t result = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
        if (result == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // EILSEQ or EINVAL: skip one input character (a whole UTF-8 sequence from UTF-8).
            std::size_t skip = skipUnit;
            if (skipUnit == 0) {
                const auto lead = static_cast<unsigned char>(*in);
                skip = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
            }
            skip = std::min(skip, inLeft);
            in += skip;
            inLeft -= skip;
            out.append(replacement);
        }
    }
    iconv_close(cd);
    return out;
}

} // namespace

std::string toCp1250(std::string_view utf8) {
    return convert(utf8, "CP1250", "UTF-8", "?", 0);
}

std::string toUtf8(std::string_view cp1250) {
    return convert(cp1250, "UTF-8", "CP1250", "\xEF\xBF\xBD", 1);
}

} // namespace hunt
