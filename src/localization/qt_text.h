#pragma once
// Where the windows' texts meet Qt: the system's texts are Windows-1250, Qt's are UTF-16.
#include "localization/codepage.h"

#include <QString>
#include <string>

namespace hunt {

inline QString qtext(const std::string &cp1250) {
    return QString::fromStdString(toUtf8(cp1250));
}

inline std::string systemText(const QString &text) {
    return toCp1250(text.toStdString());
}

// One Windows-1250 byte per UTF-16 unit, so that positions in a Qt text and in the converted
// text are the same; a character the code page lacks becomes "?".
inline std::string cptext(const QString &text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const QChar ch : text) {
        if (ch.isSurrogate()) {
            out += '?';
            continue;
        }
        const std::string one = toCp1250(QString(ch).toStdString());
        out += one.size() == 1 ? one[0] : '?';
    }
    return out;
}

// A caption for display and for screen readers: the "&" accelerator marks removed ("&&"
// stays one "&").
inline QString withoutAccelerator(const QString &caption) {
    QString out;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && i + 1 < caption.size())
            ++i;
        out += caption[i];
    }
    return out;
}

} // namespace hunt
