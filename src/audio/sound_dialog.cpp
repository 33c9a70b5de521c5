#include "sound_dialog.h"

#include "localization/qt_text.h"
#include "localization/string_table.h"
#include "runtime/globals.h"
#include "runtime/input_dialog.h"
#include "runtime/sound_output.h"
#include "shell/error_box.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

namespace hunt {

namespace {
constexpr int windowCaption = 21, voiceCaption = 22, soundsCaption = 39, volumeCaption = 28,
              okCaption = 7, cancelCaption = 8;
} // namespace

TForm5::TForm5(GlobalSettings &settings, SoundOutput &sound, QWidget *parent)
    : QDialog(parent), settings_(settings), sound_(sound) {
    setObjectName("Form5");
    voicecheckbox = new QCheckBox(this);
    voicecheckbox->setObjectName("voicecheckbox");
    vintrasoundschk = new QCheckBox(this);
    vintrasoundschk->setObjectName("vintrasoundschk");
    sndvoltrackbar = new QSlider(Qt::Horizontal, this);
    sndvoltrackbar->setObjectName("sndvoltrackbar");
    sndvoltrackbar->setRange(0, 100);
    sndvoltrackbar->setSingleStep(1);
    sndvoltrackbar->setPageStep(10);
    sndvoltrackbar->setTickPosition(QSlider::TicksBelow);
    sndvoltrackbar->setTickInterval(10);
    sndvoltrackbar->setMinimumWidth(260);
    okbitbtn = new QPushButton(this);
    okbitbtn->setObjectName("okbitbtn");
    okbitbtn->setDefault(true);
    cancelbitbtn = new QPushButton(this);
    cancelbitbtn->setObjectName("cancelbitbtn");
    sndvolstatic = new QLabel(this);
    sndvolstatic->setObjectName("sndvolstatic");
    sndvolstatic->setBuddy(sndvoltrackbar);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(voicecheckbox);
    layout->addWidget(vintrasoundschk);
    layout->addWidget(sndvolstatic);
    layout->addWidget(sndvoltrackbar);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okbitbtn);
    buttons->addWidget(cancelbitbtn);
    layout->addLayout(buttons);
    setTabOrder(voicecheckbox, vintrasoundschk);
    setTabOrder(vintrasoundschk, sndvoltrackbar);
    setTabOrder(sndvoltrackbar, okbitbtn);
    setTabOrder(okbitbtn, cancelbitbtn);

    const auto text = [&](int offset) {
        return qtext(TResourceLocalizer::GetText(settings_.languagebase, offset));
    };
    setWindowTitle(text(windowCaption));
    voicecheckbox->setText(text(voiceCaption));
    vintrasoundschk->setText(text(soundsCaption));
    sndvolstatic->setText(text(volumeCaption));
    okbitbtn->setText(text(okCaption));
    cancelbitbtn->setText(text(cancelCaption));
    sndvoltrackbar->setAccessibleName(withoutAccelerator(text(volumeCaption)));
    voicecheckbox->setAccessibleName(withoutAccelerator(text(voiceCaption)));
    vintrasoundschk->setAccessibleName(withoutAccelerator(text(soundsCaption)));
    okbitbtn->setAccessibleName(withoutAccelerator(text(okCaption)));
    cancelbitbtn->setAccessibleName(withoutAccelerator(text(cancelCaption)));

    connect(sndvoltrackbar, &QSlider::valueChanged, this,
            [this] { guarded([this] { sndvoltrackbarChange(); }); });
    connect(vintrasoundschk, &QCheckBox::toggled, this, [this] { vintrasoundschkClick(); });
    connect(okbitbtn, &QPushButton::clicked, this, [this] { done(modalOk); });
    connect(cancelbitbtn, &QPushButton::clicked, this, [this] { done(modalCancel); });
    vintrasoundschkClick();
}

void TForm5::sndvoltrackbarChange() {
    settings_.sndvolume = sndvoltrackbar->value() * 100 - 10000;
    if (isActiveWindow())
        sound_.playsound({1000}, 100, 1);
}

void TForm5::vintrasoundschkClick() {
    sndvoltrackbar->setEnabled(vintrasoundschk->isChecked());
    sndvolstatic->setEnabled(vintrasoundschk->isChecked());
}

void TForm5::reject() {
    done(modalCancel);
}

} // namespace hunt
