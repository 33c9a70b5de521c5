#include "shell/application.h"

#include <QApplication>

int main(int argc, char **argv) {
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("hunt"));
    hunt::Application application;
    application.createWindows();
    return application.exec();
}
