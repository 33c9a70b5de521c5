#pragma once
#include <bitset>

namespace hunt {

// Virtual-key codes that name keys throughout the system (the windows map their toolkit's
// keys onto these in one place).
namespace vk {
inline constexpr int back = 8, tab = 9, enter = 13, shift = 16, control = 17, alt = 18, escape = 27,
                     space = 32, end = 35, home = 36, left = 37, up = 38, right = 39, down = 40,
                     del = 46, f1 = 112, f2 = 113, f4 = 115, f6 = 117, f7 = 118, f8 = 119,
                     slash = 191;
// The six dot keys of the braille keyboard, dots 1 to 6.
inline constexpr int dot1 = 'F', dot2 = 'D', dot3 = 'S', dot4 = 'J', dot5 = 'K', dot6 = 'L';
} // namespace vk

// Which keys are held down at this moment, fed by every key press and release the windows see.
class HeldKeys {
public:
    void press(int code) { set(code, true); }
    void release(int code) { set(code, false); }
    void clear() { keys_.reset(); }
    bool held(int code) const { return code >= 0 && code < 256 && keys_.test(code); }

private:
    void set(int code, bool down) {
        if (code >= 0 && code < 256)
            keys_.set(code, down);
    }
    std::bitset<256> keys_;
};

} // namespace hunt
