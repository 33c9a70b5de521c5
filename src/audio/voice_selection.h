#pragma once
#include "audio/tts_engine.h"
#include "audio/voice_models.h"
#include "runtime/globals.h"
#include "runtime/speech_output.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace hunt {

// Creates the voice source; throws (any exception) or returns null when none is available.
using TtsVoiceSourceFactory = std::function<std::unique_ptr<TtsVoiceSource>()>;

// The choice of the embedded engine's voice: the voice list, the chosen mode, the open engine
// and the voice dialog's speed, pitch and volume track bars, whose ranges come from the engine.
class VoiceSelection {
public:
    // speech: speaks the chosen voice's name while the voice dialog is active (speakwait).
    // notifysink: registered with every engine that selectvoice opens.
    VoiceSelection(GlobalSettings &settings, SpeechOutput &speech, TtsNotifySink &notifysink,
                   TtsVoiceSourceFactory factory);
    ~VoiceSelection();
    VoiceSelection(const VoiceSelection &) = delete;
    VoiceSelection &operator=(const VoiceSelection &) = delete;

    ListModel voicelist;
    TrackBarModel pitchtb, speedtb, volumetb; // labels' enabled state mirrors `enabled`
    // True while the voice dialog is the active window.
    std::function<bool()> voicedialogactive = [] { return false; };

    // Releases the engine and the voice source and creates the voice source anew; a failure
    // leaves it absent, silently.
    void initsapi4();
    // Fills voicelist with the source's voices and selects "Jakub", else the first.
    void listvoices();
    // Makes the voice at voicelist.selected the current mode (and says its name while the
    // dialog is active).
    void voicelistClick();
    // Opens the engine for the current mode, sets up the track bars from its ranges and
    // registers the notify sink. Throws HuntError when the engine cannot be opened.
    void selectvoice();

    bool hasvoices() const { return ttsenum_ != nullptr; }     // a voice source exists
    bool engineopen() const { return ttscentral_ != nullptr; } // an engine is open
    void audioreset();                                         // silences the open engine
    void inject(const std::string &tag);                       // control tags to the engine

    // The open engine (null when none), used by the speech layer.
    TtsEngine *ttscentral() const { return ttscentral_.get(); }
    // Counts the engines opened so far: tells a wait that its engine was replaced.
    uint64_t engineserial() const { return engineserial_; }
    const std::optional<TtsModeInfo> &currentmode() const { return currentmode_; }

private:
    void setupTrackBar(TrackBarModel &bar, TtsAttribute attribute, uint32_t highest,
                       bool volumeBar);

    GlobalSettings &settings_;
    SpeechOutput &speech_;
    TtsNotifySink &notifysink_;
    TtsVoiceSourceFactory factory_;
    std::unique_ptr<TtsVoiceSource> ttsenum_;
    std::unique_ptr<TtsEngine> ttscentral_;
    std::optional<TtsModeInfo> currentmode_;
    uint32_t notifykey_ = 0;
    uint64_t engineserial_ = 0;
};

} // namespace hunt
