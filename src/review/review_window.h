#pragma once
#include "review/review_text.h"

#include <QDialog>
#include <string>

class QPlainTextEdit;
class QPushButton;

namespace hunt {

struct GlobalSettings;
class SpeechOutput;
class SoundOutput;
class ScreenLines;
class MemoryImage;
class HeldKeys;
struct KeyModifiers;

// The review window: a read-only snapshot of the text screen read aloud line by line, word by
// word and character by character, with the caret's position on F2.
class TForm6 final : public QDialog {
public:
    // printmemo: the screen to copy; memory: its review switch byte turns the review off;
    // pendingkey: the runtime's key slot, emptied when the review opens.
    TForm6(const GlobalSettings &settings, SpeechOutput &speech, SoundOutput &sound,
           const ScreenLines &printmemo, const MemoryImage &memory, std::string &pendingkey,
           QWidget *parent = nullptr);

    // Fills the window from the screen and shows it modally, unless the memory image turns
    // the review off.
    void showvirtualscreen();

    QPlainTextEdit *virtualscrmemo = nullptr;
    QPushButton *closebitbtn = nullptr;

    bool atedge = false; // the previous key release left the caret at an edge
    // When set, the keys going down and up in the review feed it (the key that opened the
    // review is released here).
    HeldKeys *heldkeys = nullptr;

    void virtualscrmemoKeyDown(int key, const KeyModifiers &shift);
    void virtualscrmemoKeyUp(int key, const KeyModifiers &shift);

    // The caret as a position of the review text (line breaks count two).
    std::size_t caretposition() const;
    const ReviewText &reviewtext() const { return review_; }

    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::string caption(int offset) const;
    void playchord();

    const GlobalSettings &settings_;
    SpeechOutput &speech_;
    SoundOutput &sound_;
    const ScreenLines &printmemo_;
    const MemoryImage &memory_;
    std::string &pendingkey_;
    ReviewText review_;
};

} // namespace hunt
