#pragma once
// Plays one treasure hunt through the real main window and input dialog with key events: a
// space for every question of the main window, the treasure's row and column typed into the
// input dialog. It acts from a timer, so it runs inside the Start command's own waits.
#include "input/input_form.h"
#include "program/hosted_program.h"
#include "shell/application.h"
#include "shell/main_window.h"
#include "shell/screen_memo.h"

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QTimer>

#include <string>

namespace hunt::testing {

class GameDriver {
public:
    // The program to run: the treasure hunt on variables the driver can see.
    RunDriver::Program program() {
        return [this](Runtime &runtime) { hostedprogram(runtime, vars); };
    }

    // Starts acting; the game is played once the Start command has been given.
    void drive(Application &app) {
        QObject::connect(&timer_, &QTimer::timeout, [this, &app] { step(app); });
        timer_.start(15);
    }
    void stop() { timer_.stop(); }

    HuntVariables vars;
    int answers = 0; // lines typed into the input dialog
    int keys = 0;    // spaces pressed in the main window

private:
    void step(Application &app) {
        if (!app.form1->running())
            return;
        QWidget *modal = QApplication::activeModalWidget();
        if (modal == app.form2.get()) {
            if (!app.form2->isVisible())
                return;
            const double value = answers % 2 == 0 ? vars.treasurerow : vars.treasurecol;
            QLineEdit *edit = app.form2->inputedit;
            QTest::keyClicks(edit, QString::number(static_cast<int>(value)));
            ++answers;
            QTest::keyClick(edit, Qt::Key_Return);
            return;
        }
        if (modal != nullptr)
            return;
        // The program waits for a key: every question of this game is answered with a space.
        QTest::keyClick(app.form1->printmemo, Qt::Key_Space);
        ++keys;
    }

    QTimer timer_;
};

} // namespace hunt::testing
