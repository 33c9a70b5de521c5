#pragma once
#include <string>

namespace hunt {

inline constexpr int modalOk = 1;
inline constexpr int modalCancel = 2;

// The modal line-input dialog the input statement uses.
class InputDialog {
public:
    virtual ~InputDialog() = default;
    // Empties the edit box, makes it the active control and shows the dialog modally.
    // Returns the modal result (modalOk when a line was entered); line receives the edit
    // box's text (Windows-1250).
    virtual int showInput(std::string &line) = 0;
};

} // namespace hunt
