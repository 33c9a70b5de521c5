#include "virtual_keys.h"

#include <QKeyEvent>

namespace hunt {

int virtualKey(int qtKey) {
    if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
        return 'A' + (qtKey - Qt::Key_A);
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
        return '0' + (qtKey - Qt::Key_0);
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24)
        return 112 + (qtKey - Qt::Key_F1);
    switch (qtKey) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return 32;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Print:
        return 44;
    case Qt::Key_Help:
        return 47;
    case Qt::Key_Meta:
    case Qt::Key_Super_L:
        return 91;
    case Qt::Key_Super_R:
        return 92;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    case Qt::Key_VolumeMute:
        return 173;
    case Qt::Key_VolumeDown:
        return 174;
    case Qt::Key_VolumeUp:
        return 175;
    case Qt::Key_MediaNext:
        return 176;
    case Qt::Key_MediaPrevious:
        return 177;
    case Qt::Key_MediaStop:
        return 178;
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaTogglePlayPause:
        return 179;
    case Qt::Key_Menu:
        return 93;
    // Punctuation keys carry the codes of their place on a US keyboard.
    case Qt::Key_Semicolon:
    case Qt::Key_Colon:
        return 186;
    case Qt::Key_Equal:
    case Qt::Key_Plus:
        return 187;
    case Qt::Key_Comma:
    case Qt::Key_Less:
        return 188;
    case Qt::Key_Minus:
    case Qt::Key_Underscore:
        return 189;
    case Qt::Key_Period:
    case Qt::Key_Greater:
        return 190;
    case Qt::Key_Slash:
    case Qt::Key_Question:
        return 191;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde:
        return 192;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft:
        return 219;
    case Qt::Key_Backslash:
    case Qt::Key_Bar:
        return 220;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight:
        return 221;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl:
        return 222;
    default:
        // Other keys that type a character (accented letters of national layouts) share one
        // code of the punctuation range, so their release still delivers what they typed.
        return qtKey > 0 && qtKey < 0x01000000 ? 223 : 0;
    }
}

int virtualKey(const QKeyEvent &event) {
    return virtualKey(event.key());
}

KeyModifiers keyModifiers(const QKeyEvent &event) {
    const auto mods = event.modifiers();
    return {mods.testFlag(Qt::ShiftModifier), mods.testFlag(Qt::ControlModifier),
            mods.testFlag(Qt::AltModifier)};
}

} // namespace hunt
