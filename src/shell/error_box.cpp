#include "error_box.h"

#include "localization/qt_text.h"

#include <QApplication>
#include <QMessageBox>

namespace hunt {

namespace {

QString boxTitle() {
    return QApplication::applicationName();
}

} // namespace

void showErrorBox(const std::string &message) {
    QMessageBox box(QMessageBox::Critical, boxTitle(), qtext(message), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName("errorbox");
    box.exec();
}

void showMessageBox(const std::string &message) {
    QMessageBox box(QMessageBox::Information, boxTitle(), qtext(message), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.setObjectName("messagebox");
    box.exec();
}

} // namespace hunt
