#pragma once
#include <QEvent>
#include <QFocusEvent>
#include <QWidget>

namespace hunt {

// Tells a control's "enter" (the focus arriving at it from another control of the same
// window) apart from the focus coming back to the same control when its window is activated
// again, for instance after a nested window closed. The first focus of each showing counts.
class ControlEnter {
public:
    // Call for every FocusIn event of the window's controls; true when it is an enter.
    bool entered(QWidget *control) {
        if (control == last_)
            return false;
        last_ = control;
        return true;
    }
    // Call when the window is shown or hidden.
    void reset() { last_ = nullptr; }

private:
    QWidget *last_ = nullptr;
};

} // namespace hunt
