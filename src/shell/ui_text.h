#pragma once
// Where the shell's texts meet Qt: the system's texts are Windows-1250, Qt's are UTF-16.
#include "localization/codepage.h"

#include <QString>
#include <string>

namespace hunt {

inline QString uiText(const std::string &cp1250) {
    return QString::fromStdString(toUtf8(cp1250));
}

inline std::string systemText(const QString &text) {
    return toCp1250(text.toStdString());
}

} // namespace hunt
