#include "string_table.h"

#include "codepage.h"

#include <array>
#include <limits>

namespace hunt {
namespace {

constexpr std::size_t maxTextLength = 255;
constexpr int32_t blockSize = 1000;

// One row per offset: the Czech (block 1000), English (2000) and Slovak (3000) text.
// Offset 0 is the language's own name. The texts are written here in UTF-8 and converted to
// Windows-1250 once, when the table is first used.
constexpr std::array<std::array<const char *, 3>, 47> texts{{
    /*  0 */ {"Čeština", "English", "Slovenčina"},
    /*  1 */ {"Překladač Vintra Basicu", "Vintra Basic Interpreter", "Prekladač Vintra Basicu"},
    /*  2 */ {"&Program", "&Program", "&Program"},
    /*  3 */ {"&Spustit", "&Start", "&Spustiť"},
    /*  4 */ {"Na&stavení", "&Settings", "Na&stavenia"},
    /*  5 */ {"Prostř&edí", "&Environment", "Prostr&edie"},
    /*  6 */
    {"Provedené změny se projeví až poté, co znovu spustíte program.",
     "Your changes will be applied after you restart the program.",
     "Vykonané zmeny sa prejavia až po najbližšom spustení programu."},
    /*  7 */ {"&Ok", "&OK", "&Ok"},
    /*  8 */ {"Zrušit", "Cancel", "Zrušiť"},
    /*  9 */ {"&jazyk", "&Language", "&jazyk"},
    /* 10 */ {"Nastavení prostředí", "environment settings", "Nastavenie prostredia"},
    /* 11 */ {"Nastavení hlasu", "Voice settings", "Nastavenie hlasu"},
    /* 12 */ {"&Hlasy", "&Voices", "&Hlasy"},
    /* 13 */ {"&Výška", "&Pitch", "&Výška"},
    /* 14 */ {"&Rychlost", "&Speed", "&Rýchlosť"},
    /* 15 */ {"Hla&sitost", "Vo&lume", "Hla&sitosť"},
    /* 16 */ {"Zvolit hl&as", "&Choose voice", "Zvoliť hl&as"},
    /* 17 */ {"Za&vřít", "&Close", "Za&vrieť"},
    /* 18 */
    {"Používání hlasu není povoleno. Povolit jej můžete v menu Nastavení/Zvuky.",
     "The voice is turned off. You can turn it on in the Sounds dialog, menu Settings",
     "Používanie hlasu nie je povolené. Povoliť ho môžete v menu Nastavenia/Zvuky."},
    /* 19 */ {"Hlas vybrán.", "Voice selected.", "Hlas vybratý."},
    /* 20 */ {"&Zvuky", "&Sounds", "&Zvuky"},
    /* 21 */ {"Nastavení zvuků", "Sounds settings", "Nastavenie zvukov"},
    /* 22 */ {"Povolit &hlas", "Use the &voice", "Povoliť &hlas"},
    /* 23 */ {"Vlož data", "Enter data", "Vlož data"},
    /* 24 */ {"czech", "english", "slovak"},
    /* 25 */ {"hotovo", "ready", "hotovo"},
    /* 26 */ {"Obrazovka", "Screen", "Obrazovka"},
    /* 27 */ {"Používat hlas SA&PI5", "Use SA&PI5 voice", "Používať hlas SA&PI5"},
    /* 28 */ {"H&lasitost zvuků", "Sound vo&lume", "H&lasitosť zvukov"},
    /* 29 */ {"prázdný řádek", "empty line", "prázdny riadok"},
    /* 30 */ {"konec obrazovky", "end of screen", "koniec obrazovky"},
    /* 31 */ {"řádek", "line", "riadok"},
    /* 32 */ {"sloupec", "column", "stĺpec"},
    /* 33 */ {"Kon&ec", "&Exit", "Koni&ec"},
    /* 34 */ {"Ná&pověda", "Hel&p", "&Pomoc"},
    /* 35 */ {"O progr&amu", "&About", "O progr&ame"},
    /* 36 */ {"O programu", "About", "O programe"},
    /* 37 */ {"verze", "version", "verzia"},
    /* 38 */ {"&Hlas", "&Voice", "&Hlas"},
    /* 39 */ {"Zvuky &Vintry", "&Vintra sounds", "Zvuky &Vintry"},
    /* 40 */
    {"Nelze povolit hlas. Žádné hlasy nejsou k dispozici.",
     "Can't allow voice, no voices are available",
     "Nie je možné povoliť hlas. Žiadne hlasy nie sú k dispozícii."},
    /* 41 */ {"Obrazovka je plná.", "The screen is full.", "Obrazovka je plná."},
    /* 42 */ {"Nelze nalézt soubor", "Can't find the file", "Nie je možné nájsť súbor"},
    /* 43 */
    {"Nelze nalézt hlas uvedený v ini souboru:", "Can't find the voice specified in the ini file:",
     "Nie je možné nájsť hlas, uvedený v ini súbore:"},
    /* 44 */ {"Prosím přepiš", "Please retype", "Prosím prepíš"},
    /* 45 */ {"U&končit program", "E&xit program", "U&končiť program"},
    /* 46 */ {"&Braillská klávesnice", "&Braille keyboard", "&Braillská klávesnica"},
}};

} // namespace

void StringTable::set(int32_t number, std::string text) {
    texts_[number] = std::move(text);
}

const std::string *StringTable::find(int64_t number) const {
    const auto found = texts_.find(number);
    return found == texts_.end() ? nullptr : &found->second;
}

const StringTable &StringTable::builtIn() {
    static const StringTable table = [] {
        StringTable built;
        for (std::size_t offset = 0; offset < texts.size(); ++offset)
            for (std::size_t language = 0; language < texts[offset].size(); ++language)
                built.set(static_cast<int32_t>((language + 1) * blockSize + offset),
                          toCp1250(texts[offset][language]));
        return built;
    }();
    return table;
}

std::string textOf(const StringTable &table, int32_t base, int32_t offset) {
    const std::string *text = table.find(int64_t{base} + offset);
    return text == nullptr ? std::string() : text->substr(0, maxTextLength);
}

void languagesOf(const StringTable &table, std::vector<std::pair<std::string, int32_t>> &list) {
    list.clear();
    for (int64_t base = blockSize; base <= std::numeric_limits<int32_t>::max(); base += blockSize) {
        const std::string *name = table.find(base);
        if (name == nullptr)
            break;
        list.emplace_back(name->substr(0, maxTextLength), static_cast<int32_t>(base));
    }
}

std::string TResourceLocalizer::GetText(int32_t base, int32_t offset) {
    return textOf(StringTable::builtIn(), base, offset);
}

void TResourceLocalizer::GetLanguages(std::vector<std::pair<std::string, int32_t>> &list) {
    languagesOf(StringTable::builtIn(), list);
}

} // namespace hunt
