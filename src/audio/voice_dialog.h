#pragma once
#include "input/control_enter.h"

#include <QDialog>
#include <string>

class QLabel;
class QListWidget;
class QPushButton;
class QSlider;

namespace hunt {

struct GlobalSettings;
class SpeechOutput;
class VoiceSelection;
class IniFile;

// The voice dialog: the embedded engine's voice with its pitch, speed and volume. Every
// control says its name and value when it gets the focus; moving a track bar applies the new
// value to the engine at once and says it in the voice as it now sounds.
class TForm4 final : public QDialog {
public:
    // voices: the voice list and the track bars' models (the dialog mirrors them);
    // settingsfile: read once here for the "voiceallowed" flag. `voices` must outlive the
    // dialog (the dialog unhooks itself from its models when destroyed).
    TForm4(VoiceSelection &voices, GlobalSettings &settings, SpeechOutput &speech,
           const IniFile &settingsfile, QWidget *parent = nullptr);
    ~TForm4() override;

    QListWidget *voicelist = nullptr;
    QLabel *voicestatic = nullptr;
    QSlider *pitchtb = nullptr;
    QLabel *pitchstatic = nullptr;
    QSlider *speedtb = nullptr;
    QLabel *speedstatic = nullptr;
    QSlider *volumetb = nullptr;
    QLabel *volumestatic = nullptr;
    QPushButton *vyberhlasbitbtn = nullptr;
    QPushButton *closebitbtn = nullptr;

    bool voicedialogactivated = false; // activated since it was last closed

    void FormActivate();
    void FormClose();
    void voicelistEnter();
    void pitchtbEnter();
    void speedtbEnter();
    void volumetbEnter();
    void vyberhlasbitbtnEnter();
    void closebitbtnEnter();
    void speedtbChange();
    void pitchtbChange();
    void volumetbChange();

    bool dialogactive() const; // the voice dialog is the active window

    void done(int result) override;
    void reject() override;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void FormCreate(const IniFile &settingsfile);
    void bindmodels();
    void unbindmodels();
    void refreshlist();
    void refreshtrackbars();
    void resetaudio();
    void trackbarenter(const std::string &label, const QSlider *bar);
    void trackbarchange(const char *tag, int value, int spoken);
    std::string caption(int offset) const;

    VoiceSelection &voices_;
    GlobalSettings &settings_;
    SpeechOutput &speech_;
    ControlEnter enter_;
    std::string windowcaption_, voicecaption_, pitchcaption_, speedcaption_, volumecaption_,
        choosecaption_, closecaption_;
    bool syncing_ = false; // the widgets are being set from the models
};

} // namespace hunt
