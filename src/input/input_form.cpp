#include "input_form.h"

#include "braille/braille_table.h"
#include "braille/chord_entry.h"
#include "braille/held_keys.h"
#include "input/word_reading.h"
#include "localization/qt_text.h"
#include "localization/string_table.h"
#include "runtime/globals.h"
#include "runtime/sound_output.h"
#include "runtime/speech_output.h"
#include "shell/error_box.h"
#include "shell/virtual_keys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <limits>

namespace hunt {

namespace {
constexpr int emptyLineText = 29;
constexpr int windowCaption = 23;
constexpr int okCaption = 7;
constexpr int exitCaption = 45;
} // namespace

TForm2::TForm2(GlobalSettings &settings, SpeechOutput &speech, SoundOutput &sound,
               HeldKeys &heldkeys, BrailleState &braille, const BrailleTables &brailletables,
               std::function<void()> showvirtualscreen, std::function<void()> saveramAndExit,
               QWidget *parent)
    : QDialog(parent), settings_(settings), speech_(speech), sound_(sound), heldkeys_(heldkeys),
      braille_(braille), brailletables_(brailletables),
      showvirtualscreen_(std::move(showvirtualscreen)), saveramAndExit_(std::move(saveramAndExit)) {
    setObjectName("Form2");
    inputedit = new QLineEdit(this);
    inputedit->setObjectName("inputedit");
    inputedit->setMaxLength(std::numeric_limits<int>::max()); // no limit of its own
    Enterbitbtn = new QPushButton(this);
    Enterbitbtn->setObjectName("Enterbitbtn");
    exitprogrambtn = new QPushButton(this);
    exitprogrambtn->setObjectName("exitprogrambtn");

    // One row: the edit box, the OK button, the exit button.
    inputedit->setGeometry(8, 16, 153, 21);
    Enterbitbtn->setGeometry(176, 14, 75, 25);
    exitprogrambtn->setGeometry(264, 14, 97, 25);
    setFixedSize(379, 71);
    move(248, 24);
    setTabOrder(inputedit, Enterbitbtn);
    setTabOrder(Enterbitbtn, exitprogrambtn);

    Enterbitbtn->setDefault(true);
    Enterbitbtn->setAutoDefault(true);
    exitprogrambtn->setAutoDefault(true);

    // Captions, fixed at creation in the language current then.
    const std::string title = caption(windowCaption);
    okcaption_ = caption(okCaption);
    exitcaption_ = caption(exitCaption);
    setWindowTitle(qtext(title));
    Enterbitbtn->setText(qtext(okcaption_));
    exitprogrambtn->setText(qtext(exitcaption_));
    inputedit->setAccessibleName(qtext(title));
    Enterbitbtn->setAccessibleName(withoutAccelerator(qtext(okcaption_)));
    exitprogrambtn->setAccessibleName(withoutAccelerator(qtext(exitcaption_)));
    savedprefix.clear();

    connect(Enterbitbtn, &QPushButton::clicked, this, [this] { done(modalOk); });
    connect(exitprogrambtn, &QPushButton::clicked, this,
            [this] { guarded([this] { exitprogrambtnClick(); }); });

    for (QWidget *control : {static_cast<QWidget *>(inputedit), static_cast<QWidget *>(Enterbitbtn),
                             static_cast<QWidget *>(exitprogrambtn)})
        control->installEventFilter(this);
}

std::string TForm2::caption(int offset) const {
    return TResourceLocalizer::GetText(settings_.languagebase, offset);
}

int TForm2::showInput(std::string &line) {
    inputedit->clear();
    inputedit->setFocus();
    const int result = exec();
    line = cptext(inputedit->text());
    return result;
}

std::string TForm2::text() const {
    return cptext(inputedit->text());
}

int TForm2::caret() const {
    return static_cast<int>(inputedit->cursorPosition());
}

void TForm2::speakcharat(int index) {
    const std::string line = text();
    if (index >= 0 && index < static_cast<int>(line.size()))
        speech_.speakkey(std::string(1, line[static_cast<std::size_t>(index)]));
}

void TForm2::speakwordatcaret() {
    const std::string word = wordfrom(text(), static_cast<std::size_t>(caret()));
    if (!word.empty())
        speech_.speakwait(word);
}

void TForm2::showEvent(QShowEvent *event) {
    enter_.reset();
    QDialog::showEvent(event);
}

void TForm2::inputeditEnter() {
    braille_.brailleprefix.clear();
    if (dialogentered) {
        speech_.stopspeech();
        const std::string line = text();
        speech_.speakwait(line.empty() ? caption(emptyLineText) : line);
    } else {
        dialogentered = true;
    }
}

void TForm2::EnterbitbtnEnter() {
    speech_.stopspeech();
    dialogentered = true;
    speech_.speakwait(okcaption_);
}

void TForm2::exitprogrambtnEnter() {
    speech_.stopspeech();
    dialogentered = true;
    speech_.speakwait(exitcaption_);
}

void TForm2::exitprogrambtnClick() {
    if (saveramAndExit_)
        saveramAndExit_();
}

void TForm2::FormClose() {
    dialogentered = false;
    braille_.brailleprefix.clear();
}

void TForm2::done(int result) {
    FormClose();
    enter_.reset();
    QDialog::done(result);
}

void TForm2::reject() {
    done(modalCancel);
}

void TForm2::keyPressEvent(QKeyEvent *event) {
    // The dialog has no cancel button: Escape does not close it.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TForm2::inputeditKeyDown(int key, const KeyModifiers &shift, const std::string &typed) {
    speech_.stopspeech();
    const int position = caret();
    const int length = static_cast<int>(text().size());
    if (key == vk::back) {
        sound_.click(2);
        if (position > 0)
            speakcharat(position - 1);
        else
            sound_.beep();
    } else if (key == vk::del) {
        sound_.click(2);
        if (position < length)
            speakcharat(position);
        else
            sound_.beep();
    } else if (key == vk::up && shift.alt) {
        const std::string line = text();
        speech_.speakwait(line.empty() ? caption(emptyLineText) : line);
    } else if (!settings_.braillekeys) {
        // keytochar: the text the key types; the key 191 is never echoed.
        if (key != vk::slash && !typed.empty())
            speech_.speakkey(typed);
    }
    if ((key == vk::up || key == vk::down) && !shift.alt && showvirtualscreen_)
        showvirtualscreen_();
    if (key == vk::f4 && shift.alt)
        exitprogrambtnClick();
}

bool TForm2::inputeditKeyPress(const std::string &typed) {
    if (!settings_.braillekeys || typed.empty())
        return false;
    brailletext.clear();
    braille_.dotpattern.clear();
    // Printable characters reach the edit box only as chords; control characters (Backspace,
    // Enter) still act on it.
    const bool discard = static_cast<unsigned char>(typed[0]) >= 32;
    readchord(heldkeys_, braille_);
    braille_.brailleprefix = savedprefix;
    brailletext = translatebraille(brailletables_, braille_.dotpattern, braille_);
    if (!brailletext.empty())
        speech_.speakkey(brailletext.substr(0, 1));
    return discard;
}

// The chord is committed when its first key is released: translated from the same prefix
// state as its echo (so a capital sign gives the capital the echo announced) and inserted at
// the caret.
void TForm2::commitchord() {
    braille_.brailleprefix = savedprefix;
    brailletext = translatebraille(brailletables_, braille_.dotpattern, braille_);
    savedprefix = braille_.brailleprefix;
    braille_.dotpattern.clear();
    if (!brailletext.empty()) {
        // The insertion point is the caret, or the start of a selection (whose text stays);
        // at the end of the text this appends.
        const QString inserted = qtext(brailletext);
        QString line = inputedit->text();
        const qsizetype at = inputedit->hasSelectedText() ? inputedit->selectionStart()
                                                          : inputedit->cursorPosition();
        line.insert(at, inserted);
        inputedit->setText(line);
        inputedit->setCursorPosition(static_cast<int>(at + inserted.size()));
    }
    brailletext.clear();
}

void TForm2::inputeditKeyUp(int key, const KeyModifiers &shift) {
    if (settings_.braillekeys)
        commitchord();
    const std::string line = text();
    const int length = static_cast<int>(line.size());
    const int position = caret();
    switch (key) {
    case vk::left:
        if (line.empty())
            edgeflag = true;
        else if (shift.ctrl)
            speakwordatcaret();
        else
            speakcharat(position);
        if (position > 0)
            edgeflag = false;
        else if (!edgeflag)
            edgeflag = true;
        else
            sound_.beep();
        break;
    case vk::right:
        if (position < length) {
            if (shift.ctrl) {
                speakwordatcaret();
            } else {
                edgeflag = false;
                speakcharat(position);
            }
        } else if (!edgeflag) {
            edgeflag = true;
            sound_.click(2);
        } else {
            sound_.click(2);
            sound_.beep();
        }
        break;
    case vk::home:
        if (line.empty())
            sound_.beep(); // nothing right of the caret: say that there is nothing
        else
            speakcharat(position);
        break;
    case vk::end:
        sound_.click(2);
        sound_.beep();
        break;
    default:
        break;
    }
}

bool TForm2::eventFilter(QObject *watched, QEvent *event) {
    auto *control = qobject_cast<QWidget *>(watched);
    switch (event->type()) {
    case QEvent::FocusIn:
        if (enter_.entered(control))
            guarded([&] {
                if (control == inputedit)
                    inputeditEnter();
                else if (control == Enterbitbtn)
                    EnterbitbtnEnter();
                else if (control == exitprogrambtn)
                    exitprogrambtnEnter();
            });
        break;
    case QEvent::KeyPress: {
        auto *key = static_cast<QKeyEvent *>(event);
        const int code = virtualKey(*key);
        heldkeys_.press(code);
        // Tab moves the focus before any control sees it.
        if (control != inputedit || code == vk::tab)
            break;
        const KeyModifiers mods = keyModifiers(*key);
        // Delete carries the DEL character in Qt; it types nothing.
        const std::string typed =
            key->text() == QStringLiteral("\x7f") ? std::string() : cptext(key->text());
        bool discard = false;
        guarded([&] {
            inputeditKeyDown(code, mods, typed);
            discard = inputeditKeyPress(typed);
        });
        if (discard)
            return true;
        // Ctrl+Left/Right move by blank-separated words, so the caret always lands on a word
        // (Qt's own movement stops on a comma).
        if ((code == vk::left || code == vk::right) && mods.ctrl && !mods.alt) {
            const std::string line = text();
            const auto from = static_cast<std::size_t>(inputedit->cursorPosition());
            const std::size_t to =
                code == vk::right ? nextwordstart(line, from) : previouswordstart(line, from);
            if (to >= from)
                inputedit->cursorForward(mods.shift, static_cast<int>(to - from));
            else
                inputedit->cursorBackward(mods.shift, static_cast<int>(from - to));
            return true;
        }
        break;
    }
    case QEvent::KeyRelease: {
        auto *key = static_cast<QKeyEvent *>(event);
        if (key->isAutoRepeat())
            return true; // a held key repeats only its press, as the handlers expect
        const int code = virtualKey(*key);
        heldkeys_.release(code);
        if (control == inputedit && code != vk::tab)
            guarded([&] { inputeditKeyUp(code, keyModifiers(*key)); });
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace hunt
