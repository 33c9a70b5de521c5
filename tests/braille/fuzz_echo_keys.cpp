// libFuzzer target: any bytes as a key-echo file, and as an integer text.
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "braille/echo_keys.h"
#include "runtime/errors.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, std::size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    hunt::EchoKeys table;
    std::istringstream in(text);
    try {
        const hunt::TableLoadReport report = hunt::loadechokeys(table, in, "fuzz.vky");
        if ((report.ignored == 0) != report.warning.empty())
            std::abort();
    } catch (const hunt::HuntError &) {
        // A bad code: reading stopped, what was stored stays.
    }
    (void)hunt::echoTextFor(table, static_cast<unsigned char>(size));

    // Plain decimal texts convert as std::from_chars does, when in range.
    const auto value = hunt::parseInteger(text);
    int32_t expected = 0;
    const char *end = text.data() + text.size();
    const auto [ptr, ec] = std::from_chars(text.data(), end, expected);
    if (!text.empty() && text[0] != ' ' && text[0] != '\t' && ptr == end && ec == std::errc() &&
        value != expected)
        std::abort();
    return 0;
}
