#include "braille/braille_table.h"

#include <istream>
#include <string_view>

namespace hunt {

namespace {

enum class Section { none, prefixes, characters, prefixed, skipped };

// Splits an entry line at its first "="; a line without one is both name and pattern.
std::pair<std::string, std::string> splitEntry(const std::string &line) {
    const auto eq = line.find('=');
    if (eq == std::string::npos)
        return {line, line};
    return {line.substr(0, eq), line.substr(eq + 1)};
}

} // namespace

TableLoadReport loadbrailletable(BrailleTables &tables, const std::string &fileName) {
    std::ifstream in = openDataFile(fileName);
    return loadbrailletable(tables, in, fileName);
}

TableLoadReport loadbrailletable(BrailleTables &tables, std::istream &in,
                                 const std::string &fileName) {
    TableLoadReport report;
    tables.brlcharcount = 0;
    Section section = Section::none;
    std::string sectionName;
    std::string line;
    while (readTextLine(in, line)) {
        if (!line.empty() && line.front() == '[') {
            // The name is the line without its first and last character.
            sectionName = line.size() >= 2 ? line.substr(1, line.size() - 2) : std::string();
            if (sectionName == "prefixes") {
                section = Section::prefixes;
                tables.brlprefcount = 0;
            } else if (sectionName == "characters") {
                section = Section::characters;
            } else if (!sectionName.empty() && sectionName.front() == '#') {
                section = Section::prefixed;
            } else {
                section = Section::skipped;
            }
            continue;
        }
        switch (section) {
        case Section::none:
        case Section::skipped:
            break;
        case Section::prefixes: {
            if (line.empty() || line.front() != '#')
                break;
            if (tables.brlprefcount >= BrailleTables::prefixCapacity) {
                ++report.ignored;
                break;
            }
            auto [name, dots] = splitEntry(line);
            tables.brlprefixes[tables.brlprefcount++] = {std::move(name), std::move(dots)};
            break;
        }
        case Section::characters:
        case Section::prefixed: {
            if (line.empty())
                break;
            if (tables.brlcharcount >= BrailleTables::charCapacity) {
                ++report.ignored;
                break;
            }
            auto [value, dots] = splitEntry(line);
            tables.brlchars[tables.brlcharcount++] = {section == Section::prefixed ? sectionName
                                                                                   : std::string(),
                                                      std::move(value), std::move(dots)};
            break;
        }
        }
    }
    checkReadError(in, fileName);
    if (report.ignored > 0)
        report.warning =
            fileName + ": " + std::to_string(report.ignored) + " entries did not fit (room for " +
            std::to_string(BrailleTables::prefixCapacity) + " prefixes and " +
            std::to_string(BrailleTables::charCapacity) + " characters) and were ignored.";
    return report;
}

std::string translatebraille(const BrailleTables &tables, const std::string &pattern,
                             BrailleState &state) {
    if (pattern == " ") {
        state.brailleprefix.clear();
        return " ";
    }
    for (std::size_t i = 0; i < tables.brlprefcount; ++i) {
        const brlpreftype &prefix = tables.brlprefixes[i];
        if (prefix.prefdots == pattern) {
            state.brailleprefix = prefix.prefname;
            return {};
        }
    }
    for (std::size_t i = 0; i < tables.brlcharcount; ++i) {
        const brlchartype &entry = tables.brlchars[i];
        if (entry.chardots == pattern && entry.charprefix == state.brailleprefix) {
            std::string result = entry.charvalue;
            if (state.brailleprefix == "#cap")
                state.brailleprefix.clear();
            return result;
        }
    }
    return {};
}

} // namespace hunt
