#include "key_state_tracker.h"

#include "shell/virtual_keys.h"

#include <QEvent>
#include <QKeyEvent>

namespace hunt {

bool KeyStateTracker::eventFilter(QObject *watched, QEvent *event) {
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::ShortcutOverride:
        keys_.press(virtualKey(*static_cast<QKeyEvent *>(event)));
        break;
    case QEvent::KeyRelease: {
        const auto *key = static_cast<QKeyEvent *>(event);
        // An auto-repeated release is followed by a press at once: the key stays held.
        if (!key->isAutoRepeat())
            keys_.release(virtualKey(*key));
        break;
    }
    case QEvent::ApplicationDeactivate:
    case QEvent::WindowDeactivate:
        keys_.clear();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace hunt
