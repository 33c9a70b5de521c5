// libFuzzer target: any bytes as a braille table file, then its lines as chord patterns.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "braille/braille_table.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    hunt::BrailleTables tables;
    std::istringstream in(text);
    const hunt::TableLoadReport report = hunt::loadbrailletable(tables, in, "fuzz.vbt");
    if (tables.brlprefcount > hunt::BrailleTables::prefixCapacity ||
        tables.brlcharcount > hunt::BrailleTables::charCapacity ||
        (report.ignored == 0) != report.warning.empty())
        std::abort();

    hunt::BrailleState state;
    std::istringstream patterns(text);
    std::string pattern;
    while (std::getline(patterns, pattern)) {
        const std::string before = state.brailleprefix;
        const std::string result = hunt::translatebraille(tables, pattern, state);
        if (pattern == " " && (result != " " || !state.brailleprefix.empty()))
            std::abort();
        if (result.empty() && state.brailleprefix != before) {
            // Only a prefix chord changes the prefix without giving a character (or a capital
            // entry whose character text is empty uses up "#cap").
            bool isPrefix = false;
            for (std::size_t i = 0; i < tables.brlprefcount; ++i)
                isPrefix = isPrefix || tables.brlprefixes[i].prefdots == pattern;
            const bool capitalUsed = before == "#cap" && state.brailleprefix.empty();
            if (!isPrefix && !capitalUsed)
                std::abort();
        }
    }
    return 0;
}
