#include "braille/chord_entry.h"

#include <array>

namespace hunt {

void readchord(const HeldKeys &keys, BrailleState &state) {
    static constexpr std::array<int, 6> dotKeys{vk::dot1, vk::dot2, vk::dot3,
                                                vk::dot4, vk::dot5, vk::dot6};
    state.dotpattern.clear();
    for (std::size_t dot = 0; dot < dotKeys.size(); ++dot)
        if (keys.held(dotKeys[dot]))
            state.dotpattern += static_cast<char>('1' + dot);
    if (!state.dotpattern.empty())
        return;
    if (keys.held(vk::space))
        state.dotpattern.push_back(' '); // the space chord
    state.brailleprefix.clear();
}

} // namespace hunt
