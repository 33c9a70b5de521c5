// Entry of the dialog tests: real widgets on Qt's offscreen platform unless a display is
// chosen (the screenshots run under Xvfb with the xcb platform).
#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char **argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
