#pragma once
#include <algorithm>
#include <functional>
#include <string>
#include <vector>

namespace hunt {

// Widget-free state of the voice dialog's list box. The dialog mirrors it (onchange tells the
// widget to refresh); the voice selection logic reads and writes it.
struct ListModel {
    std::vector<std::string> items; // Windows-1250 texts
    int selected = -1;              // -1: nothing selected
    std::function<void()> onchange;

    std::string selectedText() const {
        return selected >= 0 && selected < static_cast<int>(items.size()) ? items[selected]
                                                                          : std::string();
    }
    void changed() const {
        if (onchange)
            onchange();
    }
};

// Widget-free state of a track bar with the toolkit's rules: setting Min or Max keeps
// Min <= Position <= Max, moving the position when needed; every change of the position
// (by the user or by the program) runs the change handler onpositionchange.
class TrackBarModel {
public:
    int min() const { return min_; }
    int max() const { return max_; }
    int position() const { return position_; }
    int frequency = 1;   // spacing of the tick marks
    bool enabled = true; // the dialog mirrors it

    void setMin(int value) {
        min_ = value;
        max_ = std::max(max_, min_);
        clampPosition();
    }
    void setMax(int value) {
        max_ = value;
        min_ = std::min(min_, max_);
        clampPosition();
    }
    void setPosition(int value) {
        const int clamped = std::clamp(value, min_, max_);
        if (clamped == position_)
            return;
        position_ = clamped;
        notify();
    }

    std::function<void()> onpositionchange; // the dialog's change handler (speedtbChange...)
    std::function<void()> onrangechange;    // tells the widget to refresh min, max, ticks

private:
    void clampPosition() {
        if (onrangechange)
            onrangechange();
        const int clamped = std::clamp(position_, min_, max_);
        if (clamped != position_) {
            position_ = clamped;
            notify();
        }
    }
    void notify() {
        if (onpositionchange)
            onpositionchange();
    }

    int min_ = 0, max_ = 10, position_ = 0;
};

} // namespace hunt
