#pragma once
#include <cstdint>
#include <map>
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

// A table of texts by number. A language is a block of numbers starting at a multiple of 1000
// whose first text is the language's name.
class StringTable {
public:
    void set(int32_t number, std::string text);
    // The stored text, or nullptr when the number has none.
    const std::string *find(int64_t number) const;

    // The texts compiled into the program, the table TResourceLocalizer reads.
    static const StringTable &builtIn();

private:
    std::map<int64_t, std::string> texts_;
};

// What TResourceLocalizer does, for any table: the text numbered base + offset cut to 255
// characters or empty, and the languages of blocks 1000, 2000, ... up to the first gap.
std::string textOf(const StringTable &table, int32_t base, int32_t offset);
void languagesOf(const StringTable &table, std::vector<std::pair<std::string, int32_t>> &list);

} // namespace hunt
