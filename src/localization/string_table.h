#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace hunt {

class IniFile;
struct GlobalSettings;

// The numbered texts of the user interface: blocks 1000 (Czech), 2000 (English) and 3000
// (Slovak), offsets 0 to 46, in Windows-1250.
class TResourceLocalizer {
public:
    // The text numbered base + offset, cut to 255 characters; empty when there is none.
    static std::string GetText(int32_t base, int32_t offset);
    // Every language in order of its base: (name, base), up to the first missing block.
    static void GetLanguages(std::vector<std::pair<std::string, int32_t>> &list);
};

} // namespace hunt
