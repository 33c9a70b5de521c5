#include "basic_functions.h"

#include "errors.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <langinfo.h>
#include <limits>
#include <locale.h>
#include <stdlib.h>

namespace hunt {

namespace {

// The decimal separator of the C library's LC_NUMERIC, which the application sets from the
// user's environment at start-up.
std::string decimalSeparator() {
    const char *radix = nl_langinfo(RADIXCHAR);
    if (radix != nullptr && *radix != '\0')
        return radix;
    const std::lconv *conventions = std::localeconv();
    if (conventions != nullptr && conventions->decimal_point != nullptr &&
        *conventions->decimal_point != '\0')
        return conventions->decimal_point;
    return ".";
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

std::string formatnum(double number) {
    if (std::isnan(number))
        return "NAN";
    if (std::isinf(number))
        return number < 0 ? "-INF" : "INF";
    if (number == 0)
        return "0";

    // Fifteen significant digits, rounded, without depending on the C locale: d.dddE±x.
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::scientific, 14);
    const std::string scientific(buffer, result.ptr);
    const std::size_t ePos = scientific.find('e');
    const bool negative = scientific[0] == '-';
    std::string digits;
    for (std::size_t i = negative ? 1 : 0; i < ePos; ++i)
        if (isDigit(scientific[i]))
            digits += scientific[i];
    const int exponent = std::atoi(scientific.c_str() + ePos + 1);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    const std::string separator = decimalSeparator();
    std::string text = negative ? "-" : "";
    if (exponent >= 15 || exponent < -5) {
        text += digits[0];
        if (digits.size() > 1)
            text += separator + digits.substr(1);
        text += "E" + std::to_string(exponent);
    } else if (exponent >= 0) {
        const auto whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            text += digits + std::string(whole - digits.size(), '0');
        } else {
            text += digits.substr(0, whole) + separator + digits.substr(whole);
        }
    } else {
        text +=
            "0" + separator + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return text;
}

std::string leftstr(const std::string &text, double count) {
    const double whole = std::trunc(count);
    if (!(whole > 0))
        return {};
    if (whole >= static_cast<double>(text.size()))
        return text;
    return text.substr(0, static_cast<std::size_t>(whole));
}

namespace {

// A 32-bit integer: leading spaces, an optional sign, then decimal digits or "$" and
// hexadecimal digits (up to eight, taken as the 32-bit pattern), nothing after them.
bool parseInteger(const std::string &text, int32_t &value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    }
    if (i == text.size())
        return false;
    uint64_t magnitude = 0;
    const char *first = text.data() + i;
    const char *last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, magnitude, base);
    if (error != std::errc() || end != last || *first == '+' || *first == '-')
        return false;
    if (base == 16) {
        if (magnitude > 0xFFFFFFFFull)
            return false;
        auto bits = static_cast<uint32_t>(magnitude);
        if (negative)
            bits = 0u - bits;
        value = static_cast<int32_t>(bits);
        return true;
    }
    const uint64_t limit = negative ? 0x80000000ull : 0x7FFFFFFFull;
    if (magnitude > limit)
        return false;
    value = negative ? static_cast<int32_t>(-static_cast<int64_t>(magnitude))
                     : static_cast<int32_t>(magnitude);
    return true;
}

// A decimal number with "." as the point; false for anything else.
bool parseDecimal(const std::string &text, double &value) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    const std::size_t signAt = i;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    const std::size_t mantissaAt = i;
    std::size_t digits = 0;
    while (i < text.size() && isDigit(text[i]))
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++digits;
    }
    if (digits == 0)
        return false;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        std::size_t exponentDigits = 0;
        while (i < text.size() && isDigit(text[i]))
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    if (i != text.size())
        return false;
    // The grammar is checked above; strtod in the "C" locale converts with "." whatever the
    // user's locale is.
    static const locale_t cLocale = newlocale(LC_ALL_MASK, "C", locale_t{});
    const std::string number = text.substr(mantissaAt);
    errno = 0;
    const double magnitude = strtod_l(number.c_str(), nullptr, cLocale);
    if (errno == ERANGE && std::isinf(magnitude))
        return false; // too large for any number BASIC holds
    value = text[signAt] == '-' ? -magnitude : magnitude;
    return true;
}

} // namespace

double strval(const std::string &text) {
    if (text.find('%') != std::string::npos) {
        std::string replaced = text;
        for (char &c : replaced)
            if (c == '%')
                c = '$';
        int32_t value = 0;
        if (!parseInteger(replaced, value))
            throw HuntError("'" + text + "' is not a valid integer value");
        return value;
    }
    double value = 0;
    return parseDecimal(text, value) ? value : 0;
}

void clearstack(Stack &stack) {
    stack.cells.clear();
}

void push(int32_t value, Stack &stack) {
    stack.cells.push_back(value);
}

void pop(int32_t &value, Stack &stack) {
    // An empty stack gives 0 and stays empty; the program's pushes and pops are balanced.
    if (stack.cells.empty()) {
        value = 0;
        return;
    }
    value = stack.cells.back();
    stack.cells.pop_back();
}

} // namespace hunt
