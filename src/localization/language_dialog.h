#pragma once
#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QRadioButton;
class QVBoxLayout;

namespace hunt {

struct GlobalSettings;
class IniFile;

// The language dialog: one radio button per language of the string table, OK and Cancel.
// Choosing a language switches languagebase (and the dialog's own captions) at once; OK stores
// it in the settings file.
class TForm3 final : public QDialog {
public:
    TForm3(GlobalSettings &settings, IniFile &ini, QWidget *parent = nullptr);

    // The Environment command: selects the current language, shows the dialog modally and on
    // OK stores the choice, telling the user that a changed language applies after a restart.
    void environmentsubmenuClick();

    // The radio group's selection: -1 for none.
    int itemIndex() const { return itemindex_; }
    // Changes the selection (clamped to -1 .. count-1) and runs the click action on a change.
    void setItemIndex(int index);
    int itemCount() const { return static_cast<int>(items_.size()); }

    QGroupBox *languagergroup = nullptr;
    QPushButton *okbitbtn = nullptr;
    QPushButton *cancelbitbtn = nullptr;
    std::vector<QRadioButton *> radios; // one per language, in list order

    // Shows the message after a changed language (a modal box; replaceable in tests).
    std::function<void(const std::string &)> showMessage;

private:
    void FormCreate();
    void languagergroupClick();
    void label();
    void showSelection();

    GlobalSettings &settings_;
    IniFile &ini_;
    std::vector<std::pair<std::string, int32_t>> items_;
    QButtonGroup *buttons_ = nullptr;
    QVBoxLayout *groupLayout_ = nullptr;
    int itemindex_ = -1;
};

} // namespace hunt
