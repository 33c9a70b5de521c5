#pragma once
#include "input/qt_text.h"

#include <QApplication>
#include <QMessageBox>
#include <exception>

namespace hunt {

// Runs one handler that the toolkit calls from a dialog (a key, focus or change event, a
// button): an error ends that handler and is shown in an error box; nothing crosses the
// toolkit's frames. Error messages are Windows-1250 texts.
template <class Fn> void runGuarded(Fn &&fn) {
    try {
        fn();
    } catch (const std::exception &error) {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                              qtext(error.what()));
    } catch (...) {
        QMessageBox::critical(QApplication::activeWindow(), QApplication::applicationName(),
                              QStringLiteral("Unknown error"));
    }
}

} // namespace hunt
