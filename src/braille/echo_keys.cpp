#include "braille/echo_keys.h"

#include <istream>

#include "runtime/errors.h"

namespace hunt {

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

int digitValue(char c, int base) {
    int value = -1;
    if (c >= '0' && c <= '9')
        value = c - '0';
    else if (c >= 'a' && c <= 'f')
        value = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
        value = c - 'A' + 10;
    return value < base ? value : -1;
}

} // namespace

std::optional<int32_t> parseInteger(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    int base = 10;
    if (!text.empty() && text.front() == '$') {
        base = 16;
        text.remove_prefix(1);
    } else if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty())
        return std::nullopt;
    const uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
    uint64_t value = 0;
    for (char c : text) {
        const int digit = digitValue(c, base);
        if (digit < 0)
            return std::nullopt;
        value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
        if (value > limit)
            return std::nullopt;
    }
    const auto bits = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
}

TableLoadReport loadechokeys(EchoKeys &table, const std::string &fileName) {
    std::ifstream in = openDataFile(fileName);
    return loadechokeys(table, in, fileName);
}

TableLoadReport loadechokeys(EchoKeys &table, std::istream &in, const std::string &fileName) {
    TableLoadReport report;
    std::size_t index = 0;
    std::string line;
    while (readTextLine(in, line)) {
        if (line.empty())
            continue;
        if (index >= EchoKeys::capacity) {
            ++report.ignored;
            continue;
        }
        const auto eq = line.find('=');
        const std::string code = eq == std::string::npos ? line : line.substr(0, eq);
        // A line without "=" has no code at all, even when the whole line looks like one.
        const auto value = eq == std::string::npos ? std::nullopt : parseInteger(code);
        if (!value)
            throw HuntError("'" + code + "' is not a valid integer value");
        echokeytype &entry = table.echokeys[index++];
        entry.keycode = static_cast<uint8_t>(static_cast<uint32_t>(*value) & 0xFFu);
        entry.keytext = eq == std::string::npos ? std::string() : line.substr(eq + 1);
    }
    checkReadError(in, fileName);
    if (report.ignored > 0)
        report.warning = fileName + ": " + std::to_string(report.ignored) +
                         " lines beyond the table's " + std::to_string(EchoKeys::capacity) +
                         " entries were ignored.";
    return report;
}

std::string echoTextFor(const EchoKeys &table, unsigned char code) {
    for (const echokeytype &entry : table.echokeys)
        if (entry.keycode == code)
            return entry.keytext;
    return {};
}

} // namespace hunt
