#include "language_dialog.h"

#include "localization/codepage.h"
#include "localization/language.h"
#include "localization/string_table.h"
#include "runtime/globals.h"
#include "shell/error_box.h"
#include "shell/ini_file.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

namespace hunt {

namespace {

QString uiString(const std::string &cp1250) {
    return QString::fromStdString(toUtf8(cp1250));
}

} // namespace

TForm3::TForm3(GlobalSettings &settings, IniFile &ini, QWidget *parent)
    : QDialog(parent), settings_(settings), ini_(ini) {
    setObjectName("TForm3");
    setModal(true);
    showMessage = [](const std::string &message) { showMessageBox(message); };

    languagergroup = new QGroupBox(this);
    groupLayout_ = new QVBoxLayout(languagergroup);
    buttons_ = new QButtonGroup(this);
    buttons_->setExclusive(true);

    okbitbtn = new QPushButton(this);
    okbitbtn->setDefault(true);
    cancelbitbtn = new QPushButton(this);
    connect(okbitbtn, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelbitbtn, &QPushButton::clicked, this, &QDialog::reject); // Escape too

    auto *buttonRow = new QHBoxLayout;
    buttonRow->addStretch();
    buttonRow->addWidget(okbitbtn);
    buttonRow->addWidget(cancelbitbtn);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(languagergroup);
    layout->addLayout(buttonRow);

    connect(buttons_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (!checked || id == itemindex_)
            return;
        guarded([&] {
            itemindex_ = id;
            languagergroupClick();
        });
    });

    FormCreate();
}

void TForm3::FormCreate() {
    TResourceLocalizer::GetLanguages(items_);
    for (std::size_t i = 0; i < items_.size(); ++i) {
        auto *radio = new QRadioButton(uiString(items_[i].first), languagergroup);
        buttons_->addButton(radio, static_cast<int>(i));
        groupLayout_->addWidget(radio);
        radios.push_back(radio);
    }
    setItemIndex(0);
    loadlanguage(settings_, ini_);
    label();
}

void TForm3::label() {
    const auto text = [this](int offset) {
        return uiString(TResourceLocalizer::GetText(settings_.languagebase, offset));
    };
    setWindowTitle(text(10));
    languagergroup->setTitle(text(9));
    okbitbtn->setText(text(7));
    cancelbitbtn->setText(text(8));
}

void TForm3::languagergroupClick() {
    if (itemindex_ >= 0 && itemindex_ < itemCount())
        settings_.languagebase = items_[static_cast<std::size_t>(itemindex_)].second;
    label();
}

void TForm3::setItemIndex(int index) {
    const int clamped = std::clamp(index, -1, itemCount() - 1);
    if (clamped == itemindex_)
        return;
    itemindex_ = clamped;
    showSelection();
    languagergroupClick();
}

void TForm3::showSelection() {
    const QSignalBlocker block(buttons_);
    if (itemindex_ < 0) {
        // An exclusive group cannot uncheck its last button.
        buttons_->setExclusive(false);
        for (QRadioButton *radio : radios)
            radio->setChecked(false);
        buttons_->setExclusive(true);
        return;
    }
    radios[static_cast<std::size_t>(itemindex_)]->setChecked(true);
}

void TForm3::environmentsubmenuClick() {
    setItemIndex(settings_.languagebase / 1000 - 1);
    const int remembered = itemindex_;
    if (itemindex_ >= 0)
        radios[static_cast<std::size_t>(itemindex_)]->setFocus();
    else if (!radios.empty())
        radios.front()->setFocus();
    if (exec() != QDialog::Accepted)
        return;
    savelanguage(settings_, ini_);
    if (itemindex_ != remembered && showMessage)
        showMessage(TResourceLocalizer::GetText(settings_.languagebase, 6));
}

} // namespace hunt
