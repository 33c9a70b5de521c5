#pragma once
#include <QDialog>

class QLabel;
class QFrame;
class QPushButton;

namespace hunt {

struct GlobalSettings;

inline constexpr const char *programVersion = "1.7";

// The about box: product name, version, a notice line and the OK button, labelled from the
// string table when it is created.
class TAboutbox final : public QDialog {
public:
    explicit TAboutbox(const GlobalSettings &settings, QWidget *parent = nullptr);

    QFrame *Panel1 = nullptr;
    QLabel *ProgramIcon = nullptr;
    QLabel *ProductName = nullptr;
    QLabel *Version = nullptr;
    QLabel *Copyright = nullptr; // the notice line
    QLabel *Comments = nullptr;
    QPushButton *OKButton = nullptr;

private:
    void FormCreate();

    const GlobalSettings &settings_;
};

} // namespace hunt
