#include "voice_dialog.h"

#include "audio/voice_selection.h"
#include "localization/qt_text.h"
#include "localization/string_table.h"
#include "runtime/globals.h"
#include "runtime/input_dialog.h"
#include "runtime/speech_output.h"
#include "shell/error_box.h"
#include "shell/ini_file.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace hunt {

namespace {
constexpr int windowText = 11, voicesText = 12, pitchText = 13, speedText = 14, volumeText = 15,
              chooseText = 16, closeText = 17;

QSlider *newTrackBar(QWidget *parent, const char *name) {
    auto *bar = new QSlider(Qt::Horizontal, parent);
    bar->setObjectName(name);
    bar->setRange(0, 10);
    bar->setSingleStep(1);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setEnabled(false);
    bar->setMinimumWidth(220);
    return bar;
}
} // namespace

TForm4::TForm4(VoiceSelection &voices, GlobalSettings &settings, SpeechOutput &speech,
               const IniFile &settingsfile, QWidget *parent)
    : QDialog(parent), voices_(voices), settings_(settings), speech_(speech) {
    setObjectName("Form4");
    voicelist = new QListWidget(this);
    voicelist->setObjectName("voicelist");
    voicestatic = new QLabel(this);
    voicestatic->setObjectName("voicestatic");
    voicestatic->setBuddy(voicelist);
    pitchtb = newTrackBar(this, "pitchtb");
    pitchstatic = new QLabel(this);
    pitchstatic->setObjectName("pitchstatic");
    pitchstatic->setBuddy(pitchtb);
    pitchstatic->setEnabled(false);
    speedtb = newTrackBar(this, "speedtb");
    speedstatic = new QLabel(this);
    speedstatic->setObjectName("speedstatic");
    speedstatic->setBuddy(speedtb);
    speedstatic->setEnabled(false);
    volumetb = newTrackBar(this, "volumetb");
    volumestatic = new QLabel(this);
    volumestatic->setObjectName("volumestatic");
    volumestatic->setBuddy(volumetb);
    volumestatic->setEnabled(false);
    vyberhlasbitbtn = new QPushButton(this);
    vyberhlasbitbtn->setObjectName("vyberhlasbitbtn");
    vyberhlasbitbtn->setDefault(true);
    closebitbtn = new QPushButton(this);
    closebitbtn->setObjectName("closebitbtn");

    auto *layout = new QGridLayout(this);
    layout->addWidget(voicestatic, 0, 0);
    layout->addWidget(voicelist, 1, 0, 6, 1);
    layout->addWidget(pitchstatic, 0, 1);
    layout->addWidget(pitchtb, 1, 1);
    layout->addWidget(speedstatic, 2, 1);
    layout->addWidget(speedtb, 3, 1);
    layout->addWidget(volumestatic, 4, 1);
    layout->addWidget(volumetb, 5, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(vyberhlasbitbtn);
    buttons->addWidget(closebitbtn);
    layout->addLayout(buttons, 7, 0, 1, 2);
    setTabOrder(voicelist, pitchtb);
    setTabOrder(pitchtb, speedtb);
    setTabOrder(speedtb, volumetb);
    setTabOrder(volumetb, vyberhlasbitbtn);
    setTabOrder(vyberhlasbitbtn, closebitbtn);

    connect(vyberhlasbitbtn, &QPushButton::clicked, this, [this] { done(modalOk); });
    connect(closebitbtn, &QPushButton::clicked, this, [this] { done(modalCancel); });
    for (QWidget *control :
         {static_cast<QWidget *>(voicelist), static_cast<QWidget *>(pitchtb),
          static_cast<QWidget *>(speedtb), static_cast<QWidget *>(volumetb),
          static_cast<QWidget *>(vyberhlasbitbtn), static_cast<QWidget *>(closebitbtn)})
        control->installEventFilter(this);

    FormCreate(settingsfile);
}

TForm4::~TForm4() {
    unbindmodels();
}

std::string TForm4::caption(int offset) const {
    return TResourceLocalizer::GetText(settings_.languagebase, offset);
}

void TForm4::FormCreate(const IniFile &settingsfile) {
    windowcaption_ = caption(windowText);
    voicecaption_ = caption(voicesText);
    pitchcaption_ = caption(pitchText);
    speedcaption_ = caption(speedText);
    volumecaption_ = caption(volumeText);
    choosecaption_ = caption(chooseText);
    closecaption_ = caption(closeText);
    setWindowTitle(qtext(windowcaption_));
    voicestatic->setText(qtext(voicecaption_));
    pitchstatic->setText(qtext(pitchcaption_));
    speedstatic->setText(qtext(speedcaption_));
    volumestatic->setText(qtext(volumecaption_));
    vyberhlasbitbtn->setText(qtext(choosecaption_));
    closebitbtn->setText(qtext(closecaption_));
    voicelist->setAccessibleName(withoutAccelerator(qtext(voicecaption_)));
    pitchtb->setAccessibleName(withoutAccelerator(qtext(pitchcaption_)));
    speedtb->setAccessibleName(withoutAccelerator(qtext(speedcaption_)));
    volumetb->setAccessibleName(withoutAccelerator(qtext(volumecaption_)));
    vyberhlasbitbtn->setAccessibleName(withoutAccelerator(qtext(choosecaption_)));
    closebitbtn->setAccessibleName(withoutAccelerator(qtext(closecaption_)));
    bindmodels();
    settings_.voiceallowed = settingsfile.readFlag("voice", "voiceallowed", true);
    if (settings_.voiceallowed)
        voices_.listvoices();
}

// The widgets mirror the voice selection's models: a change of a model (by the program)
// refreshes its widget, a change by the user goes to the model, whose change handlers run.
void TForm4::bindmodels() {
    voices_.voicedialogactive = [this] { return dialogactive(); };
    voices_.voicelist.onchange = [this] { refreshlist(); };
    const auto bind = [this](TrackBarModel &model, void (TForm4::*change)()) {
        model.onrangechange = [this] { refreshtrackbars(); };
        model.onpositionchange = [this, change] {
            refreshtrackbars();
            (this->*change)();
        };
    };
    bind(voices_.speedtb, &TForm4::speedtbChange);
    bind(voices_.pitchtb, &TForm4::pitchtbChange);
    bind(voices_.volumetb, &TForm4::volumetbChange);

    connect(voicelist, &QListWidget::currentRowChanged, this, [this](int row) {
        if (syncing_ || row == voices_.voicelist.selected)
            return;
        voices_.voicelist.selected = row;
        guarded([this] { voices_.voicelistClick(); });
    });
    const auto userMove = [this](QSlider *bar, TrackBarModel &model) {
        connect(bar, &QSlider::valueChanged, this, [this, &model](int value) {
            if (!syncing_)
                guarded([&] { model.setPosition(value); });
        });
    };
    userMove(speedtb, voices_.speedtb);
    userMove(pitchtb, voices_.pitchtb);
    userMove(volumetb, voices_.volumetb);
    refreshlist();
    refreshtrackbars();
}

void TForm4::unbindmodels() {
    voices_.voicedialogactive = [] { return false; };
    voices_.voicelist.onchange = nullptr;
    for (TrackBarModel *model : {&voices_.speedtb, &voices_.pitchtb, &voices_.volumetb}) {
        model->onrangechange = nullptr;
        model->onpositionchange = nullptr;
    }
}

void TForm4::refreshlist() {
    const bool wasSyncing = syncing_;
    syncing_ = true;
    const ListModel &model = voices_.voicelist;
    if (voicelist->count() != static_cast<int>(model.items.size()) || [&] {
            for (int i = 0; i < voicelist->count(); ++i)
                if (cptext(voicelist->item(i)->text()) != model.items[static_cast<std::size_t>(i)])
                    return true;
            return false;
        }()) {
        voicelist->clear();
        for (const std::string &item : model.items)
            voicelist->addItem(qtext(item));
    }
    voicelist->setCurrentRow(model.selected);
    syncing_ = wasSyncing;
}

void TForm4::refreshtrackbars() {
    const bool wasSyncing = syncing_;
    syncing_ = true;
    const auto mirror = [](QSlider *bar, QLabel *label, const TrackBarModel &model) {
        bar->setRange(model.min(), model.max());
        bar->setValue(model.position());
        // Ticks at the spacing the model gives; a tenth of the range where it gives none.
        const int range = model.max() - model.min();
        bar->setTickInterval(model.frequency > 1 ? model.frequency : std::max(1, range / 10));
        bar->setPageStep(std::max(1, (model.max() - model.min()) / 10));
        bar->setEnabled(model.enabled);
        label->setEnabled(model.enabled);
    };
    mirror(speedtb, speedstatic, voices_.speedtb);
    mirror(pitchtb, pitchstatic, voices_.pitchtb);
    mirror(volumetb, volumestatic, voices_.volumetb);
    syncing_ = wasSyncing;
}

void TForm4::resetaudio() {
    voices_.audioreset();
}

bool TForm4::dialogactive() const {
    return isActiveWindow();
}

void TForm4::FormActivate() {
    speech_.speakwait(windowcaption_);
    speech_.speakwait(voicecaption_ + " " + voices_.voicelist.selectedText());
    voicedialogactivated = true;
}

void TForm4::FormClose() {
    voicedialogactivated = false;
}

void TForm4::voicelistEnter() {
    if (!voicedialogactivated)
        return;
    if (dialogactive())
        resetaudio();
    speech_.speakwait(voicecaption_ + " " + voices_.voicelist.selectedText());
}

void TForm4::trackbarenter(const std::string &label, const QSlider *bar) {
    if (dialogactive())
        resetaudio();
    speech_.speakwait(label + " " + std::to_string(bar->value()));
}

void TForm4::pitchtbEnter() {
    trackbarenter(pitchcaption_, pitchtb);
}
void TForm4::speedtbEnter() {
    trackbarenter(speedcaption_, speedtb);
}
void TForm4::volumetbEnter() {
    trackbarenter(volumecaption_, volumetb);
}

void TForm4::vyberhlasbitbtnEnter() {
    if (dialogactive())
        resetaudio();
    speech_.speakwait(choosecaption_);
}

void TForm4::closebitbtnEnter() {
    if (dialogactive())
        resetaudio();
    speech_.speakwait(closecaption_);
}

void TForm4::trackbarchange(const char *tag, int value, int spoken) {
    resetaudio();
    voices_.inject(std::string("\\") + tag + "=" + std::to_string(value) + "\\");
    if (dialogactive())
        speech_.speakwait(std::to_string(spoken));
}

void TForm4::speedtbChange() {
    const int position = voices_.speedtb.position();
    trackbarchange("Spd", position, position);
}
void TForm4::pitchtbChange() {
    const int position = voices_.pitchtb.position();
    trackbarchange("Pit", position, position);
}
void TForm4::volumetbChange() {
    const int position = voices_.volumetb.position();
    trackbarchange("Vol", position * 256, position);
}

void TForm4::showEvent(QShowEvent *event) {
    enter_.reset();
    refreshlist();
    refreshtrackbars();
    QDialog::showEvent(event);
}

bool TForm4::event(QEvent *event) {
    if (event->type() == QEvent::WindowActivate) {
        // Announce after the focus has settled on its control, as the control's own enter
        // (silent until the first activation of a showing) runs first.
        QTimer::singleShot(0, this, [this] {
            if (isVisible())
                guarded([this] { FormActivate(); });
        });
    }
    return QDialog::event(event);
}

bool TForm4::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::FocusIn) {
        auto *control = static_cast<QWidget *>(watched);
        if (enter_.entered(control))
            guarded([&] {
                if (control == voicelist)
                    voicelistEnter();
                else if (control == pitchtb)
                    pitchtbEnter();
                else if (control == speedtb)
                    speedtbEnter();
                else if (control == volumetb)
                    volumetbEnter();
                else if (control == vyberhlasbitbtn)
                    vyberhlasbitbtnEnter();
                else if (control == closebitbtn)
                    closebitbtnEnter();
            });
    }
    return QDialog::eventFilter(watched, event);
}

void TForm4::done(int result) {
    FormClose();
    enter_.reset();
    QDialog::done(result);
}

void TForm4::reject() {
    done(modalCancel);
}

} // namespace hunt
