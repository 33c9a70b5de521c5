// The shell's widget tests run real windows: a QApplication on the offscreen platform unless a
// display is asked for. A child process started by a test runs one scenario (see
// main_child_scenarios.h) instead of the tests.
#include "main_child_scenarios.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr)
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("hunt"));
    if (const char *scenario = std::getenv("HUNT_SHELL_SCENARIO"))
        return hunt::testing::runChildScenario(scenario);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
