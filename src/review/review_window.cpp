#include "review_window.h"

#include "braille/held_keys.h"
#include "input/word_reading.h"
#include "localization/qt_text.h"
#include "localization/string_table.h"
#include "runtime/globals.h"
#include "runtime/input_dialog.h"
#include "runtime/memory_image.h"
#include "runtime/screen.h"
#include "runtime/sound_output.h"
#include "runtime/speech_output.h"
#include "shell/error_box.h"
#include "shell/virtual_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QTextBlock>
#include <QVBoxLayout>

namespace hunt {

namespace {
constexpr int windowCaption = 26;
constexpr int closeCaption = 17;
constexpr int emptyLineText = 29;
constexpr int endOfScreenText = 30;
constexpr int lineWord = 31;
constexpr int columnWord = 32;
} // namespace

TForm6::TForm6(const GlobalSettings &settings, SpeechOutput &speech, SoundOutput &sound,
               const ScreenLines &printmemo, const MemoryImage &memory, std::string &pendingkey,
               QWidget *parent)
    : QDialog(parent), settings_(settings), speech_(speech), sound_(sound), printmemo_(printmemo),
      memory_(memory), pendingkey_(pendingkey) {
    setObjectName("Form6");
    virtualscrmemo = new QPlainTextEdit(this);
    virtualscrmemo->setObjectName("virtualscrmemo");
    virtualscrmemo->setReadOnly(true);
    // A read-only text box has a keyboard caret only with this flag; screen readers follow it.
    virtualscrmemo->setTextInteractionFlags(Qt::TextSelectableByKeyboard |
                                            Qt::TextSelectableByMouse);
    virtualscrmemo->setLineWrapMode(QPlainTextEdit::NoWrap);
    virtualscrmemo->setTabChangesFocus(true);
    QFont mono = virtualscrmemo->font();
    mono.setFamily("DejaVu Sans Mono");
    mono.setStyleHint(QFont::Monospace);
    virtualscrmemo->setFont(mono);
    const QFontMetrics metrics(mono);
    virtualscrmemo->setMinimumSize(metrics.horizontalAdvance(QString(81, u'M')) + 24,
                                   metrics.lineSpacing() * 25 + 12);

    closebitbtn = new QPushButton(this);
    closebitbtn->setObjectName("closebitbtn");
    closebitbtn->setFocusPolicy(Qt::NoFocus); // the focus stays in the text
    closebitbtn->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(virtualscrmemo);
    layout->addWidget(closebitbtn, 0, Qt::AlignHCenter);

    const std::string title = caption(windowCaption);
    const std::string close = caption(closeCaption);
    setWindowTitle(qtext(title));
    closebitbtn->setText(qtext(close));
    virtualscrmemo->setAccessibleName(qtext(title));
    closebitbtn->setAccessibleName(withoutAccelerator(qtext(close)));

    connect(closebitbtn, &QPushButton::clicked, this, [this] { done(modalCancel); });
    virtualscrmemo->installEventFilter(this);
}

std::string TForm6::caption(int offset) const {
    return TResourceLocalizer::GetText(settings_.languagebase, offset);
}

void TForm6::playchord() {
    sound_.playsound({300, 450}, 100, 5);
}

void TForm6::showvirtualscreen() {
    if (memory_.peek(MemoryImage::reviewswitch) == 1)
        return;
    pendingkey_.clear();
    virtualscrmemo->setFocus();
    review_ = ReviewText::fromScreen(printmemo_);
    // One block per screen line; a control character inside a line is shown as a space so
    // that it cannot split the line (what is spoken comes from the snapshot itself).
    QString shown;
    for (int i = 0; i < review_.lineCount(); ++i) {
        QString line = qtext(review_.line(i));
        for (QChar &ch : line)
            if (ch.unicode() < 32 || ch == QChar::ParagraphSeparator || ch == QChar::LineSeparator)
                ch = u' ';
        shown += line + u'\n';
    }
    virtualscrmemo->setPlainText(shown);
    virtualscrmemo->moveCursor(QTextCursor::Start);
    playchord();
    speech_.speak(caption(windowCaption));
    // The window that opened the review gets the keys again afterwards.
    const QPointer<QWidget> opener = QApplication::activeWindow();
    const int result = exec();
    if (opener)
        opener->activateWindow();
    if (result == modalCancel) {
        playchord();
        speech_.speakwait(caption(endOfScreenText));
    }
}

void TForm6::reject() {
    done(modalCancel);
}

std::size_t TForm6::caretposition() const {
    const QTextCursor cursor = virtualscrmemo->textCursor();
    return review_.position(cursor.blockNumber(), cursor.positionInBlock());
}

void TForm6::virtualscrmemoKeyDown(int key, const KeyModifiers &) {
    if (settings_.voiceready) {
        speech_.stopspeech();
        if (key == vk::f2) {
            const std::size_t position = caretposition();
            speech_.speakwait(positionannouncement(caption(lineWord), review_.lineOf(position) + 1,
                                                   caption(columnWord),
                                                   review_.columnOf(position) + 1));
        }
    }
    if (key == vk::escape)
        done(modalCancel);
}

void TForm6::virtualscrmemoKeyUp(int key, const KeyModifiers &shift) {
    if (!settings_.voiceready)
        return;
    const std::size_t position = caretposition();
    const int line = review_.lineOf(position);
    if (key == vk::up || key == vk::down) {
        if (edgerepeat(line == 0 || line >= review_.lineCount(), atedge))
            sound_.click(16);
        const std::string &text = review_.line(line);
        speech_.speakwait(text.empty() ? caption(emptyLineText) : text);
    } else if (key == vk::left || key == vk::right || key == vk::home || key == vk::end) {
        if (edgerepeat(position == 0 || position == review_.length(), atedge))
            sound_.click(16);
        if (review_.length() == 0)
            return;
        if (!shift.ctrl) {
            const std::string after = review_.charAfter(position);
            if (!after.empty())
                speech_.speakkey(after);
        } else if (key == vk::left || key == vk::right) {
            const std::string word = review_.wordAt(position);
            if (!word.empty())
                speech_.speakwait(word);
        }
    }
}

bool TForm6::eventFilter(QObject *watched, QEvent *event) {
    if (watched == virtualscrmemo) {
        if (event->type() == QEvent::KeyPress) {
            auto *key = static_cast<QKeyEvent *>(event);
            const int code = virtualKey(*key);
            if (heldkeys)
                heldkeys->press(code);
            guarded([&] { virtualscrmemoKeyDown(code, keyModifiers(*key)); });
            if (code == vk::escape || code == vk::f2)
                return true;
            // Ctrl+Left/Right move by blank-separated words, so the caret always lands on a
            // word (Qt's own movement stops on a comma).
            const KeyModifiers mods = keyModifiers(*key);
            if ((code == vk::left || code == vk::right) && mods.ctrl && !mods.alt) {
                const std::string text = review_.text();
                const std::size_t from = caretposition();
                const std::size_t to =
                    code == vk::right ? nextwordstart(text, from) : previouswordstart(text, from);
                QTextCursor cursor = virtualscrmemo->textCursor();
                const QTextBlock block =
                    virtualscrmemo->document()->findBlockByNumber(review_.lineOf(to));
                if (block.isValid()) {
                    cursor.setPosition(block.position() + review_.columnOf(to),
                                       mods.shift ? QTextCursor::KeepAnchor
                                                  : QTextCursor::MoveAnchor);
                    virtualscrmemo->setTextCursor(cursor);
                }
                return true;
            }
        } else if (event->type() == QEvent::KeyRelease) {
            auto *key = static_cast<QKeyEvent *>(event);
            if (key->isAutoRepeat())
                return true; // a held key speaks once, at its release
            if (heldkeys)
                heldkeys->release(virtualKey(*key));
            guarded([&] { virtualscrmemoKeyUp(virtualKey(*key), keyModifiers(*key)); });
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace hunt
