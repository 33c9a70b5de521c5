#include "basic_functions.h"
#include "runtime.h"

#include <chrono>

namespace hunt {

namespace {

bool isPauseCharacter(char c) {
    return c == '.' || c == ',' || c == ';' || c == '?';
}

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

} // namespace

void Runtime::printstr(const std::string &text, uint8_t mode) {
    printmode = mode;
    writescreen(text);
    if (text.empty())
        return;

    std::size_t start = 0;
    while (start < text.size() && isBlank(text[start]))
        ++start;
    if (start == text.size() || !isPauseCharacter(text[start])) {
        ports.speech.speakwait(text);
        return;
    }
    // Leading punctuation paces the speech: each mark is a short silence, not spoken.
    while (start < text.size() && isPauseCharacter(text[start])) {
        ports.clock.sleep(std::chrono::milliseconds(300));
        ++start;
    }
    ports.speech.speakwait(text.substr(start));
}

void Runtime::printnum(uint8_t mode, double number) {
    const std::string text = formatnum(number);
    printmode = mode;
    writescreen(text);
    if (!text.empty())
        ports.speech.speakwait(text);
}

void Runtime::playsound(const std::vector<double> &frequencies, double duration, double timbre) {
    ports.sound.playsound(frequencies, duration, timbre);
}

void Runtime::beep() {
    ports.sound.beep();
}

void Runtime::click(double n) {
    ports.sound.click(n);
}

} // namespace hunt
