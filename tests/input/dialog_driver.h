#pragma once
// Drives modal dialogs in tests: a script runs inside the dialog's own modal loop once the
// dialog is the active window, and the dialog is closed afterwards if the script left it open.
#include "runtime/globals.h"
#include "support/doubles.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

// Qt texts in test failures read as text.
inline void PrintTo(const QString &text, std::ostream *out) {
    *out << '"' << text.toStdString() << '"';
}

namespace hunt::testing {

// Settings as before the settings file is read, in English.
inline GlobalSettings englishSettings() {
    GlobalSettings settings;
    settings.languagebase = 2000;
    return settings;
}

// Runs `script` once `dialog` is active, from inside the modal loop that `open` starts.
// Returns what `open` returned.
template <class Open> auto runModal(QDialog &dialog, Open open, std::function<void()> script) {
    QTimer::singleShot(0, &dialog, [&dialog, script] {
        const bool active = QTest::qWaitForWindowActive(&dialog, 5000);
        EXPECT_TRUE(active) << "the dialog did not become active";
        QTest::qWait(20); // what the window does once activated
        if (active && script)
            script();
        if (dialog.isVisible())
            dialog.done(99);
    });
    return open();
}

// Waits until a window is active again (after a nested modal window closed).
inline bool waitActive(QWidget &window) {
    window.activateWindow();
    return QTest::qWaitForWindowActive(&window, 5000);
}

// A key with the text it types (QTest's own key clicks cannot carry non-ASCII text).
inline void press(QWidget *w, Qt::Key key, const QString &text = {},
                  Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::sendKeyEvent(QTest::Press, w, key, text, mods);
}
inline void release(QWidget *w, Qt::Key key, const QString &text = {},
                    Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::sendKeyEvent(QTest::Release, w, key, text, mods);
}
inline void tap(QWidget *w, Qt::Key key, const QString &text = {},
                Qt::KeyboardModifiers mods = Qt::NoModifier) {
    press(w, key, text, mods);
    release(w, key, text, mods);
}

// The log without the "stop" lines that every key begins with.
inline EventLog withoutStops(const EventLog &log) {
    EventLog out;
    std::copy_if(log.begin(), log.end(), std::back_inserter(out),
                 [](const std::string &line) { return line != "stop"; });
    return out;
}

inline bool screenshotsWanted() {
    return !qgetenv("HUNT_SCREENSHOT_DIR").isEmpty();
}

// Saves a screenshot of a shown window when HUNT_SCREENSHOT_DIR names a directory.
inline void screenshot(QWidget &window, const char *fileName) {
    const QByteArray dir = qgetenv("HUNT_SCREENSHOT_DIR");
    if (dir.isEmpty())
        return;
    QTest::qWait(200); // let the window paint
    EXPECT_TRUE(window.grab().save(QDir(QString::fromLocal8Bit(dir)).filePath(fileName)));
}

} // namespace hunt::testing
