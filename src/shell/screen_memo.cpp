#include "screen_memo.h"

#include "localization/qt_text.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QTextBlock>
#include <QTextCursor>

namespace hunt {

ScreenMemo::ScreenMemo(QWidget *parent) : QPlainTextEdit(parent) {
    setReadOnly(true);
    setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setUndoRedoEnabled(false);
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    setFont(font);
    const QFontMetrics metrics(font);
    const int margins = static_cast<int>(2 * document()->documentMargin()) + 2 * frameWidth();
    setMinimumWidth(metrics.horizontalAdvance(QString(screencolumns, QLatin1Char('M'))) + margins +
                    4);
    setMinimumHeight(metrics.lineSpacing() * screenrows + margins + 4);
    clearLines();
}

void ScreenMemo::clearLines() {
    lines_.clear();
    clear();
}

void ScreenMemo::setLine(int index, const std::string &text) {
    lines_.at(index) = text;
    QTextCursor cursor(document()->findBlockByNumber(index));
    cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    cursor.insertText(qtext(text));
}

void ScreenMemo::deleteFirst() {
    if (lines_.empty())
        return;
    lines_.erase(lines_.begin());
    QTextCursor cursor(document());
    cursor.movePosition(QTextCursor::Start);
    if (lines_.empty()) {
        clear();
        return;
    }
    cursor.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
}

void ScreenMemo::addEmpty() {
    // An empty document already shows one empty line.
    if (!lines_.empty()) {
        QTextCursor cursor(document());
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
    }
    lines_.emplace_back();
}

void ScreenMemo::keyPressEvent(QKeyEvent *event) {
    if (onKeyPress)
        onKeyPress(event);
    QPlainTextEdit::keyPressEvent(event);
    event->accept();
}

void ScreenMemo::keyReleaseEvent(QKeyEvent *event) {
    if (onKeyRelease)
        onKeyRelease(event);
    QPlainTextEdit::keyReleaseEvent(event);
    event->accept();
}

} // namespace hunt
