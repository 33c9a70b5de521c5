#pragma once
#include <exception>
#include <string>

class QWidget;

namespace hunt {

// The application's standard error display: a modal box with the error's message.
void showErrorBox(const std::string &message);
// A modal message box with an OK button (Windows-1250 text), as the commands show them.
void showMessageBox(const std::string &message);

// Runs one entry point that the toolkit calls (a menu command, a key or timer handler): the
// system's errors end that entry point and are shown in the error box; nothing crosses the
// toolkit's frames. Returns false when an error was shown.
template <class Fn> bool guarded(Fn &&fn) {
    try {
        fn();
        return true;
    } catch (const std::exception &error) {
        showErrorBox(error.what());
    } catch (...) {
        showErrorBox("Unknown error");
    }
    return false;
}

} // namespace hunt
