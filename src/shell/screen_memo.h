#pragma once
#include "runtime/screen.h"

#include <QPlainTextEdit>
#include <functional>
#include <string>
#include <vector>

namespace hunt {

// The main window's read-only text screen `printmemo`: the screen lines the runtime writes,
// shown in a monospaced font 80 columns wide. It keeps a keyboard caret so that screen readers
// can follow it. Key events go to the window's handlers first, then to the memo; they never
// travel on to the parent, so each key is handled once.
class ScreenMemo final : public QPlainTextEdit, public ScreenLines {
public:
    explicit ScreenMemo(QWidget *parent = nullptr);

    int count() const override { return static_cast<int>(lines_.size()); }
    std::string line(int index) const override { return lines_.at(index); }
    void setLine(int index, const std::string &text) override;
    void deleteFirst() override;
    void addEmpty() override;
    void clearLines(); // empties the text

    std::function<void(QKeyEvent *)> onKeyPress, onKeyRelease;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    std::vector<std::string> lines_; // the lines as the runtime sees them (Windows-1250)
};

} // namespace hunt
