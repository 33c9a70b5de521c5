#pragma once
#include "braille/held_keys.h"

#include <QObject>

namespace hunt {

// Keeps the held-key state right for every window of the application: it sees each key press
// and release before any window handles it, and forgets every key when the application or one
// of its windows loses the keyboard (their releases would go elsewhere).
class KeyStateTracker final : public QObject {
public:
    explicit KeyStateTracker(HeldKeys &keys, QObject *parent = nullptr)
        : QObject(parent), keys_(keys) {}

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HeldKeys &keys_;
};

} // namespace hunt
