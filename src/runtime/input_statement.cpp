#include "runtime.h"

#include "localization/string_table.h"

#include <charconv>
#include <clocale>
#include <cmath>

namespace hunt {
namespace {

constexpr int32_t promptText = 23; // "Vlož data"
constexpr int32_t retypeText = 44; // "Prosím přepiš"

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= ' ';
}

// Removes leading and trailing blanks and control characters.
std::string trimmed(const std::string &text) {
    std::size_t first = 0, last = text.size();
    while (first < last && isBlank(text[first]))
        ++first;
    while (last > first && isBlank(text[last - 1]))
        --last;
    return text.substr(first, last - first);
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// A number as the user types it: optional blanks around, an optional sign, digits with the
// decimal separator of the user's locale, an optional exponent. Anything else fails, and so
// does a value too large for a double.
bool convertNumber(const std::string &text, double &number) {
    const std::string value = trimmed(text);
    const char *localePoint = std::localeconv()->decimal_point;
    const std::string point = localePoint && *localePoint ? localePoint : ".";

    // Rewrite into the locale-independent form from_chars reads.
    std::string plain;
    std::size_t at = 0;
    if (at < value.size() && (value[at] == '+' || value[at] == '-')) {
        if (value[at] == '-')
            plain += '-';
        ++at;
    }
    bool digits = false;
    while (at < value.size() && isDigit(value[at])) {
        plain += value[at++];
        digits = true;
    }
    if (value.compare(at, point.size(), point) == 0) {
        plain += '.';
        at += point.size();
        bool fraction = false;
        while (at < value.size() && isDigit(value[at])) {
            plain += value[at++];
            fraction = true;
        }
        if (!fraction)
            plain += '0'; // "5." is five
        digits = digits || fraction;
    }
    if (!digits)
        return false;
    if (at < value.size() && (value[at] == 'e' || value[at] == 'E')) {
        plain += 'e';
        ++at;
        if (at < value.size() && (value[at] == '+' || value[at] == '-'))
            plain += value[at++];
        bool exponentDigits = false;
        while (at < value.size() && isDigit(value[at])) {
            plain += value[at++];
            exponentDigits = true;
        }
        if (!exponentDigits)
            return false;
    }
    if (at != value.size())
        return false;

    double result = 0;
    const auto [end, error] = std::from_chars(plain.data(), plain.data() + plain.size(), result);
    if (error != std::errc{} || end != plain.data() + plain.size() || !std::isfinite(result))
        return false;
    number = result;
    return true;
}

} // namespace

void Runtime::inputnum(double &number, uint8_t mode) {
    bool entered = false;
    bool ok = true;
    if (mode == 0 || mode == 2)
        inputbuffer.clear();
    for (;;) {
        if (inputbuffer.empty()) {
            if (mode != 0)
                printstr(TResourceLocalizer::GetText(ports.settings.languagebase, promptText), 0);
            ok = true;
            std::string line;
            if (ports.input.showInput(line) == modalOk) {
                entered = true;
                inputbuffer = trimmed(line);
                // A line of nothing but blanks counts as an empty one.
                if (inputbuffer.empty())
                    number = 0;
                if (!inputbuffer.empty() && inputbuffer.front() == ',') {
                    number = 0;
                    inputbuffer.erase(0, 1);
                    return;
                }
            }
        }
        if (!inputbuffer.empty()) {
            if (inputbuffer.front() == ',')
                inputbuffer.erase(0, 1);
            inputbuffer = trimmed(inputbuffer);
            const std::size_t comma = inputbuffer.find(',');
            if (comma != std::string::npos) {
                ok = convertNumber(inputbuffer.substr(0, comma), number);
                inputbuffer = trimmed(inputbuffer.substr(comma + 1));
            } else {
                if (inputbuffer.empty())
                    number = 0;
                else
                    ok = convertNumber(inputbuffer, number);
                inputbuffer.clear();
            }
        }
        if (ok)
            return;
        if (!entered) {
            // A leftover value of an earlier line that does not convert.
            number = 0;
            return;
        }
        inputbuffer.clear();
        printstr(TResourceLocalizer::GetText(ports.settings.languagebase, retypeText), 0);
    }
}

} // namespace hunt
