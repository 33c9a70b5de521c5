#pragma once
class QKeyEvent;

namespace hunt {

// The one place where the toolkit's keys become the system's virtual-key codes (hunt::vk).
// Letters and digits keep their upper-case character code; keys without a code give 0.
int virtualKey(const QKeyEvent &event);
int virtualKey(int qtKey);

struct KeyModifiers {
    bool shift = false, ctrl = false, alt = false;
};
KeyModifiers keyModifiers(const QKeyEvent &event);

} // namespace hunt
