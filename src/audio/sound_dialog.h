#pragma once
#include <QDialog>

class QCheckBox;
class QLabel;
class QPushButton;
class QSlider;

namespace hunt {

struct GlobalSettings;
class SoundOutput;

// The sound dialog: the voice switch, the sound-effect switch and the sound volume. The
// Sounds command fills it before showing it and applies it after OK; only the volume acts
// while it is open, with a sample tone at the new volume.
class TForm5 final : public QDialog {
public:
    TForm5(GlobalSettings &settings, SoundOutput &sound, QWidget *parent = nullptr);

    QCheckBox *voicecheckbox = nullptr;
    QCheckBox *vintrasoundschk = nullptr;
    QSlider *sndvoltrackbar = nullptr; // 0 to 100; sndvolume = position * 100 - 10000
    QPushButton *okbitbtn = nullptr;
    QPushButton *cancelbitbtn = nullptr;
    QLabel *sndvolstatic = nullptr;

    void sndvoltrackbarChange();
    void vintrasoundschkClick();

    void reject() override;

private:
    GlobalSettings &settings_;
    SoundOutput &sound_;
};

} // namespace hunt
