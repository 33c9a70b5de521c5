#include "shell/application.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>

namespace {

bool displayAvailable() {
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char *value = std::getenv(name);
        if (value != nullptr && *value != '\0')
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv) {
    if (!displayAvailable()) {
        std::fputs("hunt: no display found (DISPLAY and WAYLAND_DISPLAY are unset). hunt is a "
                   "desktop application;\nwithout a desktop, start it under a virtual X server: "
                   "xvfb-run -a ./hunt\n",
                   stderr);
        return 1;
    }
    QApplication qtApplication(argc, argv);
    QApplication::setApplicationName(QStringLiteral("hunt"));
    hunt::Application application;
    application.createWindows();
    return application.exec();
}
