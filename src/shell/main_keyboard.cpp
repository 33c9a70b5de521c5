#include "main_keyboard.h"

namespace hunt {

int MainKeyboard::arrowCode(bool up, bool down, bool left, bool right) {
    return 128 + (up ? 1 : 0) + (down ? 2 : 0) + (left ? 4 : 0) + (right ? 8 : 0);
}

void MainKeyboard::FormKeyDown(int key, KeyModifiers shift) {
    if (ports_.settings.braillekeys)
        call(ports_.cleardotpattern);
    call(ports_.stopspeech);
    if (ports_.tone.soundwait) {
        if (ports_.endtone)
            ports_.endtone();
        else
            ports_.tone.soundwait = false;
    }
    std::string &pending = ports_.pendingkey;
    switch (key) {
    case vk::back:
    case vk::f6:
        pending = std::string(1, shift.shift ? char(25) : char(8));
        break;
    case vk::enter:
    case vk::f8:
        pending = std::string(1, char(13));
        break;
    case vk::shift:
    case vk::control:
    case vk::alt:
        pending.clear();
        break;
    case vk::escape:
        pending = std::string(1, char(27));
        break;
    case vk::f7:
        pending = std::string(1, char(7));
        break;
    case vk::left:
    case vk::up:
    case vk::right:
    case vk::down:
        arrowKeyDown(key, shift);
        break;
    case vk::f4:
        if (shift.alt)
            call(ports_.altf4);
        break;
    default:
        break;
    }
}

void MainKeyboard::arrowKeyDown(int key, KeyModifiers shift) {
    // The key that went down counts as held even if the tracker has not seen it yet.
    const auto held = [&](int code) { return key == code || ports_.held.held(code); };
    const bool up = held(vk::up), down = held(vk::down);
    const bool left = held(vk::left), right = held(vk::right);
    const int code = arrowCode(up, down, left, right);
    std::string &pending = ports_.pendingkey;
    pending = std::string(1, static_cast<char>(code));

    const bool space = ports_.held.held(vk::space);
    const bool upOrDownAlone = code == arrowCode(true, false, false, false) ||
                               code == arrowCode(false, true, false, false);
    if (upOrDownAlone && !shift.shift && !space && ports_.settings.runstarted)
        call(ports_.showvirtualscreen); // empties the pending key when the review opens

    if (pending.empty())
        return;
    int value = static_cast<unsigned char>(pending[0]);
    if (shift.shift)
        value += 16;
    if (space)
        value += 32;
    pending = std::string(1, static_cast<char>(value));
}

void MainKeyboard::FormKeyPress(char character) {
    typedkey_ = std::string(1, character);
    if (ports_.settings.braillekeys)
        call(ports_.readchord);
}

void MainKeyboard::FormKeyUp(int key, KeyModifiers) {
    if (ports_.settings.braillekeys) {
        typedkey_ = ports_.translatebraille ? ports_.translatebraille() : std::string();
        call(ports_.cleardotpattern);
    }
    if (key >= 32)
        ports_.pendingkey = typedkey_;
    typedkey_.clear();
}

} // namespace hunt
