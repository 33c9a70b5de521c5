#pragma once
#include "input/control_enter.h"
#include "runtime/input_dialog.h"

#include <QDialog>
#include <functional>
#include <string>

class QLineEdit;
class QPushButton;
class QKeyEvent;

namespace hunt {

struct GlobalSettings;
class SpeechOutput;
class SoundOutput;
class HeldKeys;
struct BrailleState;
struct BrailleTables;
struct KeyModifiers;

// The input dialog: the modal window through which INPUT obtains a line of text. Every focus
// change, key and caret movement answers with speech or a sound; with the braille keyboard on,
// characters are entered as six-key chords.
class TForm2 final : public QDialog, public InputDialog {
public:
    // showvirtualscreen opens the screen review; saveramAndExit saves ram.dat and ends the
    // application (it does not return in the program; in tests it may).
    TForm2(GlobalSettings &settings, SpeechOutput &speech, SoundOutput &sound, HeldKeys &heldkeys,
           BrailleState &braille, const BrailleTables &brailletables,
           std::function<void()> showvirtualscreen, std::function<void()> saveramAndExit,
           QWidget *parent = nullptr);

    // InputDialog: empties the edit box, focuses it and shows the dialog modally.
    int showInput(std::string &line) override;

    QLineEdit *inputedit = nullptr;
    QPushButton *Enterbitbtn = nullptr;
    QPushButton *exitprogrambtn = nullptr;

    // Dialog state that lasts from one opening to the next.
    bool dialogentered = false;
    bool edgeflag = false;
    std::string savedprefix;
    std::string brailletext;

    // Handlers, named after their control and event. Keys are virtual-key codes; `typed` is
    // the Windows-1250 text the key types.
    void inputeditEnter();
    void EnterbitbtnEnter();
    void exitprogrambtnEnter();
    void exitprogrambtnClick();
    void FormClose();
    void inputeditKeyDown(int key, const KeyModifiers &shift, const std::string &typed);
    // Returns true when the typed character is to be kept from the edit box.
    bool inputeditKeyPress(const std::string &typed);
    void inputeditKeyUp(int key, const KeyModifiers &shift);

    void done(int result) override;
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    std::string text() const; // the edit box's text, Windows-1250
    int caret() const;
    void speakcharat(int index); // speakkey of the character at a 0-based index, if any
    void speakwordatcaret();
    std::string caption(int offset) const;
    void commitchord();

    GlobalSettings &settings_;
    SpeechOutput &speech_;
    SoundOutput &sound_;
    HeldKeys &heldkeys_;
    BrailleState &braille_;
    const BrailleTables &brailletables_;
    std::function<void()> showvirtualscreen_;
    std::function<void()> saveramAndExit_;
    std::string okcaption_, exitcaption_;
    ControlEnter enter_;
};

} // namespace hunt
